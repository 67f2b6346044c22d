// SPDX-License-Identifier: MIT
// Chooses the platform backend at start.
#pragma once

namespace ps {

/// Environment variable naming an emulation directory; when set, the emulated platform runs.
inline constexpr const char* kEmulationVariable = "PRINTER_SETTINGS_EMULATION";

/// Installs the emulated platform when PRINTER_SETTINGS_EMULATION is set, else the native one.
/// Throws std::runtime_error when the variable names a folder without emulation.ini.
void InstallDefaultPlatform();

}  // namespace ps
