// SPDX-License-Identifier: MIT
// The port monitor in-process on Linux: answers the printer-data trigger of a CUPS queue over
// the link its device URI names.
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

    /// The link to the printer of a device URI: the matched usblp device for usb:, TCP to the
    /// URI's port (9100 unless it names one) for socket:, TCP to port 9100 of the host for the
    /// other network schemes. Nothing (last-error value set) otherwise.
    std::unique_ptr<TPrinterLink> OpenLink(const std::string& deviceUri) override;

private:
    TUsblpSystem& m_Usb;
    TUsblpFolders m_Folders;
};

}  // namespace ps
