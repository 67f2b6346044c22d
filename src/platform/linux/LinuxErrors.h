// SPDX-License-Identifier: MIT
// The one place where Linux and CUPS errors become the Win32 error numbers the core compares.
#pragma once

#include <span>
#include <string>

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

/// Sets the last-error value for a printer device node that did not open with `error`, with a
/// text that says what to do: in use by another program (EBUSY), no right to open it (the lp
/// group), or the system's reason. Returns false.
bool FailToOpenDevice(int error, const std::string& path);

}  // namespace ps
