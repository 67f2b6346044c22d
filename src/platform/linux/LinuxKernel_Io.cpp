// SPDX-License-Identifier: MIT
// Kernel services of a Linux machine: session, shared memory, files and devices.
#include <fcntl.h>
#include <linux/lp.h>
#include <poll.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "base/AsciiText.h"
#include "base/ProgramPlace.h"
#include "platform/NativeServices.h"
#include "platform/linux/Deadline.h"
#include "platform/linux/DeviceUri.h"
#include "platform/linux/LinuxErrors.h"
#include "platform/linux/LinuxKernel.h"

namespace ps {
namespace {

bool Fail() {
    return FailWithErrno(errno);
}

int Fd(TIoHandle handle) {
    return static_cast<int>(static_cast<std::intptr_t>(handle));
}

// "LPT1" -> 1 when the rest is all digits.
int PortNumber(std::string_view name, std::string_view prefix) {
    if (!StartsWithNoCase(name, prefix) || name.size() == prefix.size()) return -1;
    int number = 0;
    for (char c : name.substr(prefix.size())) {
        if (c < '0' || c > '9' || number > 999) return -1;
        number = number * 10 + (c - '0');
    }
    return number;
}

}  // namespace

int NativeProcessId() {
    return static_cast<int>(getpid());
}

bool NativeProcessIsRunning(int pid) {
    if (pid <= 0) return false;
    return kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

std::string PosixDevicePath(std::string_view path) {
    if (path.starts_with("\\\\?\\") || path.starts_with("\\\\.\\")) path.remove_prefix(4);
    if (int n = PortNumber(path, "LPT"); n >= 1) return "/dev/lp" + std::to_string(n - 1);
    if (int n = PortNumber(path, "COM"); n >= 1)
        return SerialDevicePath(n).value_or("/dev/ttyS" + std::to_string(n - 1));
    if (int n = PortNumber(path, "USB"); n >= 1) return "/dev/usb/lp" + std::to_string(n - 1);
    std::string result(path);
    for (char& c : result) {
        if (c == '\\') c = '/';
    }
    return result;
}

std::uint32_t TLinuxKernel::GetSessionId() {
    pid_t session = getsid(0);
    return session > 0 ? static_cast<std::uint32_t>(session) : 0;
}

std::string TLinuxKernel::GetProgramPath() {
    return fs::ExecutablePath().string();
}

std::unique_ptr<TSharedMemory> TLinuxKernel::CreateSharedMemory(const std::string& name,
                                                                std::size_t size) {
    // The block lives in this process only (the port monitor runs in-process here): nothing
    // appears in /dev/shm, and no other user can open, predict, or shrink it under us.
    return m_SharedMemory.Create(name, size);
}

std::unique_ptr<TSharedMemory> TLinuxKernel::OpenSharedMemory(const std::string& name) {
    return m_SharedMemory.Open(name);
}

int TLinuxKernel::OpenDevice(const std::string& path, int flags) {
    TUsblpSystem& system = *m_pUsblp;
    const TUsblpFolders& folders = m_UsbLibrary.Folders();
    if (const auto minor = UsblpMinorOfPath(folders, path)) {
        // The printer as it was listed, so that a name does not reach another printer that
        // took the node after it; a node never listed is taken as it is now.
        auto listed = m_UsbLibrary.Listed(*minor);
        if (!listed) listed = ReadUsblpDevice(system, folders, *minor);
        if (!listed) {
            FailDeviceOpen(ENOENT, UsblpPortName(*minor) + " (" + path + ")", "");
            return -1;
        }
        return OpenUsblpNode(system, folders, *listed);
    }
    const int fd = system.Open(path, flags);
    if (fd >= 0 || !path.starts_with("/dev/")) {
        if (fd < 0) Fail();
        return fd;
    }
    const bool serial = path.starts_with("/dev/tty");
    FailDeviceOpen(errno, path, GroupRemedy(serial ? "dialout" : "lp"));
    return -1;
}

TIoHandle TLinuxKernel::OpenFileHandle(const std::string& path, bool read, bool write,
                                       TFileCreation creation) {
    int flags = read && write ? O_RDWR : write ? O_WRONLY : O_RDONLY;
    if (creation == TFileCreation::CreateAlways) flags |= O_CREAT | O_TRUNC;
    // Non-blocking, so that every read and write waits in poll, where its deadline holds.
    const int fd = OpenDevice(PosixDevicePath(path), flags | O_NONBLOCK);
    if (fd < 0) return kInvalidIoHandle;
    THandle handle;
    TNodeKind kind;
    if (m_pUsblp->Kind(fd, kind) == 0 && kind.characterDevice) {
        if (kind.major == kUsbMajor && kind.minor < kUsblpMinorLimit) handle.node = TNode::Usblp;
        if (kind.major == kParallelMajor) handle.node = TNode::Parallel;
    }
    std::lock_guard lock(m_Mutex);
    m_Handles[fd] = handle;
    return static_cast<TIoHandle>(fd);
}

std::optional<TLinuxKernel::THandle> TLinuxKernel::HandleOf(TIoHandle handle) {
    std::lock_guard lock(m_Mutex);
    auto it = m_Handles.find(Fd(handle));
    if (it == m_Handles.end()) return std::nullopt;
    return it->second;
}

bool TLinuxKernel::WaitReady(int fd, short events, std::uint64_t deadline) {
    return WaitUntilReady(m_Clock, deadline, [&](int slice) {
        short revents = 0;
        return m_pUsblp->Poll(fd, events, slice, revents);
    });
}

bool TLinuxKernel::ReadHandle(TIoHandle handle, std::span<std::uint8_t> buffer,
                              std::uint32_t& bytesRead) {
    bytesRead = 0;
    const int fd = Fd(handle);
    const std::uint64_t deadline = m_Clock.NowMs() + HandleOf(handle).value_or(THandle{}).readMs;
    for (;;) {
        ssize_t n = m_pUsblp->Read(fd, buffer.data(), buffer.size());
        if (n >= 0) {
            bytesRead = static_cast<std::uint32_t>(n);
            return true;
        }
        if (errno == EINTR) continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK) return Fail();
        if (!WaitReady(fd, POLLIN, deadline)) {
            SetThreadLastError(kErrorTimeout);
            return false;
        }
    }
}

namespace {

bool FailShort(std::size_t done, std::size_t size) {
    SetThreadLastError(kErrorTimeout, "the device took " + std::to_string(done) + " of " +
                                          std::to_string(size) +
                                          " bytes before its write deadline");
    return false;
}

}  // namespace

bool TLinuxKernel::WriteParallel(int fd, std::span<const std::uint8_t> data,
                                 std::uint32_t timeoutMs, std::uint32_t& bytesWritten) {
    // The lp driver has no poll of its own (a descriptor always reads as ready), so a wait in
    // poll would spin. The write blocks in the driver instead: LPSETTIMEOUT ends a transfer
    // the printer stops taking, LPABORT makes an error (off line, out of paper) end the write
    // where the driver would retry it without end, and the kernel ends the call at the
    // deadline should the printer stay busy without an error.
    TUsblpSystem& system = *m_pUsblp;
    const auto abortOnError = reinterpret_cast<void*>(std::intptr_t{1});  // passed by value
    timeval timeout{static_cast<time_t>(timeoutMs / 1000),
                    static_cast<suseconds_t>(timeoutMs % 1000 * 1000)};
    if (timeoutMs == 0) timeout.tv_usec = 1000;
    if (system.Ioctl(fd, LPABORT, abortOnError) != 0 ||
        system.Ioctl(fd, LPSETTIMEOUT, &timeout) != 0 || system.SetNonBlocking(fd, false) != 0)
        return Fail();
    const ssize_t n = system.WriteWithin(
        fd, data.data(), data.size(),
        static_cast<int>(std::min<std::uint32_t>(timeoutMs, 24u * 3600u * 1000u)));
    const int error = errno;
    system.SetNonBlocking(fd, true);
    if (n > 0) bytesWritten = static_cast<std::uint32_t>(n);
    if (n == static_cast<ssize_t>(data.size())) return true;
    if (n >= 0 || error == ETIMEDOUT)
        return FailShort(n > 0 ? static_cast<std::size_t>(n) : 0, data.size());
    // What the driver says with LPABORT set: the printer's own error lines.
    if (error == ENOSPC) {
        SetThreadLastError(kErrorWriteFault, "the printer on the parallel port is out of paper");
        return false;
    }
    if (error == EIO) {
        SetThreadLastError(kErrorWriteFault,
                           "the printer on the parallel port is off line or reports an error");
        return false;
    }
    return FailWithErrno(error);
}

bool TLinuxKernel::WriteHandle(TIoHandle handle, std::span<const std::uint8_t> data,
                               std::uint32_t& bytesWritten) {
    bytesWritten = 0;
    const int fd = Fd(handle);
    const THandle info = HandleOf(handle).value_or(THandle{});
    if (info.node == TNode::Parallel) return WriteParallel(fd, data, info.writeMs, bytesWritten);
    if (info.node == TNode::Usblp) {
        int error = 0;
        const std::int64_t n = UsblpWrite(*m_pUsblp, m_Clock, fd, data, info.writeMs, error);
        if (n > 0) bytesWritten = static_cast<std::uint32_t>(n);
        if (n == static_cast<std::int64_t>(data.size())) return true;
        if (error == ETIMEDOUT) return FailShort(bytesWritten, data.size());
        return FailWithErrno(error ? error : EIO);
    }
    const std::uint64_t deadline = m_Clock.NowMs() + info.writeMs;
    std::size_t done = 0;
    // A device takes what it can; the rest follows until all is out or the deadline passes.
    while (done < data.size()) {
        ssize_t n = m_pUsblp->Write(fd, data.data() + done, data.size() - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            bytesWritten = static_cast<std::uint32_t>(done);
            continue;
        }
        if (n == 0) {
            SetThreadLastError(kErrorWriteFault);
            return false;
        }
        if (errno == EINTR) continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK) return Fail();
        if (!WaitReady(fd, POLLOUT, deadline)) return FailShort(done, data.size());
    }
    return true;
}

