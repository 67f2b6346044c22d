// SPDX-License-Identifier: MIT
// Conversions between UTF-8 (the program's text) and UTF-16 (files and printer data).
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
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

/// The language identifier that stands for the system's default language.
inline constexpr std::uint16_t kSystemLanguage = 0;

/// Decodes 8-bit text in the legacy code page of a language (kSystemLanguage: the system's) to
/// UTF-8; nothing when the machine cannot. The platform installs the machine's decoder; until then
/// nothing is decoded.
using TLegacyTextDecoder =
    std::function<std::optional<std::string>(std::string_view bytes, std::uint16_t langId)>;
void SetLegacyTextDecoder(TLegacyTextDecoder decoder);
std::optional<std::string> DecodeLegacyText(std::string_view bytes, std::uint16_t langId);

/// Appends one code point as UTF-8.
void AppendUtf8(std::string& out, char32_t cp);

}  // namespace ps
