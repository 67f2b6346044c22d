// SPDX-License-Identifier: MIT
// Reading emulation.ini.
#include "platform/emulated/EmulationConfig.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <stdexcept>

#include "base/PathText.h"
#include "emulator/ConfigReport.h"
#include "emulator/EmulatedDevice.h"

namespace ps::emu {
namespace {

constexpr std::uint16_t kConfigLanguage = 0x0409;  // the file is UTF-8 or UTF-16

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && SameTextNoCase(text.substr(0, prefix.size()), prefix);
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

TEmulatedPrinterConfig ReadPrinter(const std::string& section,
                                   const std::filesystem::path& directory, TSectionReader& keys) {
    TEmulatedPrinterConfig printer;
    printer.name = section.substr(std::string_view("Printer:").size());
    printer.port = keys.Text("Port");
    printer.driverName = keys.Text("DriverName");
    printer.deviceId = keys.Text("Device");
    keys.Flag("WorkOffline", printer.workOffline);
    keys.Flag("FullAccess", printer.fullAccess);
    keys.Flag("Monitor", printer.monitor);
    keys.Flag("DataReadFails", printer.dataReadFails);
    keys.Integer("MonitorTimeoutMs", printer.monitorTimeoutMs, 0, 0xFFFFFFFF);
    keys.Integer("QueuedJobs", printer.queuedJobs, 0, 0xFFFFFFFF);

    std::string files = keys.Text("DependentFiles");
    std::size_t start = 0;
    while (start <= files.size() && !files.empty()) {
        std::size_t bar = files.find('|', start);
        if (bar == std::string::npos) bar = files.size();
        std::string_view entry = Trim(std::string_view(files).substr(start, bar - start));
        if (!entry.empty()) {
            printer.dependentFiles.push_back(PathToUtf8(ResolveEmulationPath(directory, entry)));
        }
        start = bar + 1;
    }

    std::string fault = keys.Text("JobFault");
    if (SameTextNoCase(fault, "StartDoc")) {
        printer.jobFault = TJobFault::StartDoc;
    } else if (SameTextNoCase(fault, "StartPage")) {
        printer.jobFault = TJobFault::StartPage;
    } else if (SameTextNoCase(fault, "Write")) {
        printer.jobFault = TJobFault::Write;
    } else if (SameTextNoCase(fault, "ShortWrite")) {
        printer.jobFault = TJobFault::ShortWrite;
    } else if (SameTextNoCase(fault, "JobList")) {
        printer.jobFault = TJobFault::JobList;
    } else if (!fault.empty() && !SameTextNoCase(fault, "None")) {
        // The report keeps its first wording, which tools outside may match.
        keys.Problem("JobFault", fault, "not None, StartDoc, StartPage or Write; keeps None");
    }

    for (const auto& [key, text] : keys.WithPrefix("Data.")) {
        if (key.size() <= 5) {
            keys.Problem(key, text, "no value name after Data.; ignored");
        } else if (auto value = ParsePrinterDataValue(text)) {
            printer.data.emplace(key.substr(5), *value);
        } else {
            keys.Problem(key, text, "not a type and hex bytes (1 32003000); ignored");
        }
    }
    return printer;
}

// Sections other than those of printers and devices, and keys before any section.
void ReportUnknownSections(const TIniFile& ini, TConfigReport& report) {
    TSectionReader(ini, "", &report).Finish();
    for (const std::string& section : ini.SectionNames()) {
        const bool bKnown = SameTextNoCase(section, "Spooler") ||
                            SameTextNoCase(section, "Kernel") || SameTextNoCase(section, "Clock") ||
                            (StartsWithNoCase(section, "Printer:") && section.size() > 8) ||
                            (StartsWithNoCase(section, "Device:") && section.size() > 7);
        if (!bKnown) report.Section(section, "unknown section; ignored");
    }
}

}  // namespace

bool SameTextNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

std::optional<TPrinterDataValue> ParsePrinterDataValue(std::string_view text) {
    text = Trim(text);
    std::size_t blank = text.find(' ');
    auto type = TryStrToInt(text.substr(0, blank));
    if (!type || *type < 0) return std::nullopt;
    TPrinterDataValue value;
    value.type = static_cast<std::uint32_t>(*type);
    int high = -1;
    for (char c : blank == std::string_view::npos ? std::string_view() : text.substr(blank)) {
        if (c == ' ' || c == '\t') continue;
        int digit = HexDigit(c);
        if (digit < 0) return std::nullopt;
        if (high < 0) {
            high = digit;
        } else {
            value.bytes.push_back(static_cast<std::uint8_t>(high * 16 + digit));
            high = -1;
        }
    }
    if (high >= 0) return std::nullopt;
    return value;
}

std::string FormatPrinterDataValue(const TPrinterDataValue& value) {
    std::string text = std::to_string(value.type);
    if (!value.bytes.empty()) text += ' ';
    for (std::uint8_t byte : value.bytes) {
        char pair[3];
        std::snprintf(pair, sizeof pair, "%02X", byte);
        text += pair;
    }
    return text;
}

std::filesystem::path ResolveEmulationPath(const std::filesystem::path& directory,
                                           std::string_view text) {
    std::string native(text);
    for (char& c : native) {
        if (c == '\\' || c == '/')
            c = static_cast<char>(std::filesystem::path::preferred_separator);
    }
    std::filesystem::path path = PathFromUtf8(native);
    if (path.is_relative()) path = directory / path;
    return path.lexically_normal();
}

std::optional<std::int64_t> ParseEmulationDateTime(std::string_view text) {
    text = Trim(text);
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, used = 0;
    const std::string copy(text);
    const int fields = std::sscanf(copy.c_str(), "%4d-%2d-%2d%n %2d:%2d:%2d%n", &year, &month, &day,
                                   &used, &hour, &minute, &second, &used);
    if ((fields != 3 && fields != 6) || static_cast<std::size_t>(used) != copy.size())
        return std::nullopt;
    using namespace std::chrono;
    const year_month_day date{std::chrono::year{year}, std::chrono::month{unsigned(month)},
                              std::chrono::day{unsigned(day)}};
    if (!date.ok() || hour > 23 || minute > 59 || second > 59 || hour < 0 || minute < 0 ||
        second < 0)
        return std::nullopt;
    const auto days = sys_days(date).time_since_epoch().count();
    return static_cast<std::int64_t>(days) * 86400 + hour * 3600 + minute * 60 + second;
}

const TEmulatedPrinterConfig* TEmulationConfig::FindPrinter(std::string_view name) const {
    for (const auto& printer : printers) {
        if (SameTextNoCase(printer.name, name)) return &printer;
    }
    return nullptr;
}

TEmulationConfig LoadEmulationConfig(const std::filesystem::path& directory,
                                     std::vector<std::string>* problems) {
    TEmulationConfig config;
    config.directory = directory;
    auto file = directory / "emulation.ini";
    if (!std::filesystem::exists(file) && problems) {
        problems->push_back(PathToUtf8(file) + " does not exist");
    }
    config.ini = TIniFile::FromFile(file, kConfigLanguage);
    TConfigReport report;

    TSectionReader spooler(config.ini, "Spooler", &report);
    std::string driverDir = spooler.Text("DriverDirectory");
    config.driverDirectory =
        ResolveEmulationPath(directory, driverDir.empty() ? "drivers" : driverDir);
    spooler.Finish();

    TSectionReader kernel(config.ini, "Kernel", &report);
    if (auto langId = kernel.Integer("LangId", 0, 0xFFFF, "keeps the machine's"))
        config.langId = static_cast<std::uint16_t>(*langId);
    std::string tempDir = kernel.Text("TempDir");
    config.tempDir = ResolveEmulationPath(directory, tempDir.empty() ? "temp" : tempDir);
    kernel.Integer("SessionId", config.sessionId, 0, 0xFFFFFFFF);
    if (auto bias = kernel.Integer("TimeZoneBias", INT32_MIN, INT32_MAX, "keeps the machine's"))
        config.timeZoneBias = static_cast<std::int32_t>(*bias);
    std::string programPath = kernel.Text("ProgramPath");
    if (!programPath.empty()) {
        config.programPath = PathToUtf8(ResolveEmulationPath(directory, programPath));
    }
    kernel.Flag("VendorLibrary", config.vendorLibrary);
    kernel.Finish();

    TSectionReader clock(config.ini, "Clock", &report);
    if (auto speed = clock.Find("Speed"); speed && !speed->empty()) {
        try {
            std::size_t used = 0;
            double value = std::stod(*speed, &used);
            if (used != speed->size() || !(value > 0)) throw std::invalid_argument(*speed);
            config.clockSpeed = value;
        } catch (const std::exception&) {
            clock.Problem("Speed", *speed, "not a number above 0; keeps 1");
        }
    }
    clock.Flag("Virtual", config.virtualClock);
    if (auto text = clock.Find("LocalTime")) {
        config.localTime = ParseEmulationDateTime(*text);
        if (!config.localTime)
            clock.Problem("LocalTime", *text,
                          "not a date and time yyyy-mm-dd hh:nn:ss; keeps the machine's");
    }
    // A separator is one printable character that is no digit.
    auto separator = [&](std::string_view key, char def) {
        auto text = clock.Find(key);
        if (!text) return def;
        if (text->size() == 1 && std::isprint(static_cast<unsigned char>((*text)[0])) &&
            !std::isdigit(static_cast<unsigned char>((*text)[0])))
            return (*text)[0];
        clock.Problem(
            key, *text,
            "not one character other than a digit; keeps \"" + std::string(1, def) + "\"");
        return def;
    };
    config.dateSeparator = separator("DateSeparator", '/');
    config.timeSeparator = separator("TimeSeparator", ':');
    clock.Finish();

    for (const std::string& section : config.ini.SectionNames()) {
        if (StartsWithNoCase(section, "Printer:") && section.size() > 8) {
            if (config.FindPrinter(std::string_view(section).substr(8))) {
                report.Section(section, "a second section of this printer; ignored");
                continue;
            }
            TSectionReader keys(config.ini, section, &report);
            config.printers.push_back(ReadPrinter(section, directory, keys));
            keys.Finish();
        } else if (StartsWithNoCase(section, "Device:") && section.size() > 7) {
            const std::string id = section.substr(7);
            const bool bRepeated =
                std::any_of(config.deviceIds.begin(), config.deviceIds.end(),
                            [&](const std::string& known) { return SameTextNoCase(known, id); });
            if (bRepeated) {
                report.Section(section, "a second section of this device; ignored");
                continue;
            }
            config.deviceIds.push_back(id);
            // Devices are made on first use; their keys are checked now, at start.
            LoadDeviceConfig(config.ini, id, directory, &report);
        }
    }
    ReportUnknownSections(config.ini, report);

    // A printer's device that is not there is a typing mistake, not a printer without one.
    for (const auto& printer : config.printers) {
        if (printer.deviceId.empty()) continue;
        const bool bFound = std::any_of(
            config.deviceIds.begin(), config.deviceIds.end(),
            [&](const std::string& known) { return SameTextNoCase(known, printer.deviceId); });
        if (!bFound)
            report.Key("Printer:" + printer.name, "Device", printer.deviceId,
                       "no [Device:" + printer.deviceId + "] section; nothing answers");
    }

    if (problems) problems->insert(problems->end(), report.Lines().begin(), report.Lines().end());
    return config;
}

}  // namespace ps::emu
