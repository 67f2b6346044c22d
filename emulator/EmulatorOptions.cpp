// SPDX-License-Identifier: MIT
// Parsing of the emulator's own device keys.
#include "EmulatorOptions.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <string_view>

#include "ConfigReport.h"
#include "IniText.h"
#include "base/IniFile.h"
#include "base/Lib_String.h"

namespace ps::emu {
namespace {

std::string Lower(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

// Hex bytes with blanks between them allowed: an even number of hex digits.
bool IsHexBytes(std::string_view text) {
    std::size_t digits = 0;
    for (char c : text) {
        if (c == ' ' || c == '\t') continue;
        if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
        ++digits;
    }
    return digits % 2 == 0;
}

constexpr std::int64_t kMaxUnsigned = 0xFFFFFFFF;

// "hhhh" of hex digits into two bytes, the first pair being the more significant one.
bool HexPairs(std::string_view digits, std::uint8_t& high, std::uint8_t& low) {
    if (digits.size() != 4 || !std::all_of(digits.begin(), digits.end(), [](char c) {
            return std::isxdigit(static_cast<unsigned char>(c)) != 0;
        }))
        return false;
    TBytes b = HexTextToBytes(digits);
    high = b[0];
    low = b[1];
    return true;
}

bool ParseVersion(std::string_view text, std::vector<std::uint8_t>& firmware) {
    if (!text.empty() && (text[0] == 'V' || text[0] == 'v')) text.remove_prefix(1);
    if (text.size() != 9 || text[4] != '.' || firmware.size() < 4) return false;
    std::vector<std::uint8_t> out = firmware;
    if (!HexPairs(text.substr(0, 4), out[3], out[2]) ||
        !HexPairs(text.substr(5, 4), out[1], out[0]))
        return false;
    firmware = std::move(out);
    return true;
}

bool ParseDate(std::string_view text, std::vector<std::uint8_t>& firmware) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-' || firmware.size() < 8) return false;
    const std::string monthDay = std::string(text.substr(5, 2)) + std::string(text.substr(8, 2));
    std::vector<std::uint8_t> out = firmware;
    if (!HexPairs(text.substr(0, 4), out[7], out[6]) || !HexPairs(monthDay, out[5], out[4]))
        return false;
    firmware = std::move(out);
    return true;
}

// "M:V" or "M=V" entries separated by commas or blanks: a mode 0..255 (decimal or hex) and a
// byte value -128..255 (negative values + 256).
std::map<int, std::uint8_t> ParseModeBytes(TSectionReader& keys, std::string_view key,
                                           std::string_view text) {
    std::map<int, std::uint8_t> out;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find_first_of(", ;\t", pos);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view entry = text.substr(pos, end - pos);
        pos = end + 1;
        if (entry.empty()) continue;
        const std::size_t mark = entry.find_first_of(":=");
        std::optional<std::int32_t> mode, value;
        if (mark != std::string_view::npos) {
            mode = TryStrToInt(entry.substr(0, mark));
            value = TryStrToInt(entry.substr(mark + 1));
        }
        if (mode && value && *mode >= 0 && *mode <= 0xFF && *value >= -128 && *value <= 0xFF)
            out[*mode] = static_cast<std::uint8_t>(*value & 0xFF);
        else
            keys.EntryProblem(key, entry, "not MODE:VALUE (value -128 to 255); skipped");
    }
    return out;
}

void Unsigned(TSectionReader& keys, std::string_view key, std::optional<std::uint32_t>& out) {
    auto text = keys.Find(key);
    if (!text) return;
    if (auto n = ParseUnsigned32(*text))
        out = *n;
    else
        keys.Problem(key, *text, "not a number from 0 to 4294967295; keeps 0");
}

void Answers(TSectionReader& keys, TEmulatorOptions& options) {
    constexpr std::string_view kPrefix = "Answer.";
    for (const auto& [key, text] : keys.WithPrefix(kPrefix)) {
        const std::string body = key.substr(kPrefix.size());
        if (body.empty() || !IsHexBytes(body) || body.find(' ') != std::string::npos) {
            keys.Problem(key, text, "the key does not end in hex bytes; ignored");
        } else if (!IsHexBytes(text) || text.empty()) {
            keys.Problem(key, text, "not hex bytes; ignored");
        } else {
            options.answers[HexTextToBytes(body)] = HexTextToBytes(text);
        }
    }
}

}  // namespace

