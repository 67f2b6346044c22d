// SPDX-License-Identifier: MIT
// USB printer device list and the USB printing status request.
#include "transport/USBPrinterPort.h"

#include "base/AsciiText.h"
#include "platform/Platform.h"
#include "transport/UsbDevices.h"

namespace ps {
TUSBPrinterPort::TUSBPrinterPort(bool bRefresh) {
    if (bRefresh) Refresh();
}

void TUSBPrinterPort::Refresh() {
    m_slPort_FileName.clear();
    // Printers without a model field are listed too; a shrunk path size is kept.
    for (const TUsbDevice& device : ListUsbDevices(TUsbPathSize::Carried))
        m_slPort_FileName.push_back(device.port + "=" + device.path);
}

bool TUSBPrinterPort::GetPrinterStatusByte(const std::string& strUSBPort,
                                           std::uint8_t& byStatus) const {
    if (strUSBPort.find("USB") == std::string::npos) return false;
    std::string devicePath;
    bool found = false;
    for (const std::string& entry : m_slPort_FileName) {
        auto eq = entry.find('=');
        if (eq == std::string::npos || !SameTextNoCase(entry.substr(0, eq), strUSBPort)) continue;
        devicePath = entry.substr(eq + 1);
        found = true;
        break;
    }
    if (!found || devicePath.empty()) return false;
    TKernel& kernel = Platform().Kernel();
    TScopedIoHandle device(
        kernel.OpenFileHandle(devicePath, true, true, TFileCreation::OpenExisting));
    if (!device.Valid()) return false;
    return kernel.UsbPrintGetLptStatus(device.Get(), byStatus);
}

}  // namespace ps
