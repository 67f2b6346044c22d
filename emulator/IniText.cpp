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

TIniFile ReadIniFile(const std::filesystem::path& path) {
    auto bytes = ReadFileBytes(path);
    return bytes ? ParseIniBytes(*bytes) : TIniFile();
}

}  // namespace ps::emu
