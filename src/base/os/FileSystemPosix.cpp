// SPDX-License-Identifier: MIT
// File-system calls of base on POSIX systems: exclusive create, write all, fsync, rename.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "base/FileSystem.h"

namespace ps::fs {
namespace {

std::string ErrnoText(const char* step, const std::filesystem::path& path) {
    return std::string(step) + " \"" + path.string() + "\": " + std::strerror(errno);
}

// Flushes a folder's entries, so a rename inside it survives a crash. Best effort: some file
// systems refuse fsync on folders.
void SyncFolder(const std::filesystem::path& folder) {
    const std::string name = folder.empty() ? std::string(".") : folder.string();
    int fd = ::open(name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

TNewFileResult WriteNewFile(const std::filesystem::path& path, std::string_view bytes,
                            std::string& error, bool durable) {
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
    if (fd < 0) {
        if (errno == EEXIST) return TNewFileResult::Exists;
        error = ErrnoText("cannot create", path);
        return TNewFileResult::Failed;
    }
    const char* data = bytes.data();
    std::size_t left = bytes.size();
    bool ok = true;
    while (ok && left > 0) {
        ssize_t n = ::write(fd, data, left);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n == 0) errno = EIO;
            error = ErrnoText("cannot write", path);
            ok = false;
            break;
        }
        data += n;
        left -= static_cast<std::size_t>(n);
    }
    if (ok && durable && ::fsync(fd) != 0) {
        error = ErrnoText("cannot flush", path);
        ok = false;
    }
    if (::close(fd) != 0 && ok) {
        error = ErrnoText("cannot close", path);
        ok = false;
    }
    if (!ok) {
        ::unlink(path.c_str());
        return TNewFileResult::Failed;
    }
    return TNewFileResult::Written;
}

bool ReplaceFile(const std::filesystem::path& from, const std::filesystem::path& to,
                 std::string& error) {
    if (::rename(from.c_str(), to.c_str()) != 0) {
        error = ErrnoText("cannot rename to", to);
        return false;
    }
    SyncFolder(to.parent_path());
    return true;
}

bool RemoveFile(const std::filesystem::path& path) {
    return ::unlink(path.c_str()) == 0 || errno == ENOENT;
}

std::uint64_t ProcessNumber() {
    return static_cast<std::uint64_t>(::getpid());
}

std::optional<std::string> EnvironmentVariable(const char* name) {
    const char* value = std::getenv(name);
    if (!value) return std::nullopt;
    return std::string(value);
}

std::vector<std::string> CommandLineArguments(int argc, char** argv) {
    return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

void UseUtf8StandardStreams() {}

bool StandardErrorIsTerminal() {
    return ::isatty(STDERR_FILENO) == 1;
}

}  // namespace ps::fs
