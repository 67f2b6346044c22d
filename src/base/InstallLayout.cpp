// SPDX-License-Identifier: MIT
// The shipped files' folder, relative to the program's own folder.
#include "base/InstallLayout.h"

#include <system_error>

#include "base/ProgramPlace.h"

#ifndef PS_DATA_FROM_BIN
#error "PS_DATA_FROM_BIN names the data folder relative to the programs' folder"
#endif

namespace ps {

std::filesystem::path FindDataFolder(const std::filesystem::path& executable) {
    if (executable.empty()) return {};
    const std::filesystem::path relative(PS_DATA_FROM_BIN);
    std::filesystem::path folder = executable.parent_path();
    // The install layout first; a build tree keeps its programs one folder deeper at most.
    for (int depth = 0; depth < 2 && !folder.empty(); ++depth) {
        std::error_code ec;
        const std::filesystem::path candidate = (folder / relative).lexically_normal();
        if (std::filesystem::is_directory(candidate, ec)) return candidate;
        folder = folder.parent_path();
    }
    return {};
}

std::filesystem::path ProgramDataFolder() {
    return FindDataFolder(fs::ExecutablePath());
}

}  // namespace ps
