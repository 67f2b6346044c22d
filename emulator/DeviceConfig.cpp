// SPDX-License-Identifier: MIT
// Reading a "[Device:ID]" section of emulation.ini.
#include <cctype>

#include "EmulatedDevice.h"
#include "base/IniFile.h"

namespace ps::emu {
namespace {

bool SameNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

// Windows-style separators are accepted; relative paths are taken from the directory.
std::filesystem::path ResolvePath(const std::filesystem::path& directory, std::string text) {
    if (text.empty()) return {};
    for (char& c : text)
        if (c == '\\' || c == '/')
            c = static_cast<char>(std::filesystem::path::preferred_separator);
    std::filesystem::path path(text);
    return path.is_absolute() ? path : directory / path;
}

// "0A:1, 0B=-3": item codes in hex, values as integers; ":" and "=" both separate them.
std::map<int, std::int32_t> ParseValues(std::string_view text) {
    std::map<int, std::int32_t> values;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find_first_of(", ;\t", pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view entry = text.substr(pos, end - pos);
        pos = end + 1;
        const std::size_t eq = entry.find_first_of(":=");
        if (eq == std::string_view::npos) continue;
        std::string code(entry.substr(0, eq));
        if (code.size() > 2 && (code[0] == '0') && (code[1] == 'x' || code[1] == 'X'))
            code = code.substr(2);
        if (code.empty() || code.size() > 2) continue;
        auto c = TryStrToInt("$" + code);
        auto v = TryStrToInt(entry.substr(eq + 1));
        if (c && v) values[*c] = *v;
    }
    return values;
}

}  // namespace

TDeviceConfig LoadDeviceConfig(const TIniFile& ini, const std::string& id,
                               const std::filesystem::path& directory) {
    const std::string section = "Device:" + id;
    TDeviceConfig config;
    config.id = id;
    for (const std::string& key : ini.KeyNames(section)) {
        const std::string value = ini.ReadString(section, key, "");
        if (SameNoCase(key, "UsbPort")) {
            config.usbPort = value;
        } else if (SameNoCase(key, "DeviceId")) {
            config.deviceId = value;
        } else if (SameNoCase(key, "Scheme")) {
            config.schemeFile = ResolvePath(directory, value);
        } else if (SameNoCase(key, "Menu")) {
            config.menuFile = ResolvePath(directory, value);
        } else if (SameNoCase(key, "ModelName")) {
            config.modelName = value;
        } else if (SameNoCase(key, "Values")) {
            config.values = ParseValues(value);
        } else if (SameNoCase(key, "ReplyDelayMs")) {
            auto n = TryStrToInt(value);
            if (n && *n >= 0) config.replyDelayMs = static_cast<std::uint32_t>(*n);
        } else if (SameNoCase(key, "Mute")) {
            auto n = TryStrToInt(value);
            config.mute = n && *n != 0;
        } else if (SameNoCase(key, "StatusByte")) {
            auto n = TryStrToInt(value);
            if (n && *n >= 0 && *n <= 0xFF) config.statusByte = static_cast<std::uint8_t>(*n);
        } else {
            config.extra.emplace(key, value);
        }
    }
    return config;
}

}  // namespace ps::emu
