// SPDX-License-Identifier: MIT
// Picks the emulated or the native backend.
#include "platform/PlatformSelect.h"

#include <filesystem>
#include <stdexcept>
#include <string>

#include "base/FileSystem.h"
#include "base/PathText.h"
#include "platform/NativeServices.h"
#include "platform/Platform.h"
#include "platform/emulated/EmulatedPlatform.h"

namespace ps {

void InstallDefaultPlatform() {
    // The native platform first: reading the emulation directory may need its kernel (text in
    // a legacy code page).
    InstallPlatform(MakeNativePlatform());
    const std::optional<std::string> directory = fs::EnvironmentVariable(kEmulationVariable);
    if (!directory || directory->empty()) return;
    // A mistyped directory would otherwise show as printers that do not exist.
    const std::filesystem::path folder = PathFromUtf8(*directory);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(folder / "emulation.ini", ec))
        throw std::runtime_error(std::string(kEmulationVariable) + " names " + *directory +
                                 ", which holds no emulation.ini");
    InstallPlatform(emu::MakeEmulatedPlatform(folder));
}

}  // namespace ps
