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

/// The queue option with which an administrator names a queue's command channel, a default
/// option of the server's own (lpadmin -p QUEUE -o printer-settings-channel-default=socket://
/// HOST:PORT), and the printer attribute the server returns it as.
inline constexpr const char* kChannelOption = "printer-settings-channel-default";

/// The command channel an administrator names for a queue (the queue option kChannelOption):
/// only socket://HOST[:PORT] with an optional "/", HOST a name of letters, digits, '-', '_' and
/// '.', an IPv4 address or an IPv6 address in brackets, PORT 1 to 65535 (9100 when none is
/// given). Nothing for any other text.
std::optional<TDeviceUri> ParseCommandChannel(std::string_view text);

/// The port name of a serial device: /dev/ttySN -> "COM(N+1)", /dev/ttyUSBN -> "COM(N+101)",
/// /dev/ttyACMN -> "COM(N+201)" (N below 100); nothing for other paths.
std::optional<std::string> SerialPortName(std::string_view path);
/// The device of a "COMn" port name, the inverse of SerialPortName; nothing for n outside 1-300.
std::optional<std::string> SerialDevicePath(int comNumber);

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
/// printer matches); a queue with a valid command channel (see ParseCommandChannel) -> "VODAV_"
/// + its host; socket:, ipp:, lpd: and other network schemes -> "VODAV_" + host in lower case;
/// parallel:/dev/lpN -> "LPT(N+1)"; serial devices as SerialPortName; any other parallel or
/// serial device -> its path; anything else -> the URI without user name and password;
/// an URI that cannot be read -> empty. Only usb: queues get a name holding "USB" (the core
/// routes by that text): elsewhere those letters are written in lower case.
std::string PortNameForDeviceUri(std::string_view uri, std::span<const TUsblpDevice> devices,
                                 std::string_view channel = {});

/// The key of the device a queue reaches, shared by every queue and spelling that reaches it:
/// the matched USB printer's TUsblpDevice::Key() ("usb-lp3"; "usb:" + the URI's maker, model
/// and serial in lower case while no one printer matches), "tcp:" + host in lower case + ":" + port
/// for a command channel or a socket: queue, "dev:" + the path of a parallel or serial device.
/// Nothing for a queue whose device is not known (another network scheme without a channel, a URI
/// that cannot be read).
std::optional<std::string> DeviceKeyForQueue(std::string_view uri,
                                             std::span<const TUsblpDevice> devices,
                                             std::string_view channel = {});

}  // namespace ps
