// SPDX-License-Identifier: MIT
// The in-process port monitor on Windows: printers on the standard USB port (through the USB
// printing class) and on the standard TCP/IP port in raw mode (through a socket).
#pragma once

#include <optional>
#include <string>

#include "platform/PortMonitor.h"
#include "platform/win32/UsbPrintSystem.h"
#include "platform/win32/Win32.h"

namespace ps::win32 {

/// The printer of a standard TCP/IP port, as its monitor keeps it in the registry.
struct TStandardTcpPort {
    std::string host;  // "HostName", else "IPAddress"
    int port = 9100;   // "PortNumber"
    bool raw = true;   // "Protocol" 1 (raw); 2 is LPR, which takes no raw bytes back
};

/// Reads the port `portName` under `portsKey` (the monitor's "Ports" key); nothing when the
/// port is not there or names no host.
std::optional<TStandardTcpPort> ReadStandardTcpPort(HKEY portsKey, const std::string& portName);

/// The registry key of the standard TCP/IP port monitor's ports, under HKEY_LOCAL_MACHINE.
inline constexpr const wchar_t* kTcpPortsKey =
    L"SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\Standard TCP/IP Port\\Ports";

/// A TCP connection to host:port, made within `connectTimeoutMs`; nothing (last-error value
/// set) when the host is unknown or nobody answers.
std::unique_ptr<TPrinterLink> OpenTcpLink(const std::string& host, int port, TClock& clock,
                                          std::uint32_t connectTimeoutMs);

class TWin32PortMonitor : public TPortMonitor {
public:
    TWin32PortMonitor(TKernel& kernel, TUsbPrintSystem& usb, TClock& clock,
                      TPortMonitorTimeouts timeouts = {})
        : TPortMonitor(kernel, clock, timeouts), m_Usb(usb) {}

    /// Answers the trigger query `valueName` for printer `printerName` over the link `target`
    /// names (see OpenLink and TPortMonitor::AnswerOverLink).
    TSysError Answer(const std::string& printerName, const std::string& target,
                     const std::string& valueName, std::uint32_t& type,
                     std::span<std::uint8_t> buffer, std::uint32_t& needed) {
        return AnswerOverLink(
            printerName, [&] { return OpenLink(target); }, valueName, type, buffer, needed);
    }

    /// "usb:<port>": the present USB printer on that spooler port; "tcp:<host>:<port>": a TCP
    /// connection. Nothing (last-error value set) otherwise.
    std::unique_ptr<TPrinterLink> OpenLink(const std::string& target);

private:
    TUsbPrintSystem& m_Usb;
};

}  // namespace ps::win32
