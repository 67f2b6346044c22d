// SPDX-License-Identifier: MIT
// Picks the emulated or the native backend.
#include "platform/PlatformSelect.h"

#include <cstdlib>

#include "platform/Platform.h"
#include "platform/emulated/EmulatedPlatform.h"
#include "platform/linux/LinuxPlatform.h"

namespace ps {

void InstallDefaultPlatform() {
    // The native platform first: reading the emulation directory may need its kernel (text in
    // a legacy code page).
    InstallPlatform(MakeNativePlatform());
    const char* directory = std::getenv(kEmulationVariable);
    if (directory && *directory) InstallPlatform(emu::MakeEmulatedPlatform(directory));
}

}  // namespace ps
