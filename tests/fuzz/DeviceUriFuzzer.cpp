// SPDX-License-Identifier: MIT
// Fuzz target: device URIs and command channels of CUPS queues, text a server hands out. Only a
// usb: queue gets a port name holding "USB" (the core routes by it); a channel that is accepted
// is a socket:// address with a usable port and a host without separators; a device key, when
// there is one, names its kind; every serial device number maps to a COM name and back.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzSupport.h"
#include "platform/linux/DeviceUri.h"

using ps::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The input is the URI, then after the first NUL byte the queue's command channel.
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t nul = input.find('\0');
    const std::string uri(input.substr(0, nul));
    const std::string channel(nul == std::string_view::npos ? "" : input.substr(nul + 1));
    std::vector<ps::TUsblpDevice> devices(2);
    for (unsigned minor : {0u, 1u}) {
        devices[minor].minor = minor;
        devices[minor].path = "/dev/usb/lp" + std::to_string(minor);
        devices[minor].portName = "USB00" + std::to_string(minor + 1);
    }
    devices[0].deviceId = "MFG:Talvenor;MDL:QR-520;SN:A1;";
    devices[1].deviceId = "MFG:Talvenor;MDL:QR-520;";
    devices[1].usbSerial = "B2";

    const auto parsed = ps::ParseDeviceUri(uri);
    const std::string port = ps::PortNameForDeviceUri(uri, devices, channel);
    if (!parsed || parsed->scheme != "usb") Check(port.find("USB") == std::string::npos);
    if (parsed && parsed->scheme == "usb") Check(port.starts_with("USB"));

    if (const auto named = ps::ParseCommandChannel(channel)) {
        Check(named->scheme == "socket");
        Check(named->port >= 1 && named->port <= 65535);
        Check(!named->host.empty());
        for (char c : named->host) Check(c != '/' && c != '@' && c != '?' && c > 0x20 && c < 0x7F);
    }

    if (const auto key = ps::DeviceKeyForQueue(uri, devices, channel))
        Check(key->starts_with("usb") || key->starts_with("tcp:") || key->starts_with("dev:"));

    for (int com = 1; com <= 300; com += 37) {
        const auto path = ps::SerialDevicePath(com);
        Check(path && ps::SerialPortName(*path) == "COM" + std::to_string(com));
    }
    return 0;
}
