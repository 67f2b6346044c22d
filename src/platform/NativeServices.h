// SPDX-License-Identifier: MIT
// Pieces of the machine's own backend that other backends (the emulated one) build on.
#pragma once

#include <memory>

#include "platform/Platform.h"

namespace ps {

/// The kernel services of this machine.
std::unique_ptr<TKernel> MakeNativeKernel();

/// This process's identifier.
int NativeProcessId();

/// True when a process with this identifier is running.
bool NativeProcessIsRunning(int pid);

}  // namespace ps
