// SPDX-License-Identifier: MIT
// File locks on Windows: LockFileEx on a handle of the file, which the system releases when the
// handle closes, also when the process dies.
#include <windows.h>

#include "base/FileLock.h"
#include "base/PathText.h"
#include "base/os/Win32Text.h"

namespace ps::fs {

TFileLock::TResult TFileLock::TryLock(const TFileName& name, std::unique_ptr<TFileLock>& lock,
                                      std::string& error) {
    const std::filesystem::path& path = name.Path();
    // A reparse point (a link) is opened as itself and then refused, never followed.
    HANDLE file =
        CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        error = "cannot open \"" + PathToUtf8(path) + "\": " + Win32ErrorText(GetLastError());
        return TResult::Failed;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(file, &info) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        CloseHandle(file);
        error = "cannot lock \"" + PathToUtf8(path) + "\": it is a link";
        return TResult::Failed;
    }
    // Byte locks belong to the handle: another handle, in this process or another, is refused
    // while this one holds the lock.
    OVERLAPPED whole{};
    if (!LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &whole)) {
        const DWORD code = GetLastError();
        CloseHandle(file);
        if (code == ERROR_LOCK_VIOLATION || code == ERROR_IO_PENDING) return TResult::Busy;
        error = "cannot lock \"" + PathToUtf8(path) + "\": " + Win32ErrorText(code);
        return TResult::Failed;
    }
    lock.reset(new TFileLock(reinterpret_cast<std::intptr_t>(file)));
    return TResult::Taken;
}

TFileLock::~TFileLock() {
    CloseHandle(reinterpret_cast<HANDLE>(m_Handle));  // closing releases the lock
}

}  // namespace ps::fs