TEmulatorOptions ParseEmulatorOptions(TSectionReader& keys) {
    TEmulatorOptions options;
    if (auto v = keys.Find("MenuTransfer")) {
        const std::string mode = Lower(*v);
        if (mode == "inline")
            options.menuTransfer = TMenuTransfer::Inline;
        else if (mode == "separate")
            options.menuTransfer = TMenuTransfer::Separate;
        else
            keys.Problem("MenuTransfer", *v, "not inline or separate; keeps inline");
    }
    keys.Integer("CleanMs", options.cleanMs, 0, kMaxUnsigned);
    keys.Integer("DeepCleanMs", options.deepCleanMs, 0, kMaxUnsigned);
    keys.Integer("RollerCleanMs", options.rollerCleanMs, 0, kMaxUnsigned);
    keys.Integer("HeadChangeMs", options.headChangeMs, 0, kMaxUnsigned);
    keys.Integer("BoxChangeMs", options.boxChangeMs, 0, kMaxUnsigned);
    keys.Integer("MeasureMs", options.measureMs, 0, kMaxUnsigned);
    keys.Flag("Busy", options.busy);
    keys.Flag("NoInkBox", options.noInkBox);
    keys.Flag("NoInkBoxAfterChange", options.noInkBoxAfterChange);
    keys.Flag("AllowLargeReplies", options.allowLargeReplies);
    keys.Flag("KeepStaleReplies", options.keepStaleReplies);
    if (auto n = keys.Integer("MuteAfterReplies", 0, kMaxUnsigned, "never mute"))
        options.muteAfterReplies = static_cast<std::uint32_t>(*n);
    keys.Integer("PassbookHeight", options.passbookHeight, 0, 0xFFFF);
    Unsigned(keys, "TotalPages", options.totalPages);
    Unsigned(keys, "InkBoxPages", options.inkBoxPages);
    if (auto n = keys.Integer("DryingTime", 0, 0xFFFF, "keeps 0"))
        options.dryingTime = static_cast<std::uint16_t>(*n);
    if (auto n = keys.Integer("Alignment", -0x8000, 0x7FFF, "keeps 0"))
        options.alignment = static_cast<std::int16_t>(*n);
    if (auto n = keys.Integer("AlignmentByte", -128, 0xFF, "keeps 0"))
        options.alignmentByte = static_cast<std::uint8_t>(*n & 0xFF);
    if (auto v = keys.Find("FeedModes")) options.feedModes = ParseModeBytes(keys, "FeedModes", *v);
    if (auto v = keys.Find("InkAdjust")) options.inkAdjust = ParseModeBytes(keys, "InkAdjust", *v);
    if (keys.Find("ScreenLocked")) {
        bool locked = true;
        keys.Flag("ScreenLocked", locked);
        options.screenLocked = locked;
    }
    if (keys.Find("PaperBoxLocked")) {
        bool locked = false;
        keys.Flag("PaperBoxLocked", locked);
        options.paperBoxLocked = locked;
    }
    Answers(keys, options);
    // Hex may give all 32 bits ("$FFFFFFFF" reads as -1): the seconds are unsigned.
    if (auto n = keys.Integer("ClockSeconds", INT32_MIN, INT32_MAX, "keeps host time"))
        options.clockSeconds = static_cast<std::uint32_t>(*n);
    if (auto v = keys.Find("HeadSerial")) {
        if (v->size() > 16) keys.Problem("HeadSerial", *v, "longer than 16 characters; cut");
        options.headSerial = v->substr(0, 16);
    }
    if (auto v = keys.Find("NoiseHex")) {
        if (!IsHexBytes(*v)) {
            keys.Problem("NoiseHex", *v, "not hex bytes; no noise");
        } else {
            TBytes noise = HexTextToBytes(*v);
            if (noise.size() > kReadAllLimit / 2) {
                keys.Problem("NoiseHex", *v,
                             "more than " + std::to_string(kReadAllLimit / 2) + " bytes; cut");
                noise.resize(kReadAllLimit / 2);
            }
            options.noise = std::move(noise);
        }
    }
    if (auto v = keys.Find("FirmwareVersion"))
        if (!ParseVersion(*v, options.firmware))
            keys.Problem("FirmwareVersion", *v, "not Vhhhh.hhhh; keeps V0102.0001");
    if (auto v = keys.Find("FirmwareDate"))
        if (!ParseDate(*v, options.firmware))
            keys.Problem("FirmwareDate", *v, "not YYYY-MM-DD; keeps 2023-07-27");
    if (auto v = keys.Find("FirmwareHex")) {
        if (!IsHexBytes(*v)) {
            keys.Problem("FirmwareHex", *v, "not hex bytes; ignored");
        } else {
            TBytes bytes = HexTextToBytes(*v);
            if (bytes.size() > 64) {
                keys.Problem("FirmwareHex", *v, "more than 64 bytes; cut");
                bytes.resize(64);
            }
            options.firmware = std::move(bytes);
        }
    }
    return options;
}

TEmulatorOptions ParseEmulatorOptions(const std::map<std::string, std::string>& extra,
                                      TConfigReport* report, const std::string& section) {
    TSectionReader keys(section, TSectionReader::TEntries(extra.begin(), extra.end()), report);
    TEmulatorOptions options = ParseEmulatorOptions(keys);
    keys.Finish();
    return options;
}

}  // namespace ps::emu
