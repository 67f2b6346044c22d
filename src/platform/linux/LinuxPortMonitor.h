// SPDX-License-Identifier: MIT
// The port monitor in-process: answers the printer-data trigger of a CUPS queue by exchanging
// the command of the named shared block with the printer over the queue's device link.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "platform/Platform.h"
#include "platform/linux/PrinterLink.h"
#include "platform/linux/UsblpLibrary.h"

namespace ps {

/// How long the monitor waits; the defaults suit printers on USB and on the local network.
struct TPortMonitorTimeouts {
    std::uint32_t connectMs = 3000;  // TCP connection to a network printer
    std::uint32_t sendMs = 5000;     // the whole command out
    std::uint32_t replyMs = 3000;    // the first reply byte
    std::uint32_t quietMs = 100;     // after reply bytes: this long without more ends the reply
};

class TLinuxPortMonitor {
public:
    TLinuxPortMonitor(TKernel& kernel, TUsblpSystem& usb, TUsblpFolders folders, TClock& clock,
                      TPortMonitorTimeouts timeouts = {})
        : m_Kernel(kernel),
          m_Usb(usb),
          m_Folders(std::move(folders)),
          m_Clock(clock),
          m_Timeouts(timeouts) {}

    /// Answers the trigger query `valueName` for queue `queueName` whose device URI is
    /// `deviceUri` and whose administrator named the command channel `channel` (empty: none;
    /// untrusted text, see ParseCommandChannel): opens the block, checks its header and printer
    /// name, sends the command over the link and, when a reply is wanted, reads at most the wanted
    /// length (never more than the block holds) until the reply ends or the time-out passes; stores
    /// the reply length at offset 8 and the reply at offset 128; the double word returned is 1 when
    /// the exchange worked, 0 when not, with the reason noted (NoteExchangeFailure).
    /// kErrorFileNotFound when there is no such block.
    TSysError Answer(const std::string& queueName, const std::string& deviceUri,
                     const std::string& channel, const std::string& valueName, std::uint32_t& type,
                     std::span<std::uint8_t> buffer, std::uint32_t& needed);

    /// The link to the printer of a queue: the one matching usblp device for usb: (see
    /// MatchUsbQueue); otherwise TCP to
    /// the command channel when one is named, or to the URI's port (9100 unless it names one)
    /// for socket:. Queues of other network schemes (ipp, ipps, http, https, lpd, smb, dnssd)
    /// name a print server or service, not the printer's raw port: without a channel they get
    /// none. Nothing (last-error value and a text that says what to do set) otherwise.
    std::unique_ptr<TPrinterLink> OpenLink(const std::string& queueName,
                                           const std::string& deviceUri,
                                           const std::string& channel = {});

private:
    bool Exchange(const std::string& queueName, const std::string& deviceUri,
                  const std::string& channel, std::span<std::uint8_t> block);

    TKernel& m_Kernel;
    TUsblpSystem& m_Usb;
    TUsblpFolders m_Folders;
    TClock& m_Clock;
    TPortMonitorTimeouts m_Timeouts;
};

}  // namespace ps
