// SPDX-License-Identifier: MIT
// Waiting for a file lock, on top of each OS's TryLock.
#include "base/FileLock.h"

#include <thread>

namespace ps::fs {

TFileLock::TResult TFileLock::Lock(const std::filesystem::path& path,
                                   std::unique_ptr<TFileLock>& lock, std::string& error,
                                   std::chrono::milliseconds limit) {
    const auto until = std::chrono::steady_clock::now() + limit;
    for (;;) {
        const TResult result = TryLock(path, lock, error);
        if (result != TResult::Busy || std::chrono::steady_clock::now() >= until) return result;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

}  // namespace ps::fs
