// SPDX-License-Identifier: MIT
// Reading emulation.ini.
#include "platform/emulated/EmulationConfig.h"

#include <cctype>
#include <cstdio>

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

class TReader {
public:
    TReader(const TIniFile& ini, std::vector<std::string>* problems)
        : m_Ini(ini), m_pProblems(problems) {}

    std::int32_t Integer(std::string_view section, std::string_view key, std::int32_t def) {
        if (!m_Ini.ValueExists(section, key)) return def;
        std::string text = m_Ini.ReadString(section, key, "");
        if (auto value = TryStrToInt(text)) return *value;
        Problem(section, key, text);
        return def;
    }

    std::uint32_t Unsigned(std::string_view section, std::string_view key, std::uint32_t def) {
        std::int32_t value = Integer(section, key, static_cast<std::int32_t>(def));
        if (value >= 0) return static_cast<std::uint32_t>(value);
        Problem(section, key, std::to_string(value));
        return def;
    }

    bool Bool(std::string_view section, std::string_view key, bool def) {
        return Integer(section, key, def ? 1 : 0) != 0;
    }

    std::string String(std::string_view section, std::string_view key) {
        return m_Ini.ReadString(section, key, "");
    }

    void Problem(std::string_view section, std::string_view key, std::string_view text) {
        if (m_pProblems) {
            m_pProblems->push_back("[" + std::string(section) + "] " + std::string(key) + "=" +
                                   std::string(text) + " is not understood");
        }
    }

private:
    const TIniFile& m_Ini;
    std::vector<std::string>* m_pProblems;
};

TEmulatedPrinterConfig ReadPrinter(const TIniFile& ini, const std::string& section,
                                   const std::filesystem::path& directory, TReader& reader) {
    TEmulatedPrinterConfig printer;
    printer.name = section.substr(std::string_view("Printer:").size());
    printer.port = reader.String(section, "Port");
    printer.driverName = reader.String(section, "DriverName");
    printer.deviceId = reader.String(section, "Device");
    printer.workOffline = reader.Bool(section, "WorkOffline", false);
    printer.fullAccess = reader.Bool(section, "FullAccess", true);
    printer.monitor = reader.Bool(section, "Monitor", true);
    printer.monitorTimeoutMs = reader.Unsigned(section, "MonitorTimeoutMs", 3000);
    printer.queuedJobs = reader.Unsigned(section, "QueuedJobs", 0);

    std::string files = reader.String(section, "DependentFiles");
    std::size_t start = 0;
    while (start <= files.size() && !files.empty()) {
        std::size_t bar = files.find('|', start);
        if (bar == std::string::npos) bar = files.size();
        std::string_view entry = Trim(std::string_view(files).substr(start, bar - start));
        if (!entry.empty()) {
            printer.dependentFiles.push_back(ResolveEmulationPath(directory, entry).string());
        }
        start = bar + 1;
    }

    std::string fault = reader.String(section, "JobFault");
    if (SameTextNoCase(fault, "StartDoc")) {
        printer.jobFault = TJobFault::StartDoc;
    } else if (SameTextNoCase(fault, "StartPage")) {
        printer.jobFault = TJobFault::StartPage;
    } else if (SameTextNoCase(fault, "Write")) {
        printer.jobFault = TJobFault::Write;
    } else if (!fault.empty() && !SameTextNoCase(fault, "None")) {
        reader.Problem(section, "JobFault", fault);
    }

    for (const std::string& key : ini.KeyNames(section)) {
        if (!StartsWithNoCase(key, "Data.") || key.size() <= 5) continue;
        std::string text = ini.ReadString(section, key, "");
        if (auto value = ParsePrinterDataValue(text)) {
            printer.data.emplace(key.substr(5), *value);
        } else {
            reader.Problem(section, key, text);
        }
    }
    return printer;
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
    std::filesystem::path path(native);
    if (path.is_relative()) path = directory / path;
    return path.lexically_normal();
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
        problems->push_back(file.string() + " does not exist");
    }
    config.ini = TIniFile::FromFile(file, kConfigLanguage);
    TReader reader(config.ini, problems);

    std::string driverDir = reader.String("Spooler", "DriverDirectory");
    config.driverDirectory =
        ResolveEmulationPath(directory, driverDir.empty() ? "drivers" : driverDir);

    if (config.ini.ValueExists("Kernel", "LangId")) {
        config.langId = static_cast<std::uint16_t>(reader.Unsigned("Kernel", "LangId", 0x0409));
    }
    std::string tempDir = reader.String("Kernel", "TempDir");
    config.tempDir = ResolveEmulationPath(directory, tempDir.empty() ? "temp" : tempDir);
    config.sessionId = reader.Unsigned("Kernel", "SessionId", 1);
    if (config.ini.ValueExists("Kernel", "TimeZoneBias")) {
        config.timeZoneBias = reader.Integer("Kernel", "TimeZoneBias", 0);
    }
    std::string programPath = reader.String("Kernel", "ProgramPath");
    if (!programPath.empty()) {
        config.programPath = ResolveEmulationPath(directory, programPath).string();
    }
    config.vendorLibrary = reader.Bool("Kernel", "VendorLibrary", true);

    std::string speed = reader.String("Clock", "Speed");
    if (!speed.empty()) {
        try {
            std::size_t used = 0;
            double value = std::stod(speed, &used);
            if (used != speed.size() || !(value > 0)) throw std::invalid_argument(speed);
            config.clockSpeed = value;
        } catch (const std::exception&) {
            reader.Problem("Clock", "Speed", speed);
        }
    }

    config.virtualClock = reader.Bool("Clock", "Virtual", false);

    for (const std::string& section : config.ini.SectionNames()) {
        if (StartsWithNoCase(section, "Printer:") && section.size() > 8) {
            if (config.FindPrinter(std::string_view(section).substr(8))) continue;
            config.printers.push_back(ReadPrinter(config.ini, section, directory, reader));
        } else if (StartsWithNoCase(section, "Device:") && section.size() > 7) {
            config.deviceIds.push_back(section.substr(7));
        }
    }
    return config;
}

}  // namespace ps::emu
