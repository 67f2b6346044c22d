// SPDX-License-Identifier: MIT
// The one place where Linux and CUPS errors become the Win32 error numbers the core compares.
#pragma once

#include <span>

#include "platform/PlatformTypes.h"

namespace ps {

/// One row of a conversion table: an error of the system below and its Win32 number.
struct TErrorMapping {
    int from;
    TSysError to;
};

/// errno values (open, read, write, poll, ioctl, connect ...). Unlisted: kErrorGenFailure.
std::span<const TErrorMapping> ErrnoMappings();
/// IPP status codes of a CUPS server's answer. Unlisted errors: kErrorGenFailure.
std::span<const TErrorMapping> IppStatusMappings();

TSysError SysErrorFromErrno(int error);
TSysError SysErrorFromIppStatus(int status);

/// Sets the thread's last-error value from errno (with an optional detail) and returns false.
bool FailWithErrno(int error);

}  // namespace ps
