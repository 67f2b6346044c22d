// SPDX-License-Identifier: MIT
// Device URIs of CUPS queues.
#include "platform/linux/DeviceUri.h"

#include <cups/http.h>

#include "base/AsciiText.h"
#include "platform/linux/DeviceId.h"

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

std::string PortNameForDeviceUri(std::string_view text, std::span<const TUsblpDevice> devices) {
    const auto uri = ParseDeviceUri(text);
    if (!uri) return {};
    if (uri->scheme == "usb") {
        const auto match = MatchUsbQueue("", *uri, devices);
        return match.index ? devices[*match.index].portName : "USB000";
    }
    if (IsNetworkScheme(uri->scheme)) return "VODAV_" + uri->host;
    if (uri->scheme == "parallel") {
        const int n = DeviceNumber(uri->resource, "/dev/lp");
        return n >= 0 ? "LPT" + std::to_string(n + 1) : uri->resource;
    }
    if (uri->scheme == "serial") {
        const int n = DeviceNumber(uri->resource, "/dev/ttyS");
        return n >= 0 ? "COM" + std::to_string(n + 1) : uri->resource;
    }
    std::string port = uri->scheme + ":";
    if (!uri->host.empty()) port += "//" + uri->host;
    return port + uri->resource;
}

}  // namespace ps
