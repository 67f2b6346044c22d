// SPDX-License-Identifier: MIT
// The vendor USB port library loaded at run time.
#include "platform/win32/VendorUsbDll.h"

#include "platform/win32/Win32.h"
#include "platform/win32/Win32Errors.h"
#include "platform/win32/Win32Handles.h"

namespace ps::win32 {
namespace {

// The functions as the library exports them (8-bit texts, port number = index + 1).
struct TVendorUsbTable {
    int(WINAPI* USBPrintRefresh)();
    void(WINAPI* GetUSBPrintFileName)(int index, char* buffer, DWORD* size);
    void(WINAPI* GetUSBHWID)(int index, char* portName, int portSize, char* deviceId,
                             int deviceIdSize);
    HANDLE(WINAPI* OpenPrinterUSBPort)(int portNumber);
    int(WINAPI* WritePort)(HANDLE handle, const void* data, int length, int timeoutMs);
    int(WINAPI* ReadPort)(HANDLE handle, void* buffer, int maxLength, int timeoutMs);
    void(WINAPI* CloseUSBPort)(HANDLE handle);
};

template <typename T>
bool Take(HMODULE module, const char* name, T& function) {
    function = reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    return function != nullptr;
}

HANDLE Native(TIoHandle handle) {
    return reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(handle));
}

class TVendorUsbDll : public TVendorUsbLibrary {
public:
    TVendorUsbDll(TModule module, TVendorUsbTable table)
        : m_Module(std::move(module)), m_Table(table) {}

    std::int32_t USBPrintRefresh() override { return m_Table.USBPrintRefresh(); }

    void GetUSBPrintFileName(std::int32_t index, char* buffer, std::uint32_t& size) override {
        DWORD inOut = size;
        m_Table.GetUSBPrintFileName(index, buffer, &inOut);
        size = inOut;
    }

    void GetUSBHWID(std::int32_t index, char* portName, std::uint32_t portSize, char* deviceId,
                    std::uint32_t deviceIdSize) override {
        m_Table.GetUSBHWID(index, portName, static_cast<int>(portSize), deviceId,
                           static_cast<int>(deviceIdSize));
    }

    TIoHandle OpenPrinterUSBPort(std::int32_t portNumber) override {
        const HANDLE handle = m_Table.OpenPrinterUSBPort(portNumber);
        if (handle == INVALID_HANDLE_VALUE || handle == nullptr) {
            SetThreadLastError(GetLastError());
            return kInvalidIoHandle;
        }
        return static_cast<TIoHandle>(reinterpret_cast<std::intptr_t>(handle));
    }

    std::int32_t WritePort(TIoHandle handle, const std::uint8_t* data, std::int32_t length,
                           std::int32_t timeoutMs) override {
        const int written = m_Table.WritePort(Native(handle), data, length, timeoutMs);
        SetThreadLastError(GetLastError());
        return written;
    }

    // The library reports through the thread's Win32 last-error value: the program's value,
    // which its callers clear before the call, goes in and comes back out.
    std::int32_t ReadPort(TIoHandle handle, std::uint8_t* buffer, std::int32_t maxLength,
                          std::int32_t timeoutMs) override {
        SetLastError(GetThreadLastError());
        const int read = m_Table.ReadPort(Native(handle), buffer, maxLength, timeoutMs);
        SetThreadLastError(GetLastError());
        return read;
    }

    void CloseUSBPort(TIoHandle handle) override { m_Table.CloseUSBPort(Native(handle)); }

private:
    TModule m_Module;
    TVendorUsbTable m_Table;
};

}  // namespace

std::unique_ptr<TVendorUsbLibrary> LoadVendorUsbDll(const wchar_t* fileName) {
    TModule module(LoadLibraryExW(fileName, nullptr, LOAD_LIBRARY_SEARCH_DEFAULT_DIRS));
    if (!module) {
        FailWithLastError();
        return nullptr;
    }
    TVendorUsbTable table{};
    const HMODULE m = module.Get();
    if (!Take(m, "USBPrintRefresh", table.USBPrintRefresh) ||
        !Take(m, "GetUSBPrintFileName", table.GetUSBPrintFileName) ||
        !Take(m, "GetUSBHWID", table.GetUSBHWID) ||
        !Take(m, "OpenPrinterUSBPort", table.OpenPrinterUSBPort) ||
        !Take(m, "WritePort", table.WritePort) || !Take(m, "ReadPort", table.ReadPort) ||
        !Take(m, "CloseUSBPort", table.CloseUSBPort)) {
        Fail(ERROR_PROC_NOT_FOUND);
        return nullptr;
    }
    return std::make_unique<TVendorUsbDll>(std::move(module), table);
}

}  // namespace ps::win32
