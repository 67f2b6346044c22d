// SPDX-License-Identifier: MIT
// The emulation directory's emulation.ini: the printers the spooler knows, the kernel's answers,
// the clock speed, and the devices behind the ports.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "base/IniFile.h"

namespace ps::emu {

/// A printer data value: its type and raw bytes.
struct TPrinterDataValue {
    std::uint32_t type = 0;
    std::vector<std::uint8_t> bytes;
};

/// "<type> <hex bytes>" (blanks between pairs allowed), the form printer data is kept in.
std::optional<TPrinterDataValue> ParsePrinterDataValue(std::string_view text);
std::string FormatPrinterDataValue(const TPrinterDataValue& value);

/// Spooler job faults of a printer ("JobFault=").
enum class TJobFault {
    None,
    StartDoc,
    StartPage,
    Write,
    ShortWrite,  // a job's write reports success with half of the data taken
    JobList      // the job enumeration fails
};

/// One "[Printer:NAME]" section.
struct TEmulatedPrinterConfig {
    std::string name;
    std::string port;                         // "Port="
    std::string driverName;                   // "DriverName=" (empty: no driver installed)
    std::vector<std::string> dependentFiles;  // "DependentFiles=" a|b|c, made absolute
    std::string deviceId;                     // "Device=" (empty: nothing answers)
    bool workOffline = false;                 // "WorkOffline=1"
    bool fullAccess = true;                   // "FullAccess=0": full-access opens fail
    bool monitor = true;                      // "Monitor=0": no vendor port monitor
    std::uint32_t monitorTimeoutMs = 3000;    // "MonitorTimeoutMs=": wait for a reply
    std::uint32_t queuedJobs = 0;             // "QueuedJobs="
    TJobFault jobFault = TJobFault::None;  // "JobFault=StartDoc|StartPage|Write|ShortWrite|JobList"
    bool dataReadFails = false;            // "DataReadFails=1": printer data reads fail
    std::map<std::string, TPrinterDataValue> data;  // "Data.NAME=" first printer data
};

struct TEmulationConfig {
    std::filesystem::path directory;
    TIniFile ini;  // the whole file, for the device sections

    // [Spooler]
    std::filesystem::path driverDirectory;  // "DriverDirectory=" (default "drivers")

    // [Kernel]
    std::optional<std::uint16_t> langId;       // "LangId=" (default: this machine's)
    std::filesystem::path tempDir;             // "TempDir=" (default "temp")
    std::uint32_t sessionId = 1;               // "SessionId="
    std::optional<std::int32_t> timeZoneBias;  // "TimeZoneBias=" minutes (default: machine's)
    std::string programPath;                   // "ProgramPath=" (default: the real one)
    bool vendorLibrary = true;                 // "VendorLibrary=0": the library is missing

    // [Clock]
    double clockSpeed = 1.0;    // "Speed="
    bool virtualClock = false;  // "Virtual=1": time passes only by sleeping (TVirtualClock)
    std::optional<std::int64_t> localTime;  // "LocalTime=yyyy-mm-dd hh:nn:ss" at clock 0,
                                            // as seconds since 1970-01-01 00:00:00
    char dateSeparator = '/';               // "DateSeparator="
    char timeSeparator = ':';               // "TimeSeparator="

    std::vector<TEmulatedPrinterConfig> printers;  // in file order
    std::vector<std::string> deviceIds;            // "[Device:ID]" sections in file order

    /// The printer with this name (letter case ignored), or nullptr.
    const TEmulatedPrinterConfig* FindPrinter(std::string_view name) const;
};

/// Reads `directory`/emulation.ini. A missing file gives an empty emulation; anything that
/// cannot be understood (device sections included, although devices are made on first use)
/// is described in `problems`, one line each, and left at its default.
TEmulationConfig LoadEmulationConfig(const std::filesystem::path& directory,
                                     std::vector<std::string>* problems = nullptr);

/// A path from the emulation files: "\" and "/" both separate, relative paths are taken from
/// `directory`.
std::filesystem::path ResolveEmulationPath(const std::filesystem::path& directory,
                                           std::string_view text);

/// "yyyy-mm-dd hh:nn:ss" (or "yyyy-mm-dd") as seconds since 1970-01-01 00:00:00; nothing
/// when it is no valid date and time.
std::optional<std::int64_t> ParseEmulationDateTime(std::string_view text);

/// ASCII comparison without regard to letter case.
bool SameTextNoCase(std::string_view a, std::string_view b);

}  // namespace ps::emu
