// SPDX-License-Identifier: MIT
// The port monitor's byte links to a printer on Linux: a usblp device node or a TCP connection.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "platform/Platform.h"
#include "platform/PortMonitor.h"
#include "platform/linux/UsblpSystem.h"

namespace ps {

/// A TCP connection to host:port, made within `connectTimeoutMs`; nothing (last-error value
/// set) when the host is unknown or nobody answers.
std::unique_ptr<TPrinterLink> OpenTcpLink(const std::string& host, int port, TClock& clock,
                                          std::uint32_t connectTimeoutMs);

/// The usblp device node `path`; nothing (last-error value set) when it cannot be opened.
std::unique_ptr<TPrinterLink> OpenUsblpLink(TUsblpSystem& system, TClock& clock,
                                            const std::string& path);

}  // namespace ps
