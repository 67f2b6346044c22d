// SPDX-License-Identifier: MIT
// The vendor USB port library's contract on usblp device nodes.
#include "platform/linux/UsblpLibrary.h"

#include <poll.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/DeviceId.h"
#include "platform/linux/Deadline.h"
#include "platform/linux/LinuxErrors.h"

namespace ps {
namespace {

int Fd(TIoHandle handle) {
    return static_cast<int>(static_cast<std::intptr_t>(handle));
}

void CopyCut(const std::string& text, char* buffer, std::uint32_t size) {
    if (!buffer || size == 0) return;
    const std::size_t n = std::min<std::size_t>(text.size(), size - 1);
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
}

// Waits for `events` until the deadline: the events that came (hang-up and errors too), or 0.
short WaitForEvents(TUsblpSystem& system, TClock& clock, int fd, short events,
                    std::uint64_t deadline) {
    short revents = 0;
    WaitUntilReady(clock, deadline, [&](int slice) {
        const int ready = system.Poll(fd, events, slice, revents);
        if (ready < 0) revents = POLLERR;
        return ready;
    });
    return revents;
}

}  // namespace

std::int64_t UsblpWrite(TUsblpSystem& system, TClock& clock, int fd,
                        std::span<const std::uint8_t> data, std::uint32_t timeoutMs, int& error) {
    error = 0;
    const std::uint64_t deadline = clock.NowMs() + timeoutMs;
    std::size_t done = 0;      // bytes usblp accepted
    std::size_t inFlight = 0;  // of those, the transfer that has not ended yet
    // True once no transfer is in flight; false when the deadline passed or the printer left.
    auto drained = [&] {
        const short revents = WaitForEvents(system, clock, fd, POLLOUT, deadline);
        if (revents & (POLLHUP | POLLERR)) {
            error = ENODEV;
            return false;
        }
        if (!(revents & POLLOUT)) {
            error = ETIMEDOUT;
            return false;
        }
        inFlight = 0;
        return true;
    };
    while (done < data.size()) {
        const ssize_t n = system.Write(fd, data.data() + done, data.size() - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            inFlight = static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) {
            error = errno;
            // A failed write leaves no telling whether the transfer before it went out.
            return done == 0 ? -1 : static_cast<std::int64_t>(done - inFlight);
        }
        // A transfer is in flight (or the printer takes nothing now): wait for it to end.
        if (!drained()) return static_cast<std::int64_t>(done - inFlight);
    }
    if (inFlight > 0 && !drained()) return static_cast<std::int64_t>(done - inFlight);
    return static_cast<std::int64_t>(done);
}

std::int64_t UsblpRead(TUsblpSystem& system, TClock& clock, int fd, std::span<std::uint8_t> buffer,
                       std::uint32_t timeoutMs, int& error) {
    error = 0;
    const std::uint64_t deadline = clock.NowMs() + timeoutMs;
    for (;;) {
        const ssize_t n = system.Read(fd, buffer.data(), buffer.size());
        if (n > 0) return n;
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) {
            error = errno;
            return -1;
        }
        const std::uint64_t now = clock.NowMs();
        if (now >= deadline) {
            error = ETIMEDOUT;
            return 0;
        }
        if (n == 0) {
            // An empty read (a printer with nothing to say): try again a little later.
            clock.Sleep(static_cast<std::uint32_t>(std::min<std::uint64_t>(deadline - now, 10)));
            continue;
        }
        const short revents = WaitForEvents(system, clock, fd, POLLIN, deadline);
        if (revents == 0) {
            error = ETIMEDOUT;
            return 0;
        }
        // POLLIN, or a hang-up or error that the next read reports.
    }
}

TUsblpLibrary::TUsblpLibrary(TUsblpSystem& system, TClock& clock, TUsblpFolders folders)
    : m_System(system), m_Clock(clock), m_Folders(std::move(folders)) {}

std::int32_t TUsblpLibrary::USBPrintRefresh() {
    auto devices = ScanUsblpDevices(m_System, m_Folders);
    std::lock_guard lock(m_Mutex);
    m_Devices = std::move(devices);
    return static_cast<std::int32_t>(m_Devices.size());
}

