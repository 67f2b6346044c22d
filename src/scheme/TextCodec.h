// SPDX-License-Identifier: MIT
// Conversions between UTF-8 (the program's text) and UTF-16 (files and printer data).
#pragma once

#include <string>
#include <string_view>

namespace ps {

bool IsValidUtf8(std::string_view bytes);

/// UTF-16 bytes (no byte-order mark) to UTF-8; unpaired surrogates become U+FFFD and an odd
/// last byte is dropped.
std::string Utf16ToUtf8(std::string_view bytes, bool bigEndian = false);

/// UTF-8 to UTF-16 code units; invalid sequences become U+FFFD.
std::u16string Utf8ToUtf16(std::string_view utf8);

/// UTF-16 code units to UTF-16LE bytes.
std::string Utf16ToBytesLE(std::u16string_view text);

/// Bytes read as ISO-8859-1, the last resort for text in an unknown code page.
std::string Latin1ToUtf8(std::string_view bytes);

/// Appends one code point as UTF-8.
void AppendUtf8(std::string& out, char32_t cp);

}  // namespace ps
