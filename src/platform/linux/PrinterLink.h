// SPDX-License-Identifier: MIT
// The port monitor's byte link to a printer: a usblp device node or a TCP connection.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "platform/Platform.h"
#include "platform/linux/UsblpLibrary.h"

namespace ps {

/// A two-way link to one printer, opened for one exchange and closed when destroyed. Deadlines
/// are on the platform clock.
class TPrinterLink {
public:
    virtual ~TPrinterLink() = default;
    /// Sends all of `data` within `timeoutMs`; false (last-error value set) otherwise.
    virtual bool Send(std::span<const std::uint8_t> data, std::uint32_t timeoutMs) = 0;
    /// Reads what has arrived, at most `buffer.size()` bytes, waiting at most `timeoutMs` for
    /// the first. The bytes read; 0 when nothing came in time; -1 when the link closed or
    /// failed.
    virtual std::int64_t Receive(std::span<std::uint8_t> buffer, std::uint32_t timeoutMs) = 0;
};

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
