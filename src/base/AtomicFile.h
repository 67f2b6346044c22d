// SPDX-License-Identifier: MIT
// Files the program produces are written to a temporary name and renamed, so a crash or a
// failed write never leaves half a file.
#pragma once

#include <string>
#include <string_view>

#include "base/PathText.h"

namespace ps {

/// Writes `bytes` to `path` through a temporary file in the same folder and a rename. The
/// temporary name is new (created exclusively, with a suffix unique to this process and call)
/// and its bytes are on the disk before the rename, so two writers at once leave one of their
/// files whole and a crash leaves the old file or the new one. Returns false (and leaves no
/// temporary file) when any step fails; `error` then says which.
bool WriteFileAtomically(const TFileName& path, std::string_view bytes);
bool WriteFileAtomically(const TFileName& path, std::string_view bytes, std::string& error);

}  // namespace ps
