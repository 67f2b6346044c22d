// SPDX-License-Identifier: MIT
// Command texts, value bytes and value reply decoding of the setting protocol.
#include "scheme/ValueCodec.h"

#include <cstdio>

#include "base/AsciiText.h"

namespace ps {
namespace {

std::int32_t DecodeOneByte(std::uint8_t b) {
    return b < 0xC0 ? b : b - 256;
}

std::string Hex2(unsigned value, bool upper = true) {
    char buf[8];
    std::snprintf(buf, sizeof buf, upper ? "%.2X" : "%.2x", value & 0xFFu);
    return buf;
}

}  // namespace

std::optional<std::int32_t> DecodeItemValue(const std::uint8_t* bytes, int L,
                                            std::uint32_t nParameterByte) {
    switch (L) {
        case 1:
            return DecodeOneByte(bytes[0]);
        case 2: {
            if (nParameterByte == 1) return DecodeOneByte(bytes[1]);
            std::int32_t raw = bytes[0] + 256 * bytes[1];
            return raw < 0x8000 ? raw : 0x8000 - raw;
        }
        case 3:
            return bytes[0] * 65536 + bytes[1] * 256 + bytes[2];
        default:
            return std::nullopt;
    }
}

std::vector<std::uint8_t> ValueToBytes(std::uint32_t nParameterByte, std::int32_t value) {
    auto v = static_cast<std::int64_t>(value);
    switch (nParameterByte) {
        case 1:
            return {static_cast<std::uint8_t>((v < 0 ? v + 256 : v) & 0xFF)};
        case 2: {
            std::int64_t x = v < 0 ? -v + 0x8000 : v;
            return {static_cast<std::uint8_t>(x & 0xFF),
                    static_cast<std::uint8_t>((x >> 8) & 0xFF)};
        }
        case 3:
            return {static_cast<std::uint8_t>((v >> 16) & 0xFF),
                    static_cast<std::uint8_t>((v >> 8) & 0xFF),
                    static_cast<std::uint8_t>(v & 0xFF)};
        default:
            return {};
    }
}

std::string SingleReadCommand(std::string_view getValueClass, std::string_view getInstruction,
                              std::string_view tail) {
    std::string text(getValueClass);
    text += " 01 ";
    text += getInstruction;
    text += " ";
    text += tail;
    return text;
}

std::string PageReadCommand(std::string_view getValueClass,
                            const std::vector<std::string>& getInstructions,
                            std::string_view tail) {
    std::string text(getValueClass);
    char count[16];
    std::snprintf(count, sizeof count, " %.2zx ", getInstructions.size());
    text += count;
    for (const std::string& code : getInstructions) {
        text += code;
        text += ' ';
    }
    text += tail;
    return text;
}

std::string ItemWriteText(std::string_view setInstruction, std::uint32_t nParameterByte,
                          std::int32_t value) {
    while (!setInstruction.empty() && setInstruction.front() == ' ')
        setInstruction.remove_prefix(1);
    while (!setInstruction.empty() && setInstruction.back() == ' ') setInstruction.remove_suffix(1);
    std::string text(setInstruction);
    for (std::uint8_t b : ValueToBytes(nParameterByte, value)) text += " " + Hex2(b);
    return text;
}

std::string WriteCommand(std::string_view enter, std::string_view setInstruction,
                         std::uint32_t nParameterByte, std::int32_t value, std::string_view tail,
                         std::string_view save) {
    std::string text(enter);
    text += ' ';
    text += ItemWriteText(setInstruction, nParameterByte, value);
    text += ' ';
    text += tail;
    text += ' ';
    text += save;
    return text;
}

std::vector<TReplyEntry> DecodePageReply(const std::uint8_t* reply, int length,
                                         const std::vector<std::uint32_t>& nParameterBytes) {
    std::vector<TReplyEntry> entries;
    if (length <= kReplyEntriesOffset) return entries;
    int count = reply[kReplyCountOffset];
    int pos = kReplyEntriesOffset;
    for (std::size_t k = 0; static_cast<int>(k) < count; ++k) {
        if (pos + 2 > length) break;
        std::uint8_t code = reply[pos];
        int L = reply[pos + 1];
        if (L < 1 || L > 3 || pos + 2 + L > length) break;
        // An item beyond the page's last item has no parameter count: the rule then does not
        // apply (0 is never 1).
        std::uint32_t params = k < nParameterBytes.size() ? nParameterBytes[k] : 0;
        entries.push_back({code, *DecodeItemValue(reply + pos + 2, L, params)});
        pos += 2 + L;
        if (pos >= length - 5) break;
    }
    return entries;
}

std::optional<std::int32_t> FindReplyValue(const std::vector<TReplyEntry>& entries,
                                           std::string_view getInstruction) {
    // Equal to a code's two upper-case digits, letter case aside: exactly two hex digits.
    auto digit = [](char c) { return HexDigitValue(c); };
    if (getInstruction.size() != 2) return std::nullopt;
    const int high = digit(getInstruction[0]), low = digit(getInstruction[1]);
    if (high < 0 || low < 0) return std::nullopt;
    for (const TReplyEntry& e : entries)
        if (e.code == high * 16 + low) return e.value;
    return std::nullopt;
}

}  // namespace ps
