// SPDX-License-Identifier: MIT
// The seam between the device code and the kernel: the calls it makes on device nodes (usblp,
// lp, serial ports, files) and sysfs files. Tests put a fake kernel behind it that behaves as
// the drivers do.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <memory>
#include <string>

namespace ps {

/// What a descriptor is.
struct TNodeKind {
    bool characterDevice = false;
    unsigned major = 0;  // of a character device: 180 USB (usblp), 6 parallel port (lp) ...
    unsigned minor = 0;
};

/// Character device majors the device code treats in their own way.
inline constexpr unsigned kUsbMajor = 180;     // usblp nodes /dev/usb/lpN, minors 0-15
inline constexpr unsigned kParallelMajor = 6;  // lp nodes /dev/lpN
inline constexpr unsigned kUsblpMinorLimit = 16;

/// The kernel calls of the device code, with POSIX meaning: failures return -1 and leave the
/// reason in errno. Thread-safe.
class TUsblpSystem {
public:
    virtual ~TUsblpSystem() = default;
    virtual int Open(const std::string& path, int flags) = 0;
    virtual int Close(int fd) = 0;
    virtual int Ioctl(int fd, unsigned long request, void* argument) = 0;
    virtual ssize_t Read(int fd, void* buffer, std::size_t size) = 0;
    virtual ssize_t Write(int fd, const void* data, std::size_t size) = 0;
    /// Waits at most `timeoutMs` for `events` on `fd`: > 0 ready (what happened in `revents`,
    /// hang-up and errors included), 0 not yet, -1 failed.
    virtual int Poll(int fd, short events, int timeoutMs, short& revents) = 0;
    /// fstat's answer for `fd`: 0, or -1.
    virtual int Kind(int fd, TNodeKind& kind) = 0;
    /// Switches O_NONBLOCK of `fd` on or off: 0, or -1.
    virtual int SetNonBlocking(int fd, bool nonBlocking) = 0;
    /// A write on a blocking descriptor that the kernel ends once `timeoutMs` have passed:
    /// the bytes written by then, or -1 (ETIMEDOUT when nothing was written in time).
    virtual ssize_t WriteWithin(int fd, const void* data, std::size_t size, int timeoutMs) = 0;
};

/// The machine's own kernel.
std::unique_ptr<TUsblpSystem> MakeKernelUsblpSystem();

}  // namespace ps
