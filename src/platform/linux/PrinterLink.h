// SPDX-License-Identifier: MIT
// The port monitor's byte links to a printer on Linux: a usblp device node or a TCP connection.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "platform/Platform.h"
#include "platform/PortMonitor.h"
#include "platform/linux/UsblpLibrary.h"

namespace ps {

/// A TCP connection to host:port, made within `connectTimeoutMs`; nothing (last-error value
/// set) when the host is unknown or nobody answers.
std::unique_ptr<TPrinterLink> OpenTcpLink(const std::string& host, int port, TClock& clock,
                                          std::uint32_t connectTimeoutMs);

/// The node of usblp printer `device`, when it is still the printer listed (OpenUsblpNode);
/// nothing (last-error value and its text set) otherwise. Sends count once the printer has
/// taken the bytes (UsblpWrite).
std::unique_ptr<TPrinterLink> OpenUsblpLink(TUsblpSystem& system, const TUsblpFolders& folders,
                                            TClock& clock, const TUsblpDevice& device);

}  // namespace ps
