// SPDX-License-Identifier: MIT
// The seam between the USB printer code and the kernel: the six calls it makes on usblp
// device nodes and sysfs files. Tests put a scripted fake kernel behind it.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <memory>
#include <string>

namespace ps {

/// The kernel calls of the USB printer layer, with POSIX meaning: failures return -1 and
/// leave the reason in errno. Thread-safe.
class TUsblpSystem {
public:
    virtual ~TUsblpSystem() = default;
    virtual int Open(const std::string& path, int flags) = 0;
    virtual int Close(int fd) = 0;
    virtual int Ioctl(int fd, unsigned long request, void* argument) = 0;
    virtual ssize_t Read(int fd, void* buffer, std::size_t size) = 0;
    virtual ssize_t Write(int fd, const void* data, std::size_t size) = 0;
    /// Waits at most `timeoutMs` for `events` on `fd`: > 0 ready, 0 not yet, -1 failed.
    virtual int Poll(int fd, short events, int timeoutMs) = 0;
};

/// The machine's own kernel.
std::unique_ptr<TUsblpSystem> MakeKernelUsblpSystem();

}  // namespace ps
