// SPDX-License-Identifier: MIT
// Picks the emulated or the native backend.
#include "platform/PlatformSelect.h"

#include "platform/Platform.h"
#include "platform/linux/LinuxPlatform.h"

namespace ps {

void InstallDefaultPlatform() { InstallPlatform(MakeNativePlatform()); }

}  // namespace ps
