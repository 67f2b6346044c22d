// SPDX-License-Identifier: MIT
// The Win32 headers of the backend, in the order they need, without the macros that would
// rename the interfaces' own methods (TKernel::GetTempPath) in the files that include both.
#pragma once

#include <windows.h>
// The headers below need the types of <windows.h>.
#include <setupapi.h>
#include <shellapi.h>
#include <winspool.h>

#undef GetTempPath
