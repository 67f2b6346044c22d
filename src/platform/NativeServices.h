// SPDX-License-Identifier: MIT
// The machine's own backend, as the selector and other backends (the emulated one) see it.
// Each native backend (linux, win32) defines these; CMake compiles in the one of the machine.
#pragma once

#include <memory>

#include "platform/Platform.h"

namespace ps {

/// The platform of this machine (the backend CMake compiled in for it).
std::unique_ptr<TPlatform> MakeNativePlatform();

/// The kernel services of this machine.
std::unique_ptr<TKernel> MakeNativeKernel();

/// This process's identifier.
int NativeProcessId();

/// True when a process with this identifier is running.
bool NativeProcessIsRunning(int pid);

}  // namespace ps
