// SPDX-License-Identifier: MIT
// File-system calls of base on POSIX systems: exclusive create, write all, fsync, rename.
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <chrono>
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

TReadFileResult ReadRegularFile(const std::filesystem::path& path, std::size_t maxBytes,
                                TFinalLink finalLink, std::uint32_t timeoutMs, std::string& bytes,
                                std::string& error) {
    bytes.clear();
    const int flags = O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK |
                      (finalLink == TFinalLink::Refuse ? O_NOFOLLOW : 0);
    const int fd = ::open(path.c_str(), flags);
    if (fd < 0) {
        const int code = errno;
        error = ErrnoText("cannot open", path);
        if (code == ENOENT || code == ENOTDIR) return TReadFileResult::Missing;
        if (code == ELOOP && finalLink == TFinalLink::Refuse) {
            error = "\"" + path.string() + "\" is a symbolic link, which is not followed";
            return TReadFileResult::Refused;
        }
        return TReadFileResult::Failed;
    }
    struct stat info {};
    TReadFileResult result = TReadFileResult::Read;
    if (::fstat(fd, &info) != 0) {
        error = ErrnoText("cannot examine", path);
        result = TReadFileResult::Failed;
    } else if (!S_ISREG(info.st_mode)) {
        error = "\"" + path.string() + "\" is not a regular file";
        result = TReadFileResult::Refused;
    } else if (static_cast<std::uintmax_t>(info.st_size) > maxBytes) {
        error = "\"" + path.string() + "\" is larger than " + std::to_string(maxBytes) + " bytes";
        result = TReadFileResult::Refused;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    char chunk[65536];
    while (result == TReadFileResult::Read) {
        if (std::chrono::steady_clock::now() >= deadline) {
            error = "reading \"" + path.string() + "\" took longer than " +
                    std::to_string(timeoutMs) + " ms";
            result = TReadFileResult::Failed;
            break;
        }
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n == 0) break;
        if (n > 0) {
            // A file that grows while it is read is held to the same bound.
            if (bytes.size() + static_cast<std::size_t>(n) > maxBytes) {
                error = "\"" + path.string() + "\" is larger than " + std::to_string(maxBytes) +
                        " bytes";
                result = TReadFileResult::Refused;
                break;
            }
            bytes.append(chunk, static_cast<std::size_t>(n));
            continue;
        }
        if (errno == EINTR) continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK) {
            pollfd entry{fd, POLLIN, 0};
            ::poll(&entry, 1, 10);
            continue;
        }
        error = ErrnoText("cannot read", path);
        result = TReadFileResult::Failed;
    }
    ::close(fd);
    if (result != TReadFileResult::Read) bytes.clear();
    return result;
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
