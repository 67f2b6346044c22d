// SPDX-License-Identifier: MIT
// Writing single keys of an INI (profile) file the way the profile write routine does.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/PathText.h"

namespace ps {

/// Sets `key` of `section` to `value` in the INI text `text` and returns the new text. Every
/// other line is kept byte for byte. The first matching section and the first matching key
/// (names compared without regard to the case of A-Z, as the reader does) are changed; a
/// missing key is added after the section's last entry, a missing section at the end.
std::string SetIniValueInText(std::string_view text, std::string_view section, std::string_view key,
                              std::string_view value);

/// Sets one key in the file at `path`, keeping the file's other content and its encoding
/// (UTF-16 with a byte-order mark stays UTF-16). A missing file is created; a missing folder is
/// not, and gives false. The file is replaced through a temporary name and a rename.
bool WriteIniString(const TFileName& path, std::string_view section, std::string_view key,
                    std::string_view value);

/// Sets several keys of one section the same way, in one replacement of the file: readers see
/// all of them changed or none.
bool WriteIniStrings(const TFileName& path, std::string_view section,
                     const std::vector<std::pair<std::string, std::string>>& values);

/// WriteIniString with the value in decimal.
bool WriteIniInteger(const TFileName& path, std::string_view section, std::string_view key,
                     std::int32_t value);

}  // namespace ps
