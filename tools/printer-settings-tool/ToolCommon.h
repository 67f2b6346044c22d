// SPDX-License-Identifier: MIT
// Shared pieces of the printer-settings-tool commands.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace ps::tool {

/// Exit codes of the tool.
inline constexpr int kExitOk = 0;
inline constexpr int kExitUsage = 1;
inline constexpr int kExitLoadError = 2;
inline constexpr int kExitProblems = 3;

/// Bad command-line use; main prints the text and the usage and exits with kExitUsage.
class EUsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// Removes "--lang CN|CHT|EN|JP" or "--langid 0xNNNN" from args and returns the language
/// identifier they stand for. Throws EUsageError on a bad value.
std::optional<std::uint16_t> TakeLanguageOption(std::vector<std::string>& args);

/// The language identifier standing for a suffix ("CN" -> 0x0804 ...); nothing if unknown.
std::optional<std::uint16_t> LangIdFromSuffix(const std::string& suffix);

/// Makes the given language the system language for the rest of the run (string table, INI
/// code pages, localised keys). Without one the system's own language stays.
void ApplySystemLanguage(std::optional<std::uint16_t> langId);

}  // namespace ps::tool