bool TLinuxKernel::SetIoTimeouts(TIoHandle handle, std::uint32_t readMs, std::uint32_t writeMs) {
    TNodeKind kind;
    if (m_pUsblp->Kind(Fd(handle), kind) != 0) return Fail();
    std::lock_guard lock(m_Mutex);
    THandle& entry = m_Handles[Fd(handle)];
    entry.readMs = readMs;
    entry.writeMs = writeMs;
    return true;
}

bool TLinuxKernel::CancelIo(TIoHandle handle) {
    // Synchronous descriptors have nothing pending.
    TNodeKind kind;
    if (m_pUsblp->Kind(Fd(handle), kind) != 0) return Fail();
    return true;
}

bool TLinuxKernel::CloseHandle(TIoHandle handle) {
    {
        // Forgotten before the close: afterwards the number may already name a new handle.
        std::lock_guard lock(m_Mutex);
        m_Handles.erase(Fd(handle));
    }
    if (handle == kInvalidIoHandle || m_pUsblp->Close(Fd(handle)) != 0) return Fail();
    return true;
}

bool TLinuxKernel::UsbPrintGetLptStatus(TIoHandle handle, std::uint8_t& status) {
    int value = 0;
    if (m_pUsblp->Ioctl(Fd(handle), LPGETSTATUS, &value) != 0) return Fail();
    status = static_cast<std::uint8_t>(value);
    return true;
}

}  // namespace ps
