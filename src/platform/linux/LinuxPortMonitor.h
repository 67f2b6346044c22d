// SPDX-License-Identifier: MIT
// The port monitor in-process on Linux: answers the printer-data trigger of a CUPS queue over
// the link its device URI, or the command channel its administrator named, leads to.
#pragma once

#include <memory>
#include <string>

#include "platform/PortMonitor.h"
#include "platform/linux/PrinterLink.h"
#include "platform/linux/UsblpLibrary.h"

namespace ps {

class TLinuxPortMonitor : public TPortMonitor {
public:
    TLinuxPortMonitor(TKernel& kernel, TUsblpSystem& usb, TUsblpFolders folders, TClock& clock,
                      TPortMonitorTimeouts timeouts = {})
        : TPortMonitor(kernel, clock, timeouts), m_Usb(usb), m_Folders(std::move(folders)) {}

    /// Answers the trigger query `valueName` for queue `queueName` whose device URI is
    /// `deviceUri` and whose administrator named the command channel `channel` (empty: none;
    /// untrusted text, see ParseCommandChannel), over the link OpenLink opens (see
    /// TPortMonitor::AnswerOverLink).
    TSysError Answer(const std::string& queueName, const std::string& deviceUri,
                     const std::string& channel, const std::string& valueName, std::uint32_t& type,
                     std::span<std::uint8_t> buffer, std::uint32_t& needed);

    /// The link to the printer of a queue: the one matching usblp device for usb: (see
    /// MatchUsbQueue); otherwise TCP to the command channel when one is named, or to the URI's
    /// port (9100 unless it names one) for socket:. Queues of other network schemes (ipp, ipps,
    /// http, https, lpd, smb, dnssd) name a print server or service, not the printer's raw
    /// port: without a channel they get none. Nothing (last-error value and a text that says
    /// what to do set) otherwise.
    std::unique_ptr<TPrinterLink> OpenLink(const std::string& queueName,
                                           const std::string& deviceUri,
                                           const std::string& channel = {});

private:
    TUsblpSystem& m_Usb;
    TUsblpFolders m_Folders;
};

}  // namespace ps
