// SPDX-License-Identifier: MIT
// state.ini reading and writing.
#include "PrinterState.h"

#include <cstdio>
#include <optional>

#include "IniText.h"
#include "base/AsciiText.h"
#include "base/IniFile.h"

namespace ps::emu {
namespace {

std::string Hex2(int code) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%02X", code & 0xFF);
    return buf;
}

void Line(std::string& out, std::string_view key, long long value) {
    out += key;
    out += '=';
    out += std::to_string(value);
    out += "\r\n";
}

std::optional<int> CodeFromKey(std::string_view key) {
    auto n = TryStrToInt("$" + std::string(key));
    if (!n || *n < 0 || *n > 0xFF || key.empty() || key.size() > 2) return std::nullopt;
    return *n;
}

template <typename T>
void ReadNumber(const TIniFile& ini, std::string_view section, std::string_view key, T& out) {
    if (!ini.ValueExists(section, key)) return;
    if (auto n = TryStrToInt(ini.ReadString(section, key, ""))) out = static_cast<T>(*n);
}

void ReadUnsigned(const TIniFile& ini, std::string_view section, std::string_view key,
                  std::uint32_t& out) {
    if (!ini.ValueExists(section, key)) return;
    if (auto n = ParseUnsigned32(ini.ReadString(section, key, ""))) out = *n;
}

void ReadByteMap(const TIniFile& ini, std::string_view section, std::string_view prefix,
                 std::map<int, std::uint8_t>& out) {
    for (const std::string& key : ini.KeyNames(section)) {
        if (key.size() <= prefix.size() || key.compare(0, prefix.size(), prefix) != 0) continue;
        auto code = CodeFromKey(std::string_view(key).substr(prefix.size()));
        auto n = TryStrToInt(ini.ReadString(section, key, ""));
        if (code && n) out[*code] = static_cast<std::uint8_t>(*n);
    }
}

}  // namespace

std::string FormatStateIni(const TPrinterState& s) {
    std::string out = "[Values]\r\n";
    for (const auto& [code, value] : s.values) Line(out, Hex2(code), value);
    out += "\r\n[Registers]\r\n";
    const TDeviceRegisters& r = s.registers;
    Line(out, "DryingTime", r.dryingTime);
    Line(out, "Alignment", r.alignment);
    Line(out, "AlignmentByte", r.alignmentByte);
    for (const auto& [mode, value] : r.feedModes) Line(out, "Feed" + Hex2(mode), value);
    for (const auto& [mode, value] : r.inkAdjust) Line(out, "InkAdjust" + Hex2(mode), value);
    out += "\r\n[Device]\r\n";
    Line(out, "TotalPages", s.totalPages);
    Line(out, "InkBoxPages", s.inkBoxPages);
    if (s.bClockKnown) {
        // Beyond 31 bits the reader needs the hex form.
        char buf[32];
        std::snprintf(buf, sizeof buf, s.clockSeconds > 0x7FFFFFFFu ? "0x%08X" : "%u",
                      static_cast<unsigned>(s.clockSeconds));
        out += "ClockSeconds=";
        out += buf;
        out += "\r\n";
    }
    Line(out, "ScreenLocked", s.bScreenLocked ? 1 : 0);
    Line(out, "PaperBoxLocked", s.bPaperBoxLocked ? 1 : 0);
    out += "HeadSerial=\"" + s.headSerial + "\"\r\n";
    out += std::string("ChangeMode=") + ChangeModeName(s.changeMode) + "\r\n";
    out += "\r\n[Counters]\r\n";
    for (const auto& [name, count] : s.counters) Line(out, name, count);
    return out;
}

void ParseStateIni(std::string_view text, TPrinterState& s) {
    const TIniFile ini = TIniFile::FromText(text);
    for (const std::string& key : ini.KeyNames("Values")) {
        auto code = CodeFromKey(key);
        auto n = TryStrToInt(ini.ReadString("Values", key, ""));
        if (code && n) s.values[*code] = *n;
    }
    TDeviceRegisters& r = s.registers;
    ReadNumber(ini, "Registers", "DryingTime", r.dryingTime);
    ReadNumber(ini, "Registers", "Alignment", r.alignment);
    ReadNumber(ini, "Registers", "AlignmentByte", r.alignmentByte);
    ReadByteMap(ini, "Registers", "Feed", r.feedModes);
    ReadByteMap(ini, "Registers", "InkAdjust", r.inkAdjust);
    ReadUnsigned(ini, "Device", "TotalPages", s.totalPages);
    ReadUnsigned(ini, "Device", "InkBoxPages", s.inkBoxPages);
    if (ini.ValueExists("Device", "ClockSeconds")) {
        if (auto n = TryStrToInt(ini.ReadString("Device", "ClockSeconds", ""))) {
            s.clockSeconds = static_cast<std::uint32_t>(*n);
            s.bClockKnown = true;
        }
    }
    int flag = s.bScreenLocked ? 1 : 0;
    ReadNumber(ini, "Device", "ScreenLocked", flag);
    s.bScreenLocked = flag != 0;
    flag = s.bPaperBoxLocked ? 1 : 0;
    ReadNumber(ini, "Device", "PaperBoxLocked", flag);
    s.bPaperBoxLocked = flag != 0;
    if (ini.ValueExists("Device", "HeadSerial"))
        s.headSerial = ini.ReadString("Device", "HeadSerial", "");
    const std::string mode = ini.ReadString("Device", "ChangeMode", "");
    for (TChangeMode m : {TChangeMode::None, TChangeMode::Head, TChangeMode::Box})
        if (SameTextNoCase(mode, ChangeModeName(m))) s.changeMode = m;
    for (const std::string& key : ini.KeyNames("Counters")) {
        auto n = TryStrToInt(ini.ReadString("Counters", key, ""));
        if (n && *n >= 0) s.counters[key] = static_cast<std::uint32_t>(*n);
    }
}

const char* ChangeModeName(TChangeMode mode) {
    switch (mode) {
        case TChangeMode::Head:
            return "Head";
        case TChangeMode::Box:
            return "Box";
        case TChangeMode::None:
            break;
    }
    return "None";
}

}  // namespace ps::emu
