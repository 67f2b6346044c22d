// SPDX-License-Identifier: MIT
// The links of the in-process port monitor on Windows.
#include "platform/win32/Win32PortMonitor.h"

#include "base/os/Win32Text.h"
#include "platform/win32/UsbPrintLibrary.h"
#include "platform/win32/Win32Errors.h"
#include "platform/win32/Win32Handles.h"

namespace ps::win32 {
namespace {

std::optional<std::wstring> ReadText(HKEY key, const wchar_t* name) {
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExW(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        type != REG_SZ || size > 4096)
        return std::nullopt;
    std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
    size = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &size) !=
        ERROR_SUCCESS)
        return std::nullopt;
    text.resize(wcsnlen(text.c_str(), size / sizeof(wchar_t)));
    return text;
}

std::optional<DWORD> ReadNumber(HKEY key, const wchar_t* name) {
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof value;
    if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD)
        return std::nullopt;
    return value;
}

// The USB printer on a spooler port, for one exchange.
class TUsbPrintLink : public TPrinterLink {
public:
    TUsbPrintLink(TUsbPrintSystem& system, HANDLE device) : m_System(system), m_Device(device) {}
    ~TUsbPrintLink() override { m_System.Close(m_Device); }

    bool Send(std::span<const std::uint8_t> data, std::uint32_t timeoutMs) override {
        DWORD written = 0;
        const DWORD error = m_System.Write(m_Device, data, timeoutMs, written);
        return error == ERROR_SUCCESS || Fail(error);
    }

    std::int64_t Receive(std::span<std::uint8_t> buffer, std::uint32_t timeoutMs) override {
        DWORD read = 0;
        const DWORD error = m_System.Read(m_Device, buffer, timeoutMs, read);
        if (error == ERROR_SUCCESS) return read;
        if (error == ERROR_TIMEOUT) return 0;
        Fail(error);
        return -1;
    }

private:
    TUsbPrintSystem& m_System;
    HANDLE m_Device;
};

}  // namespace

std::optional<TStandardTcpPort> ReadStandardTcpPort(HKEY portsKey, const std::string& portName) {
    HKEY opened = nullptr;
    if (RegOpenKeyExW(portsKey, Widen(portName).c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS)
        return std::nullopt;
    TRegKey key(opened);
    TStandardTcpPort port;
    auto host = ReadText(key.Get(), L"HostName");
    if (!host || host->empty()) host = ReadText(key.Get(), L"IPAddress");
    if (!host || host->empty()) return std::nullopt;
    port.host = Narrow(*host);
    if (auto number = ReadNumber(key.Get(), L"PortNumber");
        number && *number > 0 && *number < 65536)
        port.port = static_cast<int>(*number);
    if (auto protocol = ReadNumber(key.Get(), L"Protocol")) port.raw = *protocol == 1;
    return port;
}

std::unique_ptr<TPrinterLink> TWin32PortMonitor::OpenLink(const std::string& target) {
    if (target.starts_with("usb:")) {
        const auto printers = ScanUsbPrinters(m_Usb);
        const int index = FindUsbPrinterByPort(printers, target.substr(4));
        if (index < 0) {
            Fail(ERROR_FILE_NOT_FOUND, "the USB printer of the port is not attached");
            return nullptr;
        }
        const HANDLE device = m_Usb.Open(printers[static_cast<std::size_t>(index)].path);
        if (device == INVALID_HANDLE_VALUE) {
            FailWithLastError();
            return nullptr;
        }
        return std::make_unique<TUsbPrintLink>(m_Usb, device);
    }
    if (target.starts_with("tcp:")) {
        const std::string address = target.substr(4);
        const std::size_t colon = address.rfind(':');
        if (colon != std::string::npos && colon > 0) {
            int port = 0;
            for (char c : address.substr(colon + 1)) {
                if (c < '0' || c > '9' || port > 65535) {
                    port = 0;
                    break;
                }
                port = port * 10 + (c - '0');
            }
            if (port > 0 && port < 65536)
                return OpenTcpLink(address.substr(0, colon), port, Clock(), Timeouts().connectMs);
        }
    }
    Fail(ERROR_NOT_SUPPORTED,
         "the port monitor reaches printers on the standard USB and raw TCP/IP ports only");
    return nullptr;
}

}  // namespace ps::win32
