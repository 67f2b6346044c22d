// SPDX-License-Identifier: MIT
// USB printers of usblp as sysfs shows them, and their nodes opened for the printer listed.
#include "platform/linux/UsblpDevices.h"

#include <fcntl.h>

#include <cerrno>
#include <cstdio>

#include "platform/DeviceId.h"
#include "platform/linux/LinuxErrors.h"

namespace ps {
namespace {

constexpr int kOpenFlags = O_RDWR | O_NONBLOCK;

std::string ReadSmallFile(TUsblpSystem& system, const std::string& path) {
    const int fd = system.Open(path, O_RDONLY);
    if (fd < 0) return {};
    std::string text(kMaxDeviceIdLength + 1, '\0');
    const ssize_t n = system.Read(fd, text.data(), text.size());
    system.Close(fd);
    text.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    return text;
}

// "180:3\n" -> 3, when it is a usblp node's number.
std::optional<unsigned> MinorOfDevAttribute(std::string_view text) {
    const auto colon = text.find(':');
    if (colon == std::string_view::npos || text.substr(0, colon) != std::to_string(kUsbMajor))
        return std::nullopt;
    unsigned minor = 0;
    std::size_t digits = 0;
    for (char c : text.substr(colon + 1)) {
        if (c < '0' || c > '9') break;
        minor = minor * 10 + static_cast<unsigned>(c - '0');
        if (++digits > 3) return std::nullopt;
    }
    if (digits == 0 || minor >= kUsblpMinorLimit) return std::nullopt;
    return minor;
}

std::string Describe(const TUsblpDevice& device) {
    return device.portName + " (" + device.path + ")";
}

}  // namespace

bool TUsblpDevice::SamePrinter(const TUsblpDevice& other) const {
    return minor == other.minor && usbSerial == other.usbSerial &&
           DeviceIdMaker(deviceId) == DeviceIdMaker(other.deviceId) &&
           DeviceIdModel(deviceId) == DeviceIdModel(other.deviceId) &&
           DeviceIdSerial(deviceId) == DeviceIdSerial(other.deviceId);
}

std::string UsblpPortName(unsigned minor) {
    char port[16];
    std::snprintf(port, sizeof port, "USB%03u", minor + 1);
    return port;
}

std::optional<unsigned> UsblpMinorOfPath(const TUsblpFolders& folders, std::string_view path) {
    const std::string prefix = folders.devices + "/lp";
    if (!path.starts_with(prefix) || path.size() == prefix.size() ||
        path.size() > prefix.size() + 2)
        return std::nullopt;
    unsigned minor = 0;
    for (char c : path.substr(prefix.size())) {
        if (c < '0' || c > '9') return std::nullopt;
        minor = minor * 10 + static_cast<unsigned>(c - '0');
    }
    if (minor >= kUsblpMinorLimit) return std::nullopt;
    return minor;
}

std::optional<TUsblpDevice> ReadUsblpDevice(TUsblpSystem& system, const TUsblpFolders& folders,
                                            unsigned minor) {
    const std::string name = "lp" + std::to_string(minor);
    const std::string entry = folders.sysfs + "/" + name;
    const auto number = MinorOfDevAttribute(ReadSmallFile(system, entry + "/dev"));
    if (!number || *number != minor) return std::nullopt;
    TUsblpDevice device;
    device.minor = minor;
    device.path = folders.devices + "/" + name;
    device.portName = UsblpPortName(minor);
    device.deviceId = CleanDeviceId(ReadSmallFile(system, entry + "/device/ieee1284_id"));
    // The interface's parent is the USB device, whose descriptor holds the serial number.
    device.usbSerial = CleanDeviceId(ReadSmallFile(system, entry + "/device/../serial"))
                           .substr(0, kMaxDeviceIdFieldLength);
    return device;
}

std::vector<TUsblpDevice> ScanUsblpDevices(TUsblpSystem& system, const TUsblpFolders& folders) {
    std::vector<TUsblpDevice> devices;
    for (unsigned minor = 0; minor < kUsblpMinorLimit; ++minor) {
        if (auto device = ReadUsblpDevice(system, folders, minor))
            devices.push_back(std::move(*device));
    }
    return devices;
}

int OpenUsblpNode(TUsblpSystem& system, const TUsblpFolders& folders, const TUsblpDevice& listed) {
    const int fd = system.Open(listed.path, kOpenFlags);
    if (fd < 0) {
        const int error = errno;
        FailDeviceOpen(error, Describe(listed),
                       "install the udev rule of Printer Settings (docs/linux.md, \"The udev "
                       "rule\") and plug the printer in again, or " +
                           GroupRemedy("lp"));
        return -1;
    }
    // Checked once the node is held: a printer that changes after this loses the node.
    const auto now = ReadUsblpDevice(system, folders, listed.minor);
    if (!now || !now->SamePrinter(listed)) {
        system.Close(fd);
        SetThreadLastError(kErrorFileNotFound,
                           "the USB printer on " + Describe(listed) +
                               " is not the one listed: it was unplugged or another one took "
                               "its place; list the printers again");
        return -1;
    }
    return fd;
}

}  // namespace ps
