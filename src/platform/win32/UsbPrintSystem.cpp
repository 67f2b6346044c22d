// SPDX-License-Identifier: MIT
// The USB printing class of the machine: SetupDi enumeration of the USB printer device
// interface, and overlapped I/O on its devices.
#include "platform/win32/UsbPrintSystem.h"

#include <cstdio>

#include "base/os/Win32Text.h"
#include "platform/win32/Win32Handles.h"
#include "platform/win32/Win32Io.h"

namespace ps::win32 {
namespace {

// The device interface class of USB printers (usbprint.sys),
// {28d78fad-5a12-11d1-ae5b-0000f803a8c2}.
constexpr GUID kUsbPrintInterface = {
    0x28d78fad, 0x5a12, 0x11d1, {0xae, 0x5b, 0x00, 0x00, 0xf8, 0x03, 0xa8, 0xc2}};

// The spooler's port of an interface: the USB port monitor keeps "Base Name" ("USB") and "Port
// Number" in the interface's parameters.
std::string PortNameOf(HDEVINFO list, SP_DEVICE_INTERFACE_DATA& entry) {
    TRegKey key(SetupDiOpenDeviceInterfaceRegKey(list, &entry, 0, KEY_READ));
    if (!key || key.Get() == INVALID_HANDLE_VALUE) {
        key.Release();
        return {};
    }
    DWORD number = 0;
    DWORD size = sizeof number;
    DWORD type = 0;
    if (RegQueryValueExW(key.Get(), L"Port Number", nullptr, &type,
                         reinterpret_cast<BYTE*>(&number), &size) != ERROR_SUCCESS ||
        type != REG_DWORD || number == 0 || number > 999)
        return {};
    wchar_t base[32] = {};
    size = sizeof base - sizeof(wchar_t);
    if (RegQueryValueExW(key.Get(), L"Base Name", nullptr, &type, reinterpret_cast<BYTE*>(base),
                         &size) != ERROR_SUCCESS ||
        type != REG_SZ)
        return {};
    char digits[8];
    std::snprintf(digits, sizeof digits, "%03lu", static_cast<unsigned long>(number));
    return NarrowField(base, sizeof base / sizeof base[0]) + digits;
}

class TSystemUsbPrint : public TUsbPrintSystem {
public:
    explicit TSystemUsbPrint(TClock& clock) : m_Clock(clock) {}

    std::vector<TUsbPrintInterface> EnumerateInterfaces() override {
        std::vector<TUsbPrintInterface> found;
        TDeviceList list(SetupDiGetClassDevsW(&kUsbPrintInterface, nullptr, nullptr,
                                              DIGCF_PRESENT | DIGCF_DEVICEINTERFACE));
        if (!list) return found;
        for (DWORD index = 0;; ++index) {
            SP_DEVICE_INTERFACE_DATA entry{};
            entry.cbSize = sizeof entry;
            if (!SetupDiEnumDeviceInterfaces(list.Get(), nullptr, &kUsbPrintInterface, index,
                                             &entry))
                break;  // ERROR_NO_MORE_ITEMS
            // The detail's size first, then the detail.
            DWORD needed = 0;
            SetupDiGetDeviceInterfaceDetailW(list.Get(), &entry, nullptr, 0, &needed, nullptr);
            if (needed < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W)) continue;
            std::vector<std::uint8_t> storage(needed);
            auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(storage.data());
            detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
            if (!SetupDiGetDeviceInterfaceDetailW(list.Get(), &entry, detail, needed, nullptr,
                                                  nullptr))
                continue;
            const std::size_t units =
                (needed - offsetof(SP_DEVICE_INTERFACE_DETAIL_DATA_W, DevicePath)) /
                sizeof(wchar_t);
            found.push_back(
                {NarrowField(detail->DevicePath, units), PortNameOf(list.Get(), entry)});
        }
        return found;
    }

    HANDLE Open(const std::string& path) override {
        return CreateFileW(Widen(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                           FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OVERLAPPED, nullptr);
    }

    void Close(HANDLE handle) override { CloseHandle(handle); }

    DWORD Control(HANDLE handle, DWORD code, std::span<std::uint8_t> out, std::uint32_t timeoutMs,
                  DWORD& returned) override {
        return ControlWithin(handle, code, {}, out, m_Clock, m_Clock.NowMs() + timeoutMs, returned);
    }

    DWORD Read(HANDLE handle, std::span<std::uint8_t> buffer, std::uint32_t timeoutMs,
               DWORD& bytesRead) override {
        return ReadWithin(handle, buffer, 0, m_Clock, m_Clock.NowMs() + timeoutMs, bytesRead);
    }

    DWORD Write(HANDLE handle, std::span<const std::uint8_t> data, std::uint32_t timeoutMs,
                DWORD& bytesWritten) override {
        return WriteWithin(handle, data, 0, m_Clock, m_Clock.NowMs() + timeoutMs, bytesWritten);
    }

private:
    TClock& m_Clock;
};

}  // namespace

std::unique_ptr<TUsbPrintSystem> MakeUsbPrintSystem(TClock& clock) {
    return std::make_unique<TSystemUsbPrint>(clock);
}

}  // namespace ps::win32
