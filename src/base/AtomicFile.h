// SPDX-License-Identifier: MIT
// Files the program produces are written to a temporary name and renamed, so a crash or a
// failed write never leaves half a file.
#pragma once

#include <filesystem>
#include <string_view>

namespace ps {

/// Writes `bytes` to `path` through a temporary file in the same folder and a rename.
/// Returns false (and leaves no temporary file) when any step fails.
bool WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes);

}  // namespace ps
