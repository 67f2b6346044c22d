// SPDX-License-Identifier: MIT
// Instruction hex text conversions and the byte-pattern search.
#include "base/Lib_String.h"

#include <cstdio>
#include <cstring>
#include <optional>

#include "base/AsciiText.h"
#include "base/TextCodec.h"

namespace ps {
namespace {

// A pair is read as if written after "$": one or two hex digits, nothing else.
std::optional<std::uint8_t> ReadPair(std::u16string_view pair) {
    if (pair.empty()) return std::nullopt;
    int value = 0;
    for (char16_t c : pair) {
        int d = HexDigitValue(c);
        if (d < 0) return std::nullopt;
        value = value * 16 + d;
    }
    return static_cast<std::uint8_t>(value);
}

std::u16string Without(std::string_view text, std::u16string_view removed) {
    std::u16string out;
    for (char16_t c : Utf8ToUtf16(text))
        if (removed.find(c) == std::u16string_view::npos) out += c;
    return out;
}

[[noreturn]] void ThrowInvalidPair(std::u16string_view pair) {
    std::string shown;
    for (char16_t c : pair) AppendUtf8(shown, c);
    throw EConvertError("'$" + shown + "' is not a valid integer value");
}

}  // namespace

TBytes HexTextToBytes(std::string_view text) {
    std::u16string s = Without(text, u" \t");
    TBytes out(s.size() / 2, 0);
    for (std::size_t i = 0; i < out.size(); ++i)
        if (auto b = ReadPair(std::u16string_view(s).substr(2 * i, 2))) out[i] = *b;
    return out;
}

std::string HexString2AnsiString(std::string_view strHexString, bool bVisibleConv) {
    std::u16string s = Without(strHexString, u" \t");
    std::string out;
    for (std::size_t i = 0; i < s.size() / 2; ++i) {
        auto b = ReadPair(std::u16string_view(s).substr(2 * i, 2));
        if (!b) continue;
        std::uint8_t byte = *b;
        if (bVisibleConv && (byte < 0x20 || byte > 0x7E)) byte = 0x2E;
        out += static_cast<char>(byte);
    }
    return out;
}

int HexTextToBuffer(std::string_view text, std::uint8_t* buffer, int capacity) {
    std::u16string s = Without(text, u" ");
    const int n = static_cast<int>(s.size() / 2);
    if (capacity < n) return -n;
    for (int i = 0; i < n; ++i) {
        auto pair = std::u16string_view(s).substr(2 * static_cast<std::size_t>(i), 2);
        auto b = ReadPair(pair);
        if (!b) ThrowInvalidPair(pair);
        buffer[i] = *b;
    }
    return n;
}

TBytes SpacedHexToBytes(std::string_view text) {
    std::u16string s = Utf8ToUtf16(text);
    // (length - 1) div 3 + 1 with Pascal's truncating division: an empty text has one pair.
    const std::size_t n = s.empty() ? 1 : (s.size() - 1) / 3 + 1;
    TBytes out(n, 0);
    for (std::size_t i = 0; i < n; ++i) {
        std::u16string_view pair =
            3 * i < s.size() ? std::u16string_view(s).substr(3 * i, 2) : std::u16string_view();
        auto b = ReadPair(pair);
        if (!b) ThrowInvalidPair(pair);
        out[i] = *b;
    }
    return out;
}

std::string BytesToHexText(const std::uint8_t* data, std::size_t size) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(size * 2);
    for (std::size_t i = 0; i < size; ++i) {
        out += kDigits[data[i] >> 4];
        out += kDigits[data[i] & 0x0F];
    }
    return out;
}

std::string BytesToSpacedHex(const std::uint8_t* data, std::size_t size) {
    std::string compact = BytesToHexText(data, size);
    std::string out;
    out.reserve(size * 3);
    for (std::size_t i = 0; i < compact.size(); i += 2) {
        if (i) out += ' ';
        out.append(compact, i, 2);
    }
    return out;
}

std::string TextToHexText(std::string_view text) {
    std::string out;
    char buf[8];
    for (char16_t c : Utf8ToUtf16(text)) {
        std::snprintf(buf, sizeof buf, "%.2X", static_cast<unsigned>(c));
        out += buf;
    }
    return out;
}

int FindMem(const void* pSub, const void* pMem, int size1, int size2) {
    if (size1 < 0 || size2 < 0) return -1;
    const auto* sub = static_cast<const unsigned char*>(pSub);
    const auto* mem = static_cast<const unsigned char*>(pMem);
    for (int i = 0; i <= size2 - size1; ++i)
        if (std::memcmp(mem + i, sub, static_cast<std::size_t>(size1)) == 0) return i;
    return -1;
}

}  // namespace ps
