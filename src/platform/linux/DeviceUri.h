// SPDX-License-Identifier: MIT
// A CUPS queue's device URI: the port name the core sees, and the link the port monitor uses.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/linux/UsblpLibrary.h"

namespace ps {

/// The raw printing port of network printers.
inline constexpr int kRawPrintingPort = 9100;

/// A device URI taken apart. Text is percent-decoded; user names and passwords are dropped.
struct TDeviceUri {
    std::string scheme;    // lower case: "usb", "socket", "ipp", "parallel" ...
    std::string host;      // network host, or the maker of a usb: URI
    int port = 0;          // the scheme's usual port when the URI names none (socket: 9100)
    std::string resource;  // the path: "/dev/lp0", or the model of a usb: URI (no '/')
    std::string serial;    // "serial=" of a usb: URI
};

std::optional<TDeviceUri> ParseDeviceUri(std::string_view uri);

/// True for the schemes that reach a printer over the network.
bool IsNetworkScheme(std::string_view scheme);

/// The USB printer a usb: URI names: maker and model compared with the device ID's MFG and
/// MDL (a model that repeats the maker counts either way), the serial number when both have
/// one. The first match in enumeration order; nothing when no printer matches.
std::optional<std::size_t> FindUsbDeviceForUri(const TDeviceUri& uri,
                                               std::span<const TUsblpDevice> devices);

/// The port name of a queue: usb: -> the matched printer's "USB001" ... ("USB000" when it is not
/// attached); socket:, ipp:, lpd: and other network schemes -> "VODAV_" + host;
/// parallel:/dev/lpN -> "LPT(N+1)"; serial:/dev/ttySN -> "COM(N+1)"; any other parallel or
/// serial device -> its path; anything else -> the URI without user name and password;
/// an URI that cannot be read -> empty.
std::string PortNameForDeviceUri(std::string_view uri, std::span<const TUsblpDevice> devices);

}  // namespace ps
