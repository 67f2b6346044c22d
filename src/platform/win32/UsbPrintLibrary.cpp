// SPDX-License-Identifier: MIT
// The vendor USB port library's contract on the USB printing class.
#include "platform/win32/UsbPrintLibrary.h"

#include <algorithm>
#include <cstring>

#include "base/AsciiText.h"
#include "platform/DeviceId.h"

namespace ps::win32 {
namespace {

constexpr std::uint32_t kIdRequestTimeoutMs = 2000;
constexpr std::size_t kIdRequestBytes = 2 + kMaxDeviceIdLength + 1;

// "USB003" -> 3; names that are not a base name and a number sort after every numbered one.
unsigned long PortOrder(const std::string& portName) {
    std::size_t digits = portName.size();
    while (digits > 0 && portName[digits - 1] >= '0' && portName[digits - 1] <= '9') --digits;
    if (digits == 0 || digits == portName.size() || portName.size() - digits > 6) return ~0ul;
    return std::stoul(portName.substr(digits));
}

std::string AskDeviceId(TUsbPrintSystem& system, const std::string& path) {
    const HANDLE device = system.Open(path);
    if (device == INVALID_HANDLE_VALUE) return {};  // held by the spooler, or gone meanwhile
    std::string reply(kIdRequestBytes, '\0');
    DWORD returned = 0;
    const DWORD error =
        system.Control(device, kIoctlUsbPrintGet1284Id,
                       std::span(reinterpret_cast<std::uint8_t*>(reply.data()), reply.size()),
                       kIdRequestTimeoutMs, returned);
    system.Close(device);
    if (error != ERROR_SUCCESS) return {};
    reply.resize(std::min<std::size_t>(returned, reply.size()));
    return DeviceIdFromIoctlReply(reply);
}

HANDLE Native(TIoHandle handle) {
    return reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(handle));
}

void CopyCut(const std::string& text, char* buffer, std::uint32_t size) {
    if (!buffer || size == 0) return;
    const std::size_t n = std::min<std::size_t>(text.size(), size - 1);
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
}

}  // namespace

std::vector<TUsbPrinter> ScanUsbPrinters(TUsbPrintSystem& system) {
    std::vector<TUsbPrinter> printers;
    for (const TUsbPrintInterface& found : system.EnumerateInterfaces()) {
        if (found.path.empty()) continue;
        printers.push_back({found.path, found.portName, AskDeviceId(system, found.path)});
    }
    std::stable_sort(printers.begin(), printers.end(), [](const auto& a, const auto& b) {
        return PortOrder(a.portName) < PortOrder(b.portName);
    });
    return printers;
}

int FindUsbPrinterByPort(const std::vector<TUsbPrinter>& printers, const std::string& portName) {
    if (portName.empty()) return -1;
    for (std::size_t i = 0; i < printers.size(); ++i) {
        if (SameTextNoCase(printers[i].portName, portName)) return static_cast<int>(i);
    }
    return -1;
}

std::int32_t TUsbPrintLibrary::USBPrintRefresh() {
    auto printers = ScanUsbPrinters(m_System);
    std::lock_guard lock(m_Mutex);
    m_Printers = std::move(printers);
    return static_cast<std::int32_t>(m_Printers.size());
}

void TUsbPrintLibrary::GetUSBPrintFileName(std::int32_t index, char* buffer, std::uint32_t& size) {
    std::lock_guard lock(m_Mutex);
    if (index < 0 || static_cast<std::size_t>(index) >= m_Printers.size() || !buffer) return;
    const std::string& path = m_Printers[static_cast<std::size_t>(index)].path;
    if (path.size() + 1 > size) {
        size = static_cast<std::uint32_t>(path.size() + 1);
        return;
    }
    std::memcpy(buffer, path.c_str(), path.size() + 1);
}

void TUsbPrintLibrary::GetUSBHWID(std::int32_t index, char* portName, std::uint32_t portSize,
                                  char* deviceId, std::uint32_t deviceIdSize) {
    std::lock_guard lock(m_Mutex);
    if (index < 0 || static_cast<std::size_t>(index) >= m_Printers.size()) return;
    const TUsbPrinter& printer = m_Printers[static_cast<std::size_t>(index)];
    CopyCut(printer.portName, portName, portSize);
    CopyCut(printer.deviceId, deviceId, deviceIdSize);
}

TIoHandle TUsbPrintLibrary::OpenPrinterUSBPort(std::int32_t portNumber) {
    std::string path;
    {
        std::lock_guard lock(m_Mutex);
        const std::int64_t index = static_cast<std::int64_t>(portNumber) - 1;
        if (index < 0 || static_cast<std::size_t>(index) >= m_Printers.size()) {
            SetThreadLastError(kErrorFileNotFound);
            return kInvalidIoHandle;
        }
        path = m_Printers[static_cast<std::size_t>(index)].path;
    }
    const HANDLE device = m_System.Open(path);
    if (device == INVALID_HANDLE_VALUE) {
        SetThreadLastError(GetLastError());
        return kInvalidIoHandle;
    }
    return static_cast<TIoHandle>(reinterpret_cast<std::intptr_t>(device));
}

std::int32_t TUsbPrintLibrary::WritePort(TIoHandle handle, const std::uint8_t* data,
                                         std::int32_t length, std::int32_t timeoutMs) {
    if (handle == kInvalidIoHandle || length < 0 || (length > 0 && !data)) {
        SetThreadLastError(kErrorInvalidParameter);
        return -2;
    }
    DWORD written = 0;
    const DWORD error =
        m_System.Write(Native(handle), std::span(data, static_cast<std::size_t>(length)),
                       static_cast<std::uint32_t>(std::max(timeoutMs, 0)), written);
    SetThreadLastError(error);
    // Nothing taken and a failure that is no time-out: the write failed outright.
    if (error != ERROR_SUCCESS && error != ERROR_TIMEOUT && written == 0) return -2;
    return static_cast<std::int32_t>(written);
}

std::int32_t TUsbPrintLibrary::ReadPort(TIoHandle handle, std::uint8_t* buffer,
                                        std::int32_t maxLength, std::int32_t timeoutMs) {
    if (handle == kInvalidIoHandle || maxLength <= 0 || !buffer) {
        SetThreadLastError(kErrorInvalidParameter);
        return 0;
    }
    DWORD read = 0;
    const DWORD error =
        m_System.Read(Native(handle), std::span(buffer, static_cast<std::size_t>(maxLength)),
                      static_cast<std::uint32_t>(std::max(timeoutMs, 0)), read);
    SetThreadLastError(error);
    return error == ERROR_SUCCESS ? static_cast<std::int32_t>(read) : 0;
}

void TUsbPrintLibrary::CloseUSBPort(TIoHandle handle) {
    if (handle != kInvalidIoHandle) m_System.Close(Native(handle));
}

}  // namespace ps::win32
