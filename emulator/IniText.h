// SPDX-License-Identifier: MIT
// INI files read by the emulator without a platform (the daemon has none).
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "base/IniFile.h"

namespace ps::emu {

/// The bytes of a file, or nothing when it cannot be read.
std::optional<std::string> ReadFileBytes(const std::filesystem::path& path);

/// Parses INI bytes: a byte-order mark decides the encoding, valid UTF-8 is taken as it is,
/// and in other 8-bit text each non-ASCII byte becomes '?' (keys, codes, hex texts and
/// numbers are ASCII, so no code page is needed).
TIniFile ParseIniBytes(const std::string& bytes);

/// ReadFileBytes and ParseIniBytes; a missing file gives an empty INI.
TIniFile ReadIniFile(const std::filesystem::path& path);

}  // namespace ps::emu
