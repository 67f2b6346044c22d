// SPDX-License-Identifier: MIT
// Win32 errors into the thread's last-error value: the numbers unchanged (the core already
// speaks them), the words from the system.
#pragma once

#include <string>

#include "platform/PlatformTypes.h"
#include "platform/win32/Win32.h"

namespace ps::win32 {

/// Sets the thread's last-error value to `code` with the system's text for it; false.
bool Fail(DWORD code);

/// The same for the calling thread's GetLastError().
bool FailWithLastError();

/// Sets the last-error value to `code` with a text of our own before the system's.
bool Fail(DWORD code, const std::string& what);

}  // namespace ps::win32
