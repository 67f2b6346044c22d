// SPDX-License-Identifier: MIT
// INI files read by the emulator without a platform (the daemon has none).
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "base/IniFile.h"

namespace ps::emu {

/// The bytes of a file, or nothing when it cannot be read.
std::optional<std::string> ReadFileBytes(const std::filesystem::path& path);

/// Parses INI bytes: a byte-order mark decides the encoding, valid UTF-8 is taken as it is,
/// and in other 8-bit text each non-ASCII byte becomes '?' (keys, codes, hex texts and
/// numbers are ASCII, so no code page is needed).
TIniFile ParseIniBytes(const std::string& bytes);

/// An unsigned 32-bit number: decimal up to 4294967295, or "$" / "0x" hex of up to 8 digits.
std::optional<std::uint32_t> ParseUnsigned32(std::string_view text);

/// ReadFileBytes and ParseIniBytes; a missing file gives an empty INI.
TIniFile ReadIniFile(const std::filesystem::path& path);

}  // namespace ps::emu
