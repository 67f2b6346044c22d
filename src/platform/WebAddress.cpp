// SPDX-License-Identifier: MIT
// The web addresses a desktop shell may be handed.
#include "platform/WebAddress.h"

#include "base/AsciiText.h"

namespace ps {

bool IsWebAddress(std::string_view url) {
    std::string_view rest;
    if (StartsWithNoCase(url, "http://"))
        rest = url.substr(7);
    else if (StartsWithNoCase(url, "https://"))
        rest = url.substr(8);
    else
        return false;
    if (rest.empty() || rest[0] == '/' || url.size() > 2048) return false;
    for (char c : url) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= 0x20 || byte >= 0x7F) return false;
    }
    return true;
}

}  // namespace ps
