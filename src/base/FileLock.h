// SPDX-License-Identifier: MIT
// An exclusive advisory lock on a file, honoured between processes and released when its holder
// goes (also when the process dies). One source per OS in os/.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "base/PathText.h"

namespace ps::fs {

class TFileLock {
public:
    enum class TResult {
        Taken,   // this object holds the lock
        Busy,    // another holder has it (another process, or another lock of this process)
        Failed,  // the lock file could not be made or opened (`error` says why)
    };

    /// Tries once, without waiting, to lock `path` exclusively. The file is made when missing
    /// and is never opened through a symbolic link. On Taken, `lock` holds it until destroyed.
    static TResult TryLock(const TFileName& path, std::unique_ptr<TFileLock>& lock,
                           std::string& error);

    /// TryLock again and again, a millisecond or two apart, for up to `limit`: for locks that
    /// are held only for a moment (a file read and rewritten). Busy when the time ran out.
    static TResult Lock(const std::filesystem::path& path, std::unique_ptr<TFileLock>& lock,
                        std::string& error, std::chrono::milliseconds limit);

    ~TFileLock();
    TFileLock(const TFileLock&) = delete;
    TFileLock& operator=(const TFileLock&) = delete;

private:
    explicit TFileLock(std::intptr_t handle) : m_Handle(handle) {}
    std::intptr_t m_Handle;
};

}  // namespace ps::fs
