// SPDX-License-Identifier: MIT
// The vendor's USB port library RUZ_EV.DLL, when it is installed: its seven functions through
// one table, the thread's Win32 last-error value carried into the program's.
#pragma once

#include <memory>
#include <string>

#include "platform/Platform.h"

namespace ps::win32 {

/// The file name the library is installed under.
inline constexpr const wchar_t* kVendorUsbDllName = L"RUZ_EV.DLL";

/// Loads `fileName` from the program's folder or the system's folders (never the current
/// folder) and takes its seven functions. Nothing (last-error value set: ERROR_MOD_NOT_FOUND
/// when it is not there, ERROR_PROC_NOT_FOUND when a function is missing, ERROR_BAD_EXE_FORMAT
/// for a library built for another processor) otherwise.
std::unique_ptr<TVendorUsbLibrary> LoadVendorUsbDll(const wchar_t* fileName = kVendorUsbDllName);

}  // namespace ps::win32
