// SPDX-License-Identifier: MIT
// The vendor USB port library's contract on the Linux printer-class driver (usblp): printers
// are the /dev/usb/lpN nodes in number order, named "USB001", "USB002" ... in that order.
#pragma once

#include <cstdint>
#include <mutex>
#include <span>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "platform/linux/UsblpSystem.h"

namespace ps {

/// One USB printer as enumeration found it.
struct TUsblpDevice {
    std::string path;      // "/dev/usb/lp0"
    std::string portName;  // "USB001": its position in the enumeration, never from the printer
    std::string deviceId;  // IEEE 1284 device ID, cleaned and bounded (see CleanDeviceId)
};

/// Where the printer nodes and their sysfs entries are.
struct TUsblpFolders {
    std::string devices = "/dev/usb";
    std::string sysfs = "/sys/class/usbmisc";
};

/// The USB printers present now: every lpN node (N < 16, the driver's limit) that exists, in
/// number order. The device ID comes from LPIOC_GET_DEVICE_ID, or from sysfs ieee1284_id when
/// the node cannot be opened (no right to, or another program holds it).
std::vector<TUsblpDevice> ScanUsblpDevices(TUsblpSystem& system, const TUsblpFolders& folders);

/// Writes all of `data` to a non-blocking descriptor until `timeoutMs` of `clock` has passed.
/// Returns the bytes written; -1 when the first write failed outright (errno kept in `error`).
std::int64_t UsblpWrite(TUsblpSystem& system, TClock& clock, int fd,
                        std::span<const std::uint8_t> data, std::uint32_t timeoutMs, int& error);

/// Reads what arrives first, at most `buffer.size()` bytes, waiting at most `timeoutMs`.
/// Returns the bytes read; 0 with `error` ETIMEDOUT when nothing came; -1 on failure.
std::int64_t UsblpRead(TUsblpSystem& system, TClock& clock, int fd, std::span<std::uint8_t> buffer,
                       std::uint32_t timeoutMs, int& error);

class TUsblpLibrary : public TVendorUsbLibrary {
public:
    TUsblpLibrary(TUsblpSystem& system, TClock& clock, TUsblpFolders folders = {});

    std::int32_t USBPrintRefresh() override;
    void GetUSBPrintFileName(std::int32_t index, char* buffer, std::uint32_t& size) override;
    void GetUSBHWID(std::int32_t index, char* portName, std::uint32_t portSize, char* deviceId,
                    std::uint32_t deviceIdSize) override;
    TIoHandle OpenPrinterUSBPort(std::int32_t portNumber) override;
    std::int32_t WritePort(TIoHandle handle, const std::uint8_t* data, std::int32_t length,
                           std::int32_t timeoutMs) override;
    std::int32_t ReadPort(TIoHandle handle, std::uint8_t* buffer, std::int32_t maxLength,
                          std::int32_t timeoutMs) override;
    void CloseUSBPort(TIoHandle handle) override;

private:
    TUsblpSystem& m_System;
    TClock& m_Clock;
    TUsblpFolders m_Folders;
    std::mutex m_Mutex;
    std::vector<TUsblpDevice> m_Devices;  // as the last refresh found them
};

}  // namespace ps
