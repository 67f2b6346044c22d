// SPDX-License-Identifier: MIT
// Enumerating the vendor USB library's printers.
#include "transport/UsbDevices.h"

#include <array>

#include "transport/TVPCOMM.h"

namespace ps {

std::vector<TUsbDevice> ListUsbDevices(TUsbPathSize pathSize) {
    std::vector<TUsbDevice> devices;
    std::array<char, kUsbTextBufferSize> path{}, port{}, deviceId{};
    // The library may shrink the size; it never grows past the buffer.
    std::uint32_t size = kUsbTextBufferSize;
    const std::int32_t count = USBPrintRefresh();
    for (std::int32_t i = 0; i < count; ++i) {
        path.fill(0);
        port.fill(0);
        deviceId.fill(0);
        std::uint32_t asked = pathSize == TUsbPathSize::Carried ? size : kUsbTextBufferSize;
        GetUSBPrintFileName(i, path.data(), asked);
        if (asked < size) size = asked;
        GetUSBHWID(i, port.data(), kUsbTextBufferSize, deviceId.data(), kUsbTextBufferSize);
        path.back() = port.back() = deviceId.back() = 0;
        devices.push_back({i, port.data(), path.data(), deviceId.data()});
    }
    return devices;
}

}  // namespace ps
