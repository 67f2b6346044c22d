// SPDX-License-Identifier: MIT
// state.ini reads and single-key writes.
#include "platform/emulated/EmulatedState.h"

#include <chrono>

#include "base/FileLock.h"
#include "base/IniFile.h"
#include "base/IniWriter.h"

namespace ps::emu {

std::optional<std::string> TEmulationState::Read(std::string_view section, std::string_view key) {
    std::lock_guard lock(m_Mutex);
    TIniFile ini = TIniFile::FromFile(m_File, 0x0409);
    if (!ini.ValueExists(section, key)) return std::nullopt;
    return ini.ReadString(section, key, "");
}

bool TEmulationState::Write(std::string_view section, std::string_view key,
                            std::string_view value) {
    std::lock_guard lock(m_Mutex);
    // Another program on another printer of the directory may rewrite the file at the same
    // moment; the lock keeps either from undoing the other's key. Without it (none to be had
    // within the limit) the key is still written.
    std::unique_ptr<fs::TFileLock> fileLock;
    std::string error;
    std::filesystem::path lockPath = m_File;
    fs::TFileLock::Lock(lockPath.replace_extension(".lock"), fileLock, error,
                        std::chrono::milliseconds(5000));
    return WriteIniString(m_File, section, key, value);
}

std::string TEmulationState::PrinterSection(std::string_view printerName) {
    return "Printer:" + std::string(printerName);
}

}  // namespace ps::emu
