// SPDX-License-Identifier: MIT
// Fuzz target: the instruction hex text converters take any text. Each must keep its own length
// rule and never write beyond the caller's buffer, and the formatters must read back as the
// bytes they were given.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzSupport.h"
#include "base/Lib_String.h"
#include "base/TextCodec.h"

using ps::fuzz::Check;

namespace {

// The converters count UTF-16 code units, as the text is read as UTF-16.
std::size_t CountWithout(const std::u16string& text, std::u16string_view removed) {
    std::size_t n = 0;
    for (char16_t c : text)
        if (removed.find(c) == std::u16string_view::npos) ++n;
    return n;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::u16string units = ps::Utf8ToUtf16(text);

    Check(ps::HexTextToBytes(text).size() == CountWithout(units, u" \t") / 2);
    const std::string ansi = ps::HexString2AnsiString(text, data[0] & 1);
    Check(ansi.size() <= CountWithout(units, u" \t") / 2);

    // A buffer of exactly the capacity asked for: a write beyond it is caught.
    const int capacity = data[0] % 64;
    std::vector<std::uint8_t> buffer(static_cast<std::size_t>(capacity));
    const int pairs = static_cast<int>(CountWithout(units, u" ") / 2);
    try {
        const int n = ps::HexTextToBuffer(text, buffer.data(), capacity);
        Check(n == (pairs > capacity ? -pairs : pairs));
    } catch (const ps::EConvertError&) {
        Check(pairs <= capacity);
    }
    try {
        // Three characters a byte, rounding up; an empty text is one empty pair and fails.
        const ps::TBytes spaced = ps::SpacedHexToBytes(text);
        Check(!units.empty() && spaced.size() == (units.size() + 2) / 3);
    } catch (const ps::EConvertError&) {
    }

    // The input's bytes written out and read back.
    const std::uint8_t* bytes = data + 1;
    const std::size_t count = size - 1;
    const ps::TBytes original(bytes, bytes + count);
    Check(ps::HexTextToBytes(ps::BytesToHexText(bytes, count)) == original);
    if (count > 0) Check(ps::SpacedHexToBytes(ps::BytesToSpacedHex(bytes, count)) == original);
    Check(ps::TextToHexText(text).size() >= 2 * units.size());

    // FindMem: a hit must really match; the needle taken from the haystack is always found.
    const int needle = static_cast<int>(std::min<std::size_t>(data[0] % 8, count));
    const int at = ps::FindMem(bytes + count - needle, bytes, needle, static_cast<int>(count));
    Check(at >= 0 && at <= static_cast<int>(count) - needle &&
          std::equal(bytes + at, bytes + at + needle, bytes + count - needle));
    return 0;
}
