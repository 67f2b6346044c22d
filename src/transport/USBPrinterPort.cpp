// SPDX-License-Identifier: MIT
// USB printer device list and the USB printing status request.
#include "transport/USBPrinterPort.h"

#include <array>

#include "base/AsciiText.h"
#include "platform/Platform.h"
#include "transport/TVPCOMM.h"

namespace ps {
TUSBPrinterPort::TUSBPrinterPort(bool bRefresh) {
    if (bRefresh) Refresh();
}

void TUSBPrinterPort::Refresh() {
    m_slPort_FileName.clear();
    std::array<char, kUsbTextBufferSize> path{}, port{}, deviceId{};
    // The library may shrink the size; it never grows past the buffer.
    std::uint32_t size = kUsbTextBufferSize;
    const std::int32_t count = USBPrintRefresh();
    for (std::int32_t i = 0; i < count; ++i) {
        path.fill(0);
        port.fill(0);
        deviceId.fill(0);
        std::uint32_t asked = size;
        GetUSBPrintFileName(i, path.data(), asked);
        if (asked < size) size = asked;
        GetUSBHWID(i, port.data(), kUsbTextBufferSize, deviceId.data(), kUsbTextBufferSize);
        path.back() = port.back() = 0;
        m_slPort_FileName.push_back(std::string(port.data()) + "=" + path.data());
    }
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