void TUsblpLibrary::GetUSBPrintFileName(std::int32_t index, char* buffer, std::uint32_t& size) {
    std::lock_guard lock(m_Mutex);
    if (index < 0 || static_cast<std::size_t>(index) >= m_Devices.size() || !buffer) return;
    const std::string& path = m_Devices[static_cast<std::size_t>(index)].path;
    if (path.size() + 1 > size) {
        size = static_cast<std::uint32_t>(path.size() + 1);
        return;
    }
    std::memcpy(buffer, path.c_str(), path.size() + 1);
}

void TUsblpLibrary::GetUSBHWID(std::int32_t index, char* portName, std::uint32_t portSize,
                               char* deviceId, std::uint32_t deviceIdSize) {
    std::lock_guard lock(m_Mutex);
    if (index < 0 || static_cast<std::size_t>(index) >= m_Devices.size()) return;
    const TUsblpDevice& device = m_Devices[static_cast<std::size_t>(index)];
    CopyCut(device.portName, portName, portSize);
    CopyCut(device.deviceId, deviceId, deviceIdSize);
}

std::optional<TUsblpDevice> TUsblpLibrary::Listed(unsigned minor) {
    std::lock_guard lock(m_Mutex);
    for (const TUsblpDevice& device : m_Devices) {
        if (device.minor == minor) return device;
    }
    return std::nullopt;
}

TIoHandle TUsblpLibrary::OpenPrinterUSBPort(std::int32_t portNumber) {
    TUsblpDevice device;
    {
        std::lock_guard lock(m_Mutex);
        const std::int64_t index = static_cast<std::int64_t>(portNumber) - 1;
        if (index < 0 || static_cast<std::size_t>(index) >= m_Devices.size()) {
            SetThreadLastError(kErrorFileNotFound,
                               "no USB printer was listed as number " + std::to_string(portNumber));
            return kInvalidIoHandle;
        }
        device = m_Devices[static_cast<std::size_t>(index)];
    }
    const int fd = OpenUsblpNode(m_System, m_Folders, device);
    return fd < 0 ? kInvalidIoHandle : static_cast<TIoHandle>(fd);
}

std::int32_t TUsblpLibrary::WritePort(TIoHandle handle, const std::uint8_t* data,
                                      std::int32_t length, std::int32_t timeoutMs) {
    if (length < 0 || (length > 0 && !data)) {
        SetThreadLastError(kErrorInvalidParameter);
        return -2;
    }
    int error = 0;
    const std::int64_t written =
        UsblpWrite(m_System, m_Clock, Fd(handle),
                   std::span<const std::uint8_t>(data, static_cast<std::size_t>(length)),
                   static_cast<std::uint32_t>(std::max(timeoutMs, 0)), error);
    if (error == ETIMEDOUT)
        SetThreadLastError(kErrorTimeout, "the printer took " + std::to_string(written) + " of " +
                                              std::to_string(length) +
                                              " bytes before the write deadline");
    else
        SetThreadLastError(SysErrorFromErrno(error));
    return written < 0 ? -2 : static_cast<std::int32_t>(written);
}

std::int32_t TUsblpLibrary::ReadPort(TIoHandle handle, std::uint8_t* buffer, std::int32_t maxLength,
                                     std::int32_t timeoutMs) {
    if (maxLength <= 0 || !buffer) {
        SetThreadLastError(kErrorInvalidParameter);
        return 0;
    }
    int error = 0;
    const std::int64_t read =
        UsblpRead(m_System, m_Clock, Fd(handle),
                  std::span<std::uint8_t>(buffer, static_cast<std::size_t>(maxLength)),
                  static_cast<std::uint32_t>(std::max(timeoutMs, 0)), error);
    SetThreadLastError(SysErrorFromErrno(error));
    return read > 0 ? static_cast<std::int32_t>(read) : 0;
}

void TUsblpLibrary::CloseUSBPort(TIoHandle handle) {
    if (handle != kInvalidIoHandle) m_System.Close(Fd(handle));
}

}  // namespace ps
