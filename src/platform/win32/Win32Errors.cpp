// SPDX-License-Identifier: MIT
// Win32 errors into the thread's last-error value.
#include "platform/win32/Win32Errors.h"

#include "base/os/Win32Text.h"

namespace ps::win32 {

bool Fail(DWORD code) {
    SetThreadLastError(code, Win32ErrorText(code));
    return false;
}

bool FailWithLastError() {
    const DWORD code = GetLastError();
    return Fail(code == ERROR_SUCCESS ? ERROR_GEN_FAILURE : code);
}

bool Fail(DWORD code, const std::string& what) {
    SetThreadLastError(code, what + ": " + Win32ErrorText(code));
    return false;
}

}  // namespace ps::win32
