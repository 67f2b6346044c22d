// SPDX-License-Identifier: MIT
// Write-then-rename file replacement.
#include "base/AtomicFile.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>

#include "base/FileSystem.h"

namespace ps {
namespace {

// "<name>.<pid>-<count>-<stir>.tmp": the process number keeps two instances apart, the counter
// two threads, and the stir a process that reuses an earlier one's number after a crash.
std::filesystem::path TemporaryName(const std::filesystem::path& path, unsigned attempt) {
    static std::atomic<std::uint64_t> counter{0};
    const auto stir =
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    char suffix[80];
    std::snprintf(suffix, sizeof suffix, ".%llu-%llu-%llx%x.tmp",
                  static_cast<unsigned long long>(fs::ProcessNumber()),
                  static_cast<unsigned long long>(counter++),
                  static_cast<unsigned long long>(stir & 0xFFFFFFFFu), attempt);
    std::filesystem::path temp = path;
    temp += suffix;
    return temp;
}

}  // namespace

bool WriteFileAtomically(const TFileName& path, std::string_view bytes) {
    std::string error;
    return WriteFileAtomically(path, bytes, error);
}

bool WriteFileAtomically(const TFileName& name, std::string_view bytes, std::string& error) {
    const std::filesystem::path& path = name.Path();
    for (unsigned attempt = 0; attempt < 16; ++attempt) {
        const std::filesystem::path temp = TemporaryName(path, attempt);
        switch (fs::WriteNewFile(temp, bytes, error)) {
            case fs::TNewFileResult::Exists:
                continue;  // someone else's: take another name
            case fs::TNewFileResult::Failed:
                return false;
            case fs::TNewFileResult::Written:
                break;
        }
        if (fs::ReplaceFile(temp, path, error)) return true;
        fs::RemoveFile(temp);
        return false;
    }
    error =
        "cannot create a temporary file beside \"" + PathToUtf8(path) + "\": every name is taken";
    return false;
}

}  // namespace ps
