// SPDX-License-Identifier: MIT
// The few file-system calls base needs beyond the standard library; one source per OS in os/.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace ps::fs {

/// What WriteNewFile did.
enum class TNewFileResult { Written, Exists, Failed };

/// Creates `path` exclusively (never opens a file or link that is already there), writes all of
/// `bytes`, flushes them to the disk and closes the file. On Exists nothing was touched; on
/// Failed the new file is removed again and `error` says why.
TNewFileResult WriteNewFile(const std::filesystem::path& path, std::string_view bytes,
                            std::string& error);

/// Puts `from` in place of `to` in one step, replacing what was there, and flushes the folder
/// entry. False with `error` set when the rename fails (`from` is then left as it is).
bool ReplaceFile(const std::filesystem::path& from, const std::filesystem::path& to,
                 std::string& error);

/// Removes a file; false when it could not be removed (a missing file is no failure).
bool RemoveFile(const std::filesystem::path& path);

/// This process's identifier, for names that must differ between instances.
std::uint64_t ProcessNumber();

/// True when standard error is a terminal (progress lines are for people, not for files).
bool StandardErrorIsTerminal();

}  // namespace ps::fs
