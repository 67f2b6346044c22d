// SPDX-License-Identifier: MIT
// Write-then-rename file replacement.
#include "base/AtomicFile.h"

#include <atomic>
#include <cstdio>
#include <string>

namespace ps {

bool WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes) {
    static std::atomic<unsigned> counter{0};
    std::filesystem::path temp = path;
    temp += ".tmp" + std::to_string(counter++);
    std::FILE* file = std::fopen(temp.string().c_str(), "wb");
    if (!file) return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    ok = (std::fflush(file) == 0) && ok;
    ok = (std::fclose(file) == 0) && ok;
    std::error_code ec;
    if (ok) std::filesystem::rename(temp, path, ec);
    if (!ok || ec) {
        std::filesystem::remove(temp, ec);
        return false;
    }
    return true;
}

}  // namespace ps
