// SPDX-License-Identifier: MIT
// state.ini of an emulation directory: what the spooler remembers per printer between runs.
#pragma once

#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

namespace ps::emu {

/// Keyed reads and writes of state.ini; every write goes to the file at once, under the lock
/// state.lock beside it (other processes write their printers' keys too), every read sees the
/// file as it is now (a second process may have written it). Thread-safe.
class TEmulationState {
public:
    explicit TEmulationState(std::filesystem::path file) : m_File(std::move(file)) {}

    std::optional<std::string> Read(std::string_view section, std::string_view key);
    bool Write(std::string_view section, std::string_view key, std::string_view value);

    /// The section of a printer's state: "Printer:NAME".
    static std::string PrinterSection(std::string_view printerName);

private:
    std::filesystem::path m_File;
    std::mutex m_Mutex;
};

}  // namespace ps::emu
