// SPDX-License-Identifier: MIT
// Device URIs of CUPS queues.
#include "platform/linux/DeviceUri.h"

#include <cups/http.h>

#include "base/AsciiText.h"
#include "platform/DeviceId.h"

namespace ps {
namespace {

std::string PercentDecoded(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && HexDigitValue(text[i + 1]) >= 0 &&
            HexDigitValue(text[i + 2]) >= 0) {
            out += static_cast<char>(HexDigitValue(text[i + 1]) * 16 + HexDigitValue(text[i + 2]));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

// "usb://Maker/Model?serial=X&interface=1": taken apart by hand, as CUPS writes it.
TDeviceUri ParseUsbUri(std::string_view rest) {
    TDeviceUri uri;
    uri.scheme = "usb";
    std::string_view query;
    if (auto q = rest.find('?'); q != std::string_view::npos) {
        query = rest.substr(q + 1);
        rest = rest.substr(0, q);
    }
    const auto slash = rest.find('/');
    uri.host = PercentDecoded(rest.substr(0, slash));
    if (slash != std::string_view::npos) uri.resource = PercentDecoded(rest.substr(slash + 1));
    while (!query.empty()) {
        const auto amp = query.find('&');
        std::string_view pair = query.substr(0, amp);
        if (StartsWithNoCase(pair, "serial=")) uri.serial = PercentDecoded(pair.substr(7));
        query = amp == std::string_view::npos ? std::string_view() : query.substr(amp + 1);
    }
    return uri;
}

// The number N of "/dev/<prefix>N", or -1.
int DeviceNumber(std::string_view path, std::string_view prefix) {
    if (!path.starts_with(prefix) || path.size() == prefix.size() ||
        path.size() > prefix.size() + 3)
        return -1;
    int number = 0;
    for (char c : path.substr(prefix.size())) {
        if (c < '0' || c > '9') return -1;
        number = number * 10 + (c - '0');
    }
    return number;
}

bool SameModel(const std::string& uriMaker, const std::string& uriModel, const std::string& maker,
               const std::string& model) {
    if (!SameTextNoCase(uriMaker, maker)) return false;
    if (SameTextNoCase(uriModel, model)) return true;
    // One side may carry the maker in front of the model ("Talvenor QR-520").
    auto strip = [&](const std::string& text) {
        std::string_view view = text;
        if (StartsWithNoCase(view, maker)) view.remove_prefix(maker.size());
        return std::string(TrimAscii(view));
    };
    return SameTextNoCase(strip(uriModel), strip(model));
}

// Ports that are not USB printers never carry the letters the core routes USB printers by.
std::string WithoutUsbLetters(std::string text) {
    for (std::size_t at = text.find("USB"); at != std::string::npos; at = text.find("USB", at))
        text.replace(at, 3, "usb");
    return text;
}

bool IsHostNameCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '_' || c == '.';
}

bool IsIpv6Character(char c) {
    return HexDigitValue(c) >= 0 || c == ':' || c == '.';
}

}  // namespace

std::optional<TDeviceUri> ParseDeviceUri(std::string_view text) {
    const auto colon = text.find(':');
    if (colon == std::string_view::npos || colon == 0) return std::nullopt;
    const std::string scheme = AsciiLower(text.substr(0, colon));
    if (scheme == "usb") {
        std::string_view rest = text.substr(colon + 1);
        while (rest.starts_with("/")) rest.remove_prefix(1);
        return ParseUsbUri(rest);
    }
    char schemeText[32], user[256], host[256], resource[1024];
    int port = 0;
    // Options after '?' ("?snmp=false", "?baud=9600") are the backend's, not the address's.
    const std::string copy(text.substr(0, text.find('?')));
    if (httpSeparateURI(HTTP_URI_CODING_ALL, copy.c_str(), schemeText, sizeof schemeText, user,
                        sizeof user, host, sizeof host, &port, resource,
                        sizeof resource) < HTTP_URI_STATUS_OK)
        return std::nullopt;
    TDeviceUri uri;
    uri.scheme = scheme;
    uri.host = host;
    uri.port = port;
    uri.resource = resource;
    if (scheme == "socket" && uri.port <= 0) uri.port = kRawPrintingPort;
    return uri;
}

bool IsNetworkScheme(std::string_view scheme) {
    for (std::string_view network :
         {"socket", "ipp", "ipps", "http", "https", "lpd", "dnssd", "smb"}) {
        if (SameTextNoCase(scheme, network)) return true;
    }
    return false;
}

std::optional<TDeviceUri> ParseCommandChannel(std::string_view text) {
    constexpr std::string_view kScheme = "socket://";
    constexpr std::size_t kMaxHost = 253;
    if (!StartsWithNoCase(text, kScheme)) return std::nullopt;
    std::string_view rest = text.substr(kScheme.size());
    if (rest.ends_with("/")) rest.remove_suffix(1);
    TDeviceUri uri;
    uri.scheme = "socket";
    uri.port = kRawPrintingPort;
    if (rest.starts_with("[")) {
        const auto close = rest.find(']');
        if (close == std::string_view::npos || close == 1) return std::nullopt;
        const std::string_view address = rest.substr(1, close - 1);
        for (char c : address)
            if (!IsIpv6Character(c)) return std::nullopt;
        uri.host = address;
        rest.remove_prefix(close + 1);
    } else {
        const auto colon = rest.find(':');
        const std::string_view host = rest.substr(0, colon);
        if (host.empty() || host.size() > kMaxHost) return std::nullopt;
        for (char c : host)
            if (!IsHostNameCharacter(c)) return std::nullopt;
        uri.host = host;
        rest.remove_prefix(host.size());
    }
    if (rest.empty()) return uri;
    if (rest.front() != ':' || rest.size() < 2 || rest.size() > 6) return std::nullopt;
    int port = 0;
    for (char c : rest.substr(1)) {
        if (c < '0' || c > '9') return std::nullopt;
        port = port * 10 + (c - '0');
    }
    if (port < 1 || port > 65535) return std::nullopt;
    uri.port = port;
    return uri;
}

std::optional<std::string> SerialPortName(std::string_view path) {
    for (const auto& [prefix, first] : {std::pair<std::string_view, int>{"/dev/ttyS", 1},
                                        {"/dev/ttyUSB", 101},
                                        {"/dev/ttyACM", 201}}) {
        const int n = DeviceNumber(path, prefix);
        if (n >= 0 && n < 100) return "COM" + std::to_string(first + n);
    }
    return std::nullopt;
}

std::optional<std::string> SerialDevicePath(int comNumber) {
    if (comNumber < 1 || comNumber > 300) return std::nullopt;
    static constexpr const char* kPrefixes[] = {"/dev/ttyS", "/dev/ttyUSB", "/dev/ttyACM"};
    return kPrefixes[(comNumber - 1) / 100] + std::to_string((comNumber - 1) % 100);
}

TUsbQueueMatch MatchUsbQueue(std::string_view queue, const TDeviceUri& uri,
                             std::span<const TUsblpDevice> devices) {
    TUsbQueueMatch match;
    std::vector<std::size_t> matching;
    for (std::size_t i = 0; i < devices.size(); ++i) {
        const std::string& id = devices[i].deviceId;
        if (!SameModel(uri.host, uri.resource, DeviceIdMaker(id), DeviceIdModel(id))) continue;
        match.candidates.push_back(i);
        if (uri.serial.empty() || DeviceIdSerial(id) == uri.serial ||
            devices[i].usbSerial == uri.serial)
            matching.push_back(i);
    }
    if (matching.size() == 1) {
        match.index = matching.front();
        return match;
    }
    std::string listed;
    for (std::size_t i : match.candidates) {
        const TUsblpDevice& device = devices[i];
        std::string serial = DeviceIdSerial(device.deviceId);
        if (serial.empty()) serial = device.usbSerial;
        listed += (listed.empty() ? "" : ", ") + device.portName +
                  (serial.empty() ? " (no serial number)" : " (serial number " + serial + ")");
    }
    const std::string name = "queue \"" + std::string(queue) + "\" (" + uri.host + " " +
                             uri.resource +
                             (uri.serial.empty() ? "" : ", serial number " + uri.serial) + ")";
    if (matching.empty()) {
        match.problem = "the USB printer of " + name + " is not attached";
        match.problem += listed.empty() ? ": plug it in and switch it on"
                                        : "; of that model there are " + listed +
                                              ". Plug it in, or set the queue's URI to the "
                                              "printer meant (lpinfo -v lists them)";
    } else {
        match.problem = name + " matches several USB printers: " + listed +
                        ". They cannot be told apart by the queue's URI; set it to one with a "
                        "serial number that only one of them has (lpinfo -v lists them)";
    }
    return match;
}

std::string PortNameForDeviceUri(std::string_view text, std::span<const TUsblpDevice> devices,
                                 std::string_view channel) {
    const auto uri = ParseDeviceUri(text);
    if (!uri) return {};
    if (uri->scheme == "usb") {
        const auto match = MatchUsbQueue("", *uri, devices);
        return match.index ? devices[*match.index].portName : "USB000";
    }
    if (const auto named = ParseCommandChannel(channel)) return "VODAV_" + AsciiLower(named->host);
    if (IsNetworkScheme(uri->scheme)) return "VODAV_" + AsciiLower(uri->host);
    if (uri->scheme == "parallel") {
        const int n = DeviceNumber(uri->resource, "/dev/lp");
        return n >= 0 ? "LPT" + std::to_string(n + 1) : WithoutUsbLetters(uri->resource);
    }
    if (uri->scheme == "serial")
        return SerialPortName(uri->resource).value_or(WithoutUsbLetters(uri->resource));
    std::string port = uri->scheme + ":";
    if (!uri->host.empty()) port += "//" + AsciiLower(uri->host);
    return WithoutUsbLetters(port + uri->resource);
}

std::optional<std::string> DeviceKeyForQueue(std::string_view text,
                                             std::span<const TUsblpDevice> devices,
                                             std::string_view channel) {
    const auto uri = ParseDeviceUri(text);
    if (!uri) return std::nullopt;
    if (uri->scheme == "usb") {
        if (const auto match = MatchUsbQueue("", *uri, devices); match.index)
            return devices[*match.index].Key();
        return "usb:" + AsciiLower(uri->host + "/" + uri->resource + "?serial=" + uri->serial);
    }
    const auto named = ParseCommandChannel(channel);
    if (named) return "tcp:" + AsciiLower(named->host) + ":" + std::to_string(named->port);
    if (uri->scheme == "socket")
        return "tcp:" + AsciiLower(uri->host) + ":" +
               std::to_string(uri->port > 0 ? uri->port : kRawPrintingPort);
    if (uri->scheme == "parallel" || uri->scheme == "serial") return "dev:" + uri->resource;
    return std::nullopt;
}

}  // namespace ps
