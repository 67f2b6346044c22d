// SPDX-License-Identifier: MIT
// INI reading without a platform.
#include "IniText.h"

#include <fstream>
#include <sstream>

#include "base/TextCodec.h"

namespace ps::emu {

std::optional<std::string> ReadFileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

TIniFile ParseIniBytes(const std::string& bytes) {
    const bool bBom = bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF") ||
                      bytes.starts_with("\xEF\xBB\xBF");
    // With a mark or in valid UTF-8 no legacy code page is consulted.
    if (bBom || IsValidUtf8(bytes)) return TIniFile::FromText(DecodeIniBytes(bytes, 0x0409));
    std::string ascii = bytes;
    for (char& c : ascii)
        if (static_cast<unsigned char>(c) >= 0x80) c = '?';
    return TIniFile::FromText(ascii);
}

std::optional<std::uint32_t> ParseUnsigned32(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    int base = 10;
    if (text.starts_with('$')) {
        text.remove_prefix(1);
        base = 16;
    } else if (text.starts_with("0x") || text.starts_with("0X")) {
        text.remove_prefix(2);
        base = 16;
    }
    if (text.empty() || text.size() > (base == 16 ? 8u : 10u)) return std::nullopt;
    std::uint64_t value = 0;
    for (char c : text) {
        int digit = -1;
        if (c >= '0' && c <= '9') digit = c - '0';
        if (base == 16 && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
        if (base == 16 && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
        if (digit < 0) return std::nullopt;
        value = value * static_cast<unsigned>(base) + static_cast<unsigned>(digit);
    }
    if (value > 0xFFFFFFFFu) return std::nullopt;
    return static_cast<std::uint32_t>(value);
}

TIniFile ReadIniFile(const std::filesystem::path& path) {
    auto bytes = ReadFileBytes(path);
    return bytes ? ParseIniBytes(*bytes) : TIniFile();
}

}  // namespace ps::emu
