// SPDX-License-Identifier: MIT
// Picks the emulated or the native backend.
#include "platform/PlatformSelect.h"

#include <cstdlib>

#include "platform/Platform.h"
#include "platform/emulated/EmulatedPlatform.h"
#include "platform/linux/LinuxPlatform.h"

namespace ps {

void InstallDefaultPlatform() {
    const char* directory = std::getenv(kEmulationVariable);
    if (directory && *directory) {
        InstallPlatform(emu::MakeEmulatedPlatform(directory));
    } else {
        InstallPlatform(MakeNativePlatform());
    }
}

}  // namespace ps
