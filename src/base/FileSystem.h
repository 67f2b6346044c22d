// SPDX-License-Identifier: MIT
// The few file-system calls base needs beyond the standard library; one source per OS in os/.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ps::fs {

/// What WriteNewFile did.
enum class TNewFileResult { Written, Exists, Failed };

/// Creates `path` exclusively (never opens a file or link that is already there), writes all of
/// `bytes`, flushes them to the disk (unless `durable` is false: a scratch file) and closes the
/// file. On Exists nothing was touched; on Failed the new file is removed again and `error`
/// says why.
TNewFileResult WriteNewFile(const std::filesystem::path& path, std::string_view bytes,
                            std::string& error, bool durable = true);

/// Puts `from` in place of `to` in one step, replacing what was there, and flushes the folder
/// entry. False with `error` set when the rename fails (`from` is then left as it is).
bool ReplaceFile(const std::filesystem::path& from, const std::filesystem::path& to,
                 std::string& error);

/// How ReadRegularFile treats a symbolic link in the last part of the path.
enum class TFinalLink { Follow, Refuse };

/// What ReadRegularFile did.
enum class TReadFileResult { Read, Missing, Refused, Failed };

/// Reads a whole regular file of at most `maxBytes` into `bytes`. The file is opened without
/// blocking (a FIFO or a device never holds the caller up) and checked on the open descriptor:
/// anything but a regular file, or a longer one, is Refused; with TFinalLink::Refuse so is a
/// symbolic link in the last part of the path. A read that has not finished after `timeoutMs`
/// fails. `error` says why on anything but Read.
TReadFileResult ReadRegularFile(const std::filesystem::path& path, std::size_t maxBytes,
                                TFinalLink finalLink, std::uint32_t timeoutMs, std::string& bytes,
                                std::string& error);

/// Removes a file; false when it could not be removed (a missing file is no failure).
bool RemoveFile(const std::filesystem::path& path);

/// This process's identifier, for names that must differ between instances.
std::uint64_t ProcessNumber();

/// The value of an environment variable as UTF-8 (the wide environment on Windows); nothing
/// when it is not set.
std::optional<std::string> EnvironmentVariable(const char* name);

/// The program's arguments after its name, as UTF-8: on Windows from the wide command line (the
/// 8-bit `argv` there is in the ANSI code page, which cannot hold every printer name).
std::vector<std::string> CommandLineArguments(int argc, char** argv);

/// Standard output and error take bytes as they are written (no CR put before LF on Windows),
/// and a Windows console shows them as UTF-8; on other systems nothing changes.
void UseUtf8StandardStreams();

/// True when standard error is a terminal (progress lines are for people, not for files).
bool StandardErrorIsTerminal();

}  // namespace ps::fs
