// SPDX-License-Identifier: MIT
// The one place where Linux and CUPS errors become the Win32 error numbers the core compares.
#pragma once

#include <span>
#include <string>
#include <string_view>

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

/// Sets the thread's last-error value from errno and returns false.
bool FailWithErrno(int error);

/// Sets the last-error value and a text that says why `device` ("USB003 (/dev/usb/lp2)")
/// could not be opened and what to do: in use by another program (kErrorBusy), not attached
/// (kErrorFileNotFound), no right to open it (kErrorAccessDenied, with `accessRemedy`).
/// Returns false.
bool FailDeviceOpen(int error, std::string_view device, std::string_view accessRemedy);

/// What to do when the user may not open a device node of group `group` ("lp", "dialout"):
/// "add the user to the lp group (adduser NAME lp) and log in again", with the user's name.
std::string GroupRemedy(std::string_view group);

}  // namespace ps
