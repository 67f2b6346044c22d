// SPDX-License-Identifier: MIT
// Picks the emulated or the native backend.
#include "platform/PlatformSelect.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

#include "platform/NativeServices.h"
#include "platform/Platform.h"
#include "platform/emulated/EmulatedPlatform.h"

namespace ps {

void InstallDefaultPlatform() {
    // The native platform first: reading the emulation directory may need its kernel (text in
    // a legacy code page).
    InstallPlatform(MakeNativePlatform());
    const char* directory = std::getenv(kEmulationVariable);
    if (!directory || !*directory) return;
    // A mistyped directory would otherwise show as printers that do not exist.
    std::error_code ec;
    if (!std::filesystem::is_regular_file(std::filesystem::path(directory) / "emulation.ini", ec))
        throw std::runtime_error(std::string(kEmulationVariable) + " names " + directory +
                                 ", which holds no emulation.ini");
    InstallPlatform(emu::MakeEmulatedPlatform(directory));
}

}  // namespace ps
