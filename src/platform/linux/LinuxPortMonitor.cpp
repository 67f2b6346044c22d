// SPDX-License-Identifier: MIT
// The links of the in-process port monitor on Linux.
#include "platform/linux/LinuxPortMonitor.h"

#include "platform/linux/DeviceUri.h"

namespace ps {

std::unique_ptr<TPrinterLink> TLinuxPortMonitor::OpenLink(const std::string& deviceUri) {
    const auto uri = ParseDeviceUri(deviceUri);
    if (!uri) {
        SetThreadLastError(kErrorInvalidParameter, "the device URI cannot be read");
        return nullptr;
    }
    if (uri->scheme == "usb") {
        const auto devices = ScanUsblpDevices(m_Usb, m_Folders);
        const auto index = FindUsbDeviceForUri(*uri, devices);
        if (!index) {
            SetThreadLastError(kErrorFileNotFound, "the USB printer of the queue is not attached");
            return nullptr;
        }
        return OpenUsblpLink(m_Usb, Clock(), devices[*index].path);
    }
    if (uri->scheme == "socket")
        return OpenTcpLink(uri->host, uri->port > 0 ? uri->port : kRawPrintingPort, Clock(),
                           Timeouts().connectMs);
    if (IsNetworkScheme(uri->scheme) && uri->scheme != "dnssd")
        return OpenTcpLink(uri->host, kRawPrintingPort, Clock(), Timeouts().connectMs);
    SetThreadLastError(kErrorNotSupported,
                       "the port monitor reaches printers on usb: and network queues only");
    return nullptr;
}

}  // namespace ps
