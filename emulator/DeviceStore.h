// SPDX-License-Identifier: MIT
// The emulated printer's files in its state folder: state.ini, commands.log, events.log and
// the printed jobs under printed/.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "PrinterState.h"

namespace ps::emu {

class TDeviceStore {
public:
    explicit TDeviceStore(std::filesystem::path stateDir);

    const std::filesystem::path& Directory() const { return m_Dir; }

    /// Reads state.ini into `state`; false when there is none.
    bool LoadState(TPrinterState& state) const;
    /// Stores what changed from `base` to `ours` (see MergeState) into state.ini as it is now,
    /// under the folder's lock (state.lock), so that another process storing the same printer
    /// at once loses nothing. The file is replaced through a temporary file. `problem` says why
    /// the lock could not be had, when the state was stored without it.
    bool SaveChanges(const TPrinterState& base, const TPrinterState& ours, bool bClockSet,
                     std::string& problem) const;

    /// One commands.log line: the route, a blank, the bytes as upper-case hex pairs.
    void LogCommand(std::string_view route, std::span<const std::uint8_t> data);
    void LogEvents(const std::vector<std::string>& events);

    /// Stores a job as printed/NNN-NAME.bin and returns its path.
    std::optional<std::filesystem::path> SavePrinted(std::string_view jobName,
                                                     std::span<const std::uint8_t> data);

    /// The commands.log line of a transmission (route characters below blank become '?').
    static std::string CommandLine(std::string_view route, std::span<const std::uint8_t> data);
    /// A job name made safe as part of a file name.
    static std::string SafeFileName(std::string_view name);

private:
    void Append(const char* file, const std::string& text);

    std::filesystem::path m_Dir;
    unsigned m_NextJob = 1;
};

}  // namespace ps::emu
