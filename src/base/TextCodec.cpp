// SPDX-License-Identifier: MIT
// UTF-8 / UTF-16 conversions.
#include "base/TextCodec.h"

#include <cstdint>
#include <cstring>

namespace ps {

namespace {
TLegacyTextDecoder& InstalledDecoder() {
    static TLegacyTextDecoder decoder;
    return decoder;
}
}  // namespace

void SetLegacyTextDecoder(TLegacyTextDecoder decoder) {
    InstalledDecoder() = std::move(decoder);
}

std::optional<std::string> DecodeLegacyText(std::string_view bytes, std::uint16_t langId) {
    const TLegacyTextDecoder& decoder = InstalledDecoder();
    if (!decoder) return std::nullopt;
    return decoder(bytes, langId);
}
namespace {

// Decodes one UTF-8 sequence at s[i]; returns its length, or 0 when it is invalid.
std::size_t DecodeUtf8(std::string_view s, std::size_t i, char32_t& cp) {
    auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    unsigned char lead = byte(i);
    std::size_t len;
    if (lead < 0x80) {
        cp = lead;
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        len = 2;
        cp = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        len = 3;
        cp = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        len = 4;
        cp = lead & 0x07;
    } else {
        return 0;
    }
    if (i + len > s.size()) return 0;
    for (std::size_t k = 1; k < len; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (byte(i + k) & 0x3F);
    }
    static constexpr char32_t kMin[] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < kMin[len] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return len;
}

}  // namespace

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

bool IsValidUtf8(std::string_view bytes) {
    char32_t cp;
    for (std::size_t i = 0; i < bytes.size();) {
        // Runs of ASCII, the bulk of every scheme, are skipped eight bytes at a time.
        while (i + 8 <= bytes.size()) {
            std::uint64_t word;
            std::memcpy(&word, bytes.data() + i, sizeof word);
            if (word & 0x8080808080808080ull) break;
            i += 8;
        }
        if (i >= bytes.size()) break;
        std::size_t len = DecodeUtf8(bytes, i, cp);
        if (len == 0) return false;
        i += len;
    }
    return true;
}

std::string Utf16ToUtf8(std::string_view bytes, bool bigEndian) {
    std::string out;
    out.reserve(bytes.size());
    auto unit = [&](std::size_t k) -> char16_t {
        auto b0 = static_cast<unsigned char>(bytes[2 * k]);
        auto b1 = static_cast<unsigned char>(bytes[2 * k + 1]);
        return static_cast<char16_t>(bigEndian ? (b0 << 8) | b1 : (b1 << 8) | b0);
    };
    std::size_t units = bytes.size() / 2;
    for (std::size_t k = 0; k < units; ++k) {
        char32_t u = unit(k);
        if (u >= 0xD800 && u <= 0xDBFF && k + 1 < units) {
            char32_t low = unit(k + 1);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                AppendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
                ++k;
                continue;
            }
        }
        if (u >= 0xD800 && u <= 0xDFFF) u = 0xFFFD;
        AppendUtf8(out, u);
    }
    return out;
}

std::u16string Utf8ToUtf16(std::string_view utf8) {
    std::u16string out;
    out.reserve(utf8.size());
    char32_t cp;
    for (std::size_t i = 0; i < utf8.size();) {
        std::size_t len = DecodeUtf8(utf8, i, cp);
        if (len == 0) {
            cp = 0xFFFD;
            len = 1;
        }
        i += len;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (cp >> 10));
            out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
        } else {
            out += static_cast<char16_t>(cp);
        }
    }
    return out;
}

std::string Utf16ToBytesLE(std::u16string_view text) {
    std::string out;
    out.reserve(text.size() * 2);
    for (char16_t u : text) {
        out += static_cast<char>(u & 0xFF);
        out += static_cast<char>(u >> 8);
    }
    return out;
}

std::string Latin1ToUtf8(std::string_view bytes) {
    std::string out;
    for (char c : bytes) AppendUtf8(out, static_cast<unsigned char>(c));
    return out;
}

}  // namespace ps
