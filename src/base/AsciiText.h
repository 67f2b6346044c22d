// SPDX-License-Identifier: MIT
// The ASCII text helpers every layer uses: letter case, case-insensitive comparison, hex
// digits and trimming. Only the 26 ASCII letters change case; every other byte, including
// each byte of a UTF-8 sequence, stays as it is, whatever the process locale.
#pragma once

#include <string>
#include <string_view>

namespace ps {

constexpr char AsciiUpper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

constexpr char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

inline std::string AsciiUpper(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = AsciiUpper(c);
    return out;
}

inline std::string AsciiLower(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = AsciiLower(c);
    return out;
}

/// Equal when the ASCII letters are compared without regard to case.
constexpr bool SameTextNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
    return true;
}

/// `text` begins with `prefix`, ASCII letters compared without regard to case.
constexpr bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && SameTextNoCase(text.substr(0, prefix.size()), prefix);
}

/// The value of a hexadecimal digit (0-9, a-f, A-F), or -1 for any other character. Takes
/// char, char16_t and char32_t alike.
constexpr int HexDigitValue(char32_t c) {
    if (c >= U'0' && c <= U'9') return static_cast<int>(c - U'0');
    if (c >= U'a' && c <= U'f') return static_cast<int>(c - U'a') + 10;
    if (c >= U'A' && c <= U'F') return static_cast<int>(c - U'A') + 10;
    return -1;
}
constexpr int HexDigitValue(char16_t c) {
    return HexDigitValue(static_cast<char32_t>(c));
}
constexpr int HexDigitValue(char c) {
    return HexDigitValue(static_cast<char32_t>(static_cast<unsigned char>(c)));
}

/// Blank and tab: the blanks around INI names.
constexpr bool IsBlankOrTab(char c) {
    return c == ' ' || c == '\t';
}

/// `text` without the characters at either end for which `blank` is true.
constexpr std::string_view TrimAscii(std::string_view text, bool (*blank)(char) = IsBlankOrTab) {
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

}  // namespace ps
