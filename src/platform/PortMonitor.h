// SPDX-License-Identifier: MIT
// The port monitor in-process, for platforms where no monitor of the spooler answers the
// printer-data trigger: it exchanges the command of the named shared block with the printer
// over a byte link that each backend opens its own way (usblp or USB printing class, TCP).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "platform/Platform.h"

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

/// How long the monitor waits; the defaults suit printers on USB and on the local network.
struct TPortMonitorTimeouts {
    std::uint32_t connectMs = 3000;  // TCP connection to a network printer
    std::uint32_t sendMs = 5000;     // the whole command out
    std::uint32_t replyMs = 3000;    // the first reply byte
    std::uint32_t quietMs = 100;     // after reply bytes: this long without more ends the reply
};

/// Text from a server or a printer as it may stand in a message: control characters dropped,
/// cut to a readable length.
std::string PrintableText(std::string_view text);

/// The exchange itself, the same on every backend; a backend says how a link is opened.
class TPortMonitor {
public:
    TPortMonitor(TKernel& kernel, TClock& clock, TPortMonitorTimeouts timeouts)
        : m_Kernel(kernel), m_Clock(clock), m_Timeouts(timeouts) {}
    virtual ~TPortMonitor() = default;

protected:
    /// Opens the link of one exchange; nothing (last-error value and its text set) when the
    /// printer cannot be reached.
    using TLinkOpener = std::function<std::unique_ptr<TPrinterLink>()>;

    /// Answers the trigger query `valueName` for printer `printerName`: opens the block, checks
    /// its header and printer name, opens the link, drops what the printer sent before (when a
    /// reply is wanted), sends the command and, when a reply is wanted, reads at most the wanted
    /// length (never more than the block holds) until the reply ends or the time-out passes;
    /// stores the reply length at offset 8 and the reply at offset 128; the double word returned
    /// is 1 when the exchange worked, 0 when not, with the reason noted (NoteExchangeFailure).
    /// kErrorFileNotFound when there is no such block.
    TSysError AnswerOverLink(const std::string& printerName, const TLinkOpener& openLink,
                             const std::string& valueName, std::uint32_t& type,
                             std::span<std::uint8_t> buffer, std::uint32_t& needed);

    TClock& Clock() { return m_Clock; }
    const TPortMonitorTimeouts& Timeouts() const { return m_Timeouts; }

private:
    bool Exchange(const std::string& printerName, const TLinkOpener& openLink,
                  std::span<std::uint8_t> block);

    TKernel& m_Kernel;
    TClock& m_Clock;
    TPortMonitorTimeouts m_Timeouts;
};

}  // namespace ps
