// SPDX-License-Identifier: MIT
// Printer data values ("TimeData") of CUPS queues: CUPS keeps none, so they are kept per user
// in one INI file, a section per queue, replaced through a rename on every write.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

#include "platform/PlatformTypes.h"

namespace ps {

class TPrinterDataStore {
public:
    explicit TPrinterDataStore(std::filesystem::path file) : m_File(std::move(file)) {}

    /// $XDG_STATE_HOME/printer-settings/printer-data.ini, with ~/.local/state when the variable
    /// is unset or not absolute; empty when neither is known.
    static std::filesystem::path DefaultFile();

    /// As TPrinterHandle::GetData: kErrorFileNotFound when the value is not there,
    /// kErrorMoreData (type and needed set) when the buffer is too small.
    TSysError Get(const std::string& queue, const std::string& valueName, std::uint32_t& type,
                  std::span<std::uint8_t> buffer, std::uint32_t& needed) const;
    /// Stores a value (at most 1024 bytes; names without line ends, '=' or brackets). The file
    /// is read, changed and replaced while its lock file (FILE.lock) is held, so writes of two
    /// programs at once both stay; kErrorBusy when the lock stays taken for 5 seconds.
    TSysError Set(const std::string& queue, const std::string& valueName, std::uint32_t type,
                  std::span<const std::uint8_t> data) const;

    const std::filesystem::path& File() const { return m_File; }

private:
    std::filesystem::path m_File;
};

}  // namespace ps
