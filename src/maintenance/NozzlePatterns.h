// SPDX-License-Identifier: MIT
// The nozzle-check patterns the program carries: raw printer data written to files of the
// pattern folder when the item dialog is created, and read back to be sent as a print job.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "base/Lib_String.h"

namespace ps {

struct TNozzlePattern {
    const char* resource;  // name of the carried data
    const char* fileName;  // its file in the pattern folder
};

/// The six patterns, in the dialog's order.
inline constexpr std::array<TNozzlePattern, 6> kNozzlePatterns = {{
    {"HoleCheck6A3C", "HoleCheck6A3C.prn"},
    {"HoleCheck6A3C_2", "HoleCheck6A3C_2.prn"},
    {"HoleCheckKV", "HoleCheckKV.prn"},
    {"HoleCheck4E17", "HoleCheck4E17.prn"},
    {"HoleCheck4D00", "HoleCheck4D00.prn"},
    {"HoleCheck7D05", "HoleCheck7D05.prn"},
}};

/// The carried bytes of a pattern (generated at build time); empty for an unknown name.
std::span<const std::uint8_t> NozzlePatternData(std::string_view resource);

/// The pattern folder: the user's temporary folder, the program file's name without its
/// extension, and a separator. Empty when the temporary folder cannot be used.
std::string NozzlePatternFolder();

/// Writes every pattern to the folder (created when missing), each through a temporary name
/// and a rename, replacing older files. Returns the full paths in table order; a pattern that
/// could not be written keeps its path (reading it back then fails).
std::array<std::string, kNozzlePatterns.size()> WriteNozzlePatternFiles();

/// A pattern file read back whole: nothing when it cannot be read or does not hold exactly the
/// carried pattern's size, so half a pattern is never printed.
std::optional<TBytes> ReadNozzlePatternFile(const std::string& path, std::string_view resource);

}  // namespace ps
