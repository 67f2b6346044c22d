// SPDX-License-Identifier: MIT
// File locks on POSIX systems: flock on a file opened without following links.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "base/FileLock.h"

namespace ps::fs {

TFileLock::TResult TFileLock::TryLock(const TFileName& name, std::unique_ptr<TFileLock>& lock,
                                      std::string& error) {
    const std::filesystem::path& path = name.Path();
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        error = "cannot open \"" + path.string() + "\": " + std::strerror(errno);
        return TResult::Failed;
    }
    // flock locks belong to the open file description: a second open of the same file, in
    // this process or another, is refused while this one holds it.
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EINTR) continue;
        const int code = errno;
        ::close(fd);
        if (code == EWOULDBLOCK) return TResult::Busy;
        error = "cannot lock \"" + path.string() + "\": " + std::strerror(code);
        return TResult::Failed;
    }
    lock.reset(new TFileLock(fd));
    return TResult::Taken;
}

TFileLock::~TFileLock() {
    ::close(static_cast<int>(m_Handle));  // closing releases the lock
}

}  // namespace ps::fs
