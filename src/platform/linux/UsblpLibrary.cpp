// SPDX-License-Identifier: MIT
// The vendor USB port library's contract on usblp device nodes.
#include "platform/linux/UsblpLibrary.h"

#include <fcntl.h>
#include <linux/lp.h>
#include <poll.h>
#include <sys/ioctl.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/linux/Deadline.h"
#include "platform/linux/DeviceId.h"
#include "platform/linux/LinuxErrors.h"

namespace ps {
namespace {

// The driver's device-ID request (not in the exported headers): _IOC(READ, 'P', 1, len).
constexpr unsigned long DeviceIdRequest(unsigned long length) {
    return _IOC(_IOC_READ, 'P', 1, length);
}
constexpr std::size_t kDeviceIdRequestBytes = 1026;  // length bytes + the longest ID kept
constexpr int kUsblpMinors = 16;
constexpr int kOpenFlags = O_RDWR | O_NONBLOCK;

bool Absent(int error) {
    return error == ENOENT || error == ENODEV || error == ENXIO || error == ENOTDIR;
}

std::string ReadSmallFile(TUsblpSystem& system, const std::string& path) {
    const int fd = system.Open(path, O_RDONLY);
    if (fd < 0) return {};
    std::string text(kMaxDeviceIdLength + 1, '\0');
    const ssize_t n = system.Read(fd, text.data(), text.size());
    system.Close(fd);
    text.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    return text;
}

std::string IoctlDeviceId(TUsblpSystem& system, int fd) {
    std::string reply(kDeviceIdRequestBytes, '\0');
    if (system.Ioctl(fd, DeviceIdRequest(reply.size()), reply.data()) < 0) return {};
    return DeviceIdFromIoctlReply(reply);
}

int Fd(TIoHandle handle) {
    return static_cast<int>(static_cast<std::intptr_t>(handle));
}

void CopyCut(const std::string& text, char* buffer, std::uint32_t size) {
    if (!buffer || size == 0) return;
    const std::size_t n = std::min<std::size_t>(text.size(), size - 1);
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
}

}  // namespace

std::vector<TUsblpDevice> ScanUsblpDevices(TUsblpSystem& system, const TUsblpFolders& folders) {
    std::vector<TUsblpDevice> devices;
    for (int minor = 0; minor < kUsblpMinors; ++minor) {
        const std::string name = "lp" + std::to_string(minor);
        TUsblpDevice device;
        device.path = folders.devices + "/" + name;
        const int fd = system.Open(device.path, kOpenFlags);
        if (fd < 0 && Absent(errno)) continue;
        if (fd >= 0) {
            device.deviceId = IoctlDeviceId(system, fd);
            system.Close(fd);
        }
        if (device.deviceId.empty())
            device.deviceId = CleanDeviceId(
                ReadSmallFile(system, folders.sysfs + "/" + name + "/device/ieee1284_id"));
        char port[16];
        std::snprintf(port, sizeof port, "USB%03zu", devices.size() + 1);
        device.portName = port;
        devices.push_back(std::move(device));
    }
    return devices;
}

std::int64_t UsblpWrite(TUsblpSystem& system, TClock& clock, int fd,
                        std::span<const std::uint8_t> data, std::uint32_t timeoutMs, int& error) {
    error = 0;
    const std::uint64_t deadline = clock.NowMs() + timeoutMs;
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = system.Write(fd, data.data() + done, data.size() - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) {
            error = errno;
            return done == 0 ? -1 : static_cast<std::int64_t>(done);
        }
        // The printer takes nothing now: wait for room until the deadline.
        if (!WaitUntilReady(clock, deadline,
                            [&](int slice) { return system.Poll(fd, POLLOUT, slice); })) {
            error = ETIMEDOUT;
            break;
        }
    }
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
        if (!WaitUntilReady(clock, deadline,
                            [&](int slice) { return system.Poll(fd, POLLIN, slice); })) {
            error = ETIMEDOUT;
            return 0;
        }
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

TIoHandle TUsblpLibrary::OpenPrinterUSBPort(std::int32_t portNumber) {
    std::string path;
    {
        std::lock_guard lock(m_Mutex);
        const std::int64_t index = static_cast<std::int64_t>(portNumber) - 1;
        if (index < 0 || static_cast<std::size_t>(index) >= m_Devices.size()) {
            SetThreadLastError(kErrorFileNotFound);
            return kInvalidIoHandle;
        }
        path = m_Devices[static_cast<std::size_t>(index)].path;
    }
    const int fd = m_System.Open(path, kOpenFlags);
    if (fd < 0) {
        FailToOpenDevice(errno, path);
        return kInvalidIoHandle;
    }
    return static_cast<TIoHandle>(fd);
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
