// SPDX-License-Identifier: MIT
// Kernel services of a Linux machine: session, shared memory, files and devices.
#include <fcntl.h>
#include <linux/lp.h>
#include <poll.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "base/AsciiText.h"
#include "base/ProgramPlace.h"
#include "platform/NativeServices.h"
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
    if (int n = PortNumber(path, "COM"); n >= 1) return "/dev/ttyS" + std::to_string(n - 1);
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

TIoHandle TLinuxKernel::OpenFileHandle(const std::string& path, bool read, bool write,
                                       TFileCreation creation) {
    int flags = read && write ? O_RDWR : write ? O_WRONLY : O_RDONLY;
    if (creation == TFileCreation::CreateAlways) flags |= O_CREAT | O_TRUNC;
    // Non-blocking, so that every read and write waits in poll, where its deadline holds.
    int fd = open(PosixDevicePath(path).c_str(), flags | O_CLOEXEC | O_NOCTTY | O_NONBLOCK, 0644);
    if (fd < 0) {
        Fail();
        return kInvalidIoHandle;
    }
    return static_cast<TIoHandle>(fd);
}

TLinuxKernel::TTimeouts TLinuxKernel::TimeoutsOf(TIoHandle handle) {
    std::lock_guard lock(m_Mutex);
    auto it = m_Timeouts.find(Fd(handle));
    return it == m_Timeouts.end() ? TTimeouts{} : it->second;
}

bool TLinuxKernel::WaitReady(int fd, short events, std::uint64_t deadline) {
    constexpr std::uint64_t kSliceMs = 20;
    for (;;) {
        const std::uint64_t now = m_Clock.NowMs();
        if (now >= deadline) return false;
        const auto slice = static_cast<int>(std::min(deadline - now, kSliceMs));
        pollfd entry{fd, events, 0};
        int ready = ::poll(&entry, 1, slice);
        // Ready, or an error or hang-up that the next read or write reports.
        if (ready > 0 || (ready < 0 && errno != EINTR)) return true;
        // A clock that moves only when slept on (a virtual one) learns of the slice this way.
        if (m_Clock.NowMs() == now) m_Clock.Sleep(static_cast<std::uint32_t>(slice));
    }
}

bool TLinuxKernel::ReadHandle(TIoHandle handle, std::span<std::uint8_t> buffer,
                              std::uint32_t& bytesRead) {
    bytesRead = 0;
    const int fd = Fd(handle);
    const std::uint64_t deadline = m_Clock.NowMs() + TimeoutsOf(handle).readMs;
    for (;;) {
        ssize_t n = ::read(fd, buffer.data(), buffer.size());
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

bool TLinuxKernel::WriteHandle(TIoHandle handle, std::span<const std::uint8_t> data,
                               std::uint32_t& bytesWritten) {
    bytesWritten = 0;
    const int fd = Fd(handle);
    const std::uint64_t deadline = m_Clock.NowMs() + TimeoutsOf(handle).writeMs;
    std::size_t done = 0;
    // A device takes what it can; the rest follows until all is out or the deadline passes.
    while (done < data.size()) {
        ssize_t n = ::write(fd, data.data() + done, data.size() - done);
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
        if (!WaitReady(fd, POLLOUT, deadline)) {
            SetThreadLastError(kErrorTimeout, "the device took " + std::to_string(done) + " of " +
                                                  std::to_string(data.size()) +
                                                  " bytes before its write deadline");
            return false;
        }
    }
    return true;
}

bool TLinuxKernel::SetIoTimeouts(TIoHandle handle, std::uint32_t readMs, std::uint32_t writeMs) {
    if (fcntl(Fd(handle), F_GETFD) < 0) return Fail();
    std::lock_guard lock(m_Mutex);
    m_Timeouts[Fd(handle)] = TTimeouts{readMs, writeMs};
    return true;
}

bool TLinuxKernel::CancelIo(TIoHandle handle) {
    // Synchronous descriptors have nothing pending.
    if (fcntl(Fd(handle), F_GETFD) < 0) return Fail();
    return true;
}

bool TLinuxKernel::CloseHandle(TIoHandle handle) {
    {
        // Forgotten before the close: afterwards the number may already name a new handle.
        std::lock_guard lock(m_Mutex);
        m_Timeouts.erase(Fd(handle));
    }
    if (handle == kInvalidIoHandle || ::close(Fd(handle)) != 0) return Fail();
    return true;
}

bool TLinuxKernel::UsbPrintGetLptStatus(TIoHandle handle, std::uint8_t& status) {
    int value = 0;
    if (ioctl(Fd(handle), LPGETSTATUS, &value) != 0) return Fail();
    status = static_cast<std::uint8_t>(value);
    return true;
}

}  // namespace ps
