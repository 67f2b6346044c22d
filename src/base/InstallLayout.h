// SPDX-License-Identifier: MIT
// Where the files shipped with the programs lie, found from the program's own place.
#pragma once

#include <filesystem>

namespace ps {

/// The folder of the files shipped with the programs (schemes, the demo emulation directory,
/// the local options of the windows) for a program at `executable`: PREFIX/share/printer-settings
/// for a program in PREFIX/bin; for a program one or two folders below a build folder, the
/// build folder's share/printer-settings, which the build fills. Empty when neither exists.
std::filesystem::path FindDataFolder(const std::filesystem::path& executable);

/// FindDataFolder of the running program.
std::filesystem::path ProgramDataFolder();

}  // namespace ps
