// SPDX-License-Identifier: MIT
// IEEE 1284 device ID cleaning and field look-up.
#include "platform/DeviceId.h"

#include <algorithm>

#include "base/AsciiText.h"

namespace ps {
namespace {

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

}  // namespace

std::string CleanDeviceId(std::string_view raw) {
    std::string id;
    for (char c : raw) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == 0 || id.size() >= kMaxDeviceIdLength) break;
        if (byte >= 0x20 && byte < 0x7F) id += c;
    }
    return std::string(Trim(id));
}

std::string DeviceIdFromIoctlReply(std::string_view reply) {
    if (reply.size() < 2) return {};
    std::size_t length =
        (static_cast<unsigned char>(reply[0]) << 8) | static_cast<unsigned char>(reply[1]);
    length = std::clamp<std::size_t>(length, 2, reply.size());
    return CleanDeviceId(reply.substr(2, length - 2));
}

std::string DeviceIdField(std::string_view id, std::initializer_list<std::string_view> keys) {
    for (std::string_view key : keys) {
        std::size_t start = 0;
        while (start < id.size()) {
            std::size_t end = id.find(';', start);
            if (end == std::string_view::npos) end = id.size();
            std::string_view field = Trim(id.substr(start, end - start));
            const std::size_t colon = field.find(':');
            if (colon != std::string_view::npos &&
                SameTextNoCase(Trim(field.substr(0, colon)), key))
                return std::string(
                    Trim(field.substr(colon + 1).substr(0, kMaxDeviceIdFieldLength)));
            start = end + 1;
        }
    }
    return {};
}

std::string DeviceIdMaker(std::string_view id) {
    return DeviceIdField(id, {"MFG", "MANUFACTURER"});
}
std::string DeviceIdModel(std::string_view id) {
    return DeviceIdField(id, {"MDL", "MODEL"});
}
std::string DeviceIdSerial(std::string_view id) {
    return DeviceIdField(id, {"SN", "SERN", "SERIALNUMBER"});
}

}  // namespace ps
