// SPDX-License-Identifier: MIT
// A CUPS queue's device URI: the port name the core sees, and the link the port monitor uses.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/linux/UsblpDevices.h"

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

/// Which USB printer a queue's usb: URI reaches.
struct TUsbQueueMatch {
    std::optional<std::size_t> index;     // the one printer it reaches
    std::vector<std::size_t> candidates;  // the printers of the queue's maker and model
    std::string problem;                  // why it reaches none, naming queue and candidates
};

/// The USB printer of queue `queue` whose URI is `uri`: maker and model compared with the
/// device ID's MFG and MDL (a model that repeats the maker counts either way); the URI's
/// serial number with the device ID's serial field or, where the ID has none or another, the
/// USB device's serial number (CUPS takes it from there then). A queue that matches no printer
/// or several is refused: identical printers are never told apart by their order.
TUsbQueueMatch MatchUsbQueue(std::string_view queue, const TDeviceUri& uri,
                             std::span<const TUsblpDevice> devices);

/// The port name of a queue: usb: -> the matched printer's "USB001" ... ("USB000" when no one
/// printer matches); socket:, ipp:, lpd: and other network schemes -> "VODAV_" + host;
/// parallel:/dev/lpN -> "LPT(N+1)"; serial:/dev/ttySN -> "COM(N+1)"; any other parallel or
/// serial device -> its path; anything else -> the URI without user name and password;
/// an URI that cannot be read -> empty.
std::string PortNameForDeviceUri(std::string_view uri, std::span<const TUsblpDevice> devices);

}  // namespace ps
