// SPDX-License-Identifier: MIT
// The print spooler of a Windows machine through winspool, with the in-process port monitor
// for printers on the standard USB and TCP/IP ports, where no monitor of the vendor answers.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "platform/Platform.h"
#include "platform/win32/Win32PortMonitor.h"

namespace ps::win32 {

/// The names of the port monitors of Windows' own USB and TCP/IP ports.
inline constexpr const char* kUsbPortMonitor = "USB Monitor";
inline constexpr const char* kTcpPortMonitor = "Standard TCP/IP Port";

/// What the spooler says of a port: the monitor that owns it and, for a standard TCP/IP port,
/// its printer's address.
struct TPortFacts {
    std::string monitorName;
    std::optional<TStandardTcpPort> tcp;
};

/// Where the trigger query of a printer on `portName` goes: the in-process monitor's link
/// target ("usb:USB001", "tcp:host:9100") for the standard USB port and the raw TCP/IP port,
/// nothing for every other port (its own monitor, the vendor's, answers through the spooler).
std::optional<std::string> InProcessLinkTarget(const std::string& portName,
                                               const TPortFacts& facts);

/// What the spooler says of a port: EnumPortsW level 2 and, for a standard TCP/IP port, its
/// configuration in the registry.
TPortFacts SpoolerFactsOfPort(const std::string& portName);

class TWin32Spooler : public TSpooler {
public:
    using TFactsOfPort = std::function<TPortFacts(const std::string& portName)>;
    /// `factsOfPort` tells which monitor owns a port (tests name one the machine lacks).
    explicit TWin32Spooler(TWin32PortMonitor& monitor,
                           TFactsOfPort factsOfPort = SpoolerFactsOfPort)
        : m_Monitor(monitor), m_FactsOfPort(std::move(factsOfPort)) {}

    /// OpenPrinterW with default access (no defaults), or PRINTER_ALL_ACCESS for Full.
    std::unique_ptr<TPrinterHandle> Open(const std::string& printerName,
                                         TPrinterAccess access) override;
    /// GetPrinterDriverDirectoryW of the local machine.
    std::optional<std::string> GetDriverDirectory(const std::string& environment) override;
    /// EnumPrintersW of the local printers and connections.
    std::optional<std::vector<std::string>> EnumPrinterNames() override;

    TPortFacts FactsOfPort(const std::string& portName) { return m_FactsOfPort(portName); }

    TWin32PortMonitor& Monitor() { return m_Monitor; }

private:
    TWin32PortMonitor& m_Monitor;
    TFactsOfPort m_FactsOfPort;
};

}  // namespace ps::win32
