// SPDX-License-Identifier: MIT
// Chooses the platform backend at start.
#pragma once

#include "platform/PlatformTypes.h"

namespace ps {

/// Installs the emulated platform when PRINTER_SETTINGS_EMULATION is set, else the native one.
/// Throws std::runtime_error when the variable names a folder without emulation.ini.
void InstallDefaultPlatform();

}  // namespace ps
