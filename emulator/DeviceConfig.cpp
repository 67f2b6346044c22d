// SPDX-License-Identifier: MIT
// Reading a "[Device:ID]" section of emulation.ini.
#include <filesystem>

#include "ConfigReport.h"
#include "EmulatedDevice.h"
#include "EmulatorOptions.h"
#include "base/IniFile.h"
#include "base/PathText.h"

namespace ps::emu {
namespace {

// Windows-style separators are accepted; relative paths are taken from the directory.
std::filesystem::path ResolvePath(const std::filesystem::path& directory, std::string text) {
    if (text.empty()) return {};
    for (char& c : text)
        if (c == '\\' || c == '/')
            c = static_cast<char>(std::filesystem::path::preferred_separator);
    std::filesystem::path path = PathFromUtf8(text);
    return path.is_absolute() ? path : directory / path;
}

// One item code: one or two hex digits, "0x" before them allowed.
std::optional<int> ParseCode(std::string_view text) {
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        text.remove_prefix(2);
    if (text.empty() || text.size() > 2) return std::nullopt;
    return TryStrToInt("$" + std::string(text));
}

}  // namespace

std::map<int, std::int32_t> ParseDeviceValues(std::string_view text, TSectionReader* reader) {
    std::map<int, std::int32_t> values;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find_first_of(", ;\t", pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view entry = text.substr(pos, end - pos);
        pos = end + 1;
        if (entry.empty()) continue;
        // "CODE:VALUE" and "CODE=VALUE" are the same entry.
        const std::size_t mark = entry.find_first_of(":=");
        std::optional<int> code;
        std::optional<std::int32_t> value;
        if (mark != std::string_view::npos) {
            code = ParseCode(entry.substr(0, mark));
            value = TryStrToInt(entry.substr(mark + 1));
        }
        if (code && value) {
            values[*code] = *value;
        } else if (reader) {
            reader->EntryProblem("Values", entry,
                                 "neither CODE:VALUE nor CODE=VALUE (hex code, decimal value); "
                                 "skipped");
        }
    }
    return values;
}

TDeviceConfig LoadDeviceConfig(const TIniFile& ini, const std::string& id,
                               const std::filesystem::path& directory, TConfigReport* report) {
    TSectionReader keys(ini, "Device:" + id, report);
    TDeviceConfig config;
    config.id = id;
    config.usbPort = keys.Text("UsbPort");
    config.deviceId = keys.Text("DeviceId");
    config.schemeFile = ResolvePath(directory, keys.Text("Scheme"));
    config.menuFile = ResolvePath(directory, keys.Text("Menu"));
    config.modelName = keys.Text("ModelName");
    config.values = ParseDeviceValues(keys.Text("Values"), &keys);
    keys.Integer("ReplyDelayMs", config.replyDelayMs, 0, 0xFFFFFFFF);
    keys.Flag("Mute", config.mute);
    keys.Integer("StatusByte", config.statusByte, 0, 0xFF);
    keys.Integer("ShortWrite", config.shortWrite, 0, 0xFFFFFFFF);
    keys.Flag("UsbWriteFails", config.usbWriteFails);

    if (report) {
        std::error_code ec;
        if (!config.schemeFile.empty() && !std::filesystem::is_regular_file(config.schemeFile, ec))
            keys.Problem("Scheme", keys.Text("Scheme"), "no such file; the printer knows no items");
        if (!config.menuFile.empty() && !std::filesystem::is_regular_file(config.menuFile, ec))
            keys.Problem("Menu", keys.Text("Menu"), "no such file; no menu is served");
    }

    // The rest are the emulator's own keys; its reader reports those it does not know.
    TSectionReader::TEntries rest = keys.TakeUnread();
    config.extra.insert(rest.begin(), rest.end());
    TSectionReader options(keys.Section(), std::move(rest), report);
    ParseEmulatorOptions(options);
    options.Finish();
    keys.Finish();
    return config;
}

}  // namespace ps::emu
