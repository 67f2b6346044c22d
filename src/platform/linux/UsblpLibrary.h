// SPDX-License-Identifier: MIT
// The vendor USB port library's contract on the Linux printer-class driver (usblp): the
// printers of UsblpDevices.h, writes that count once the printer has taken the bytes.
#pragma once

#include <cstdint>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Platform.h"
#include "platform/linux/UsblpDevices.h"
#include "platform/linux/UsblpSystem.h"

namespace ps {

/// Writes all of `data` to a usblp node opened non-blocking and waits until the printer has
/// taken it, all within `timeoutMs` of `clock`. usblp accepts a write into its buffer and
/// returns at once, signals with POLLOUT that the transfer is over, and cancels a transfer
/// still in flight when the node is closed: so a write counts only once POLLOUT has come.
/// Returns the bytes the printer took (fewer than data.size() with `error` set when the
/// deadline passed, the printer went away or a write failed; a transfer that had not ended
/// is not counted); -1 when the first write failed outright.
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
    /// Opens the printer as the last refresh listed it (see OpenUsblpNode).
    TIoHandle OpenPrinterUSBPort(std::int32_t portNumber) override;
    /// Counts the bytes only once the printer has taken them (see UsblpWrite).
    std::int32_t WritePort(TIoHandle handle, const std::uint8_t* data, std::int32_t length,
                           std::int32_t timeoutMs) override;
    std::int32_t ReadPort(TIoHandle handle, std::uint8_t* buffer, std::int32_t maxLength,
                          std::int32_t timeoutMs) override;
    void CloseUSBPort(TIoHandle handle) override;

    /// The printer the last refresh found on minor `minor`, if any.
    std::optional<TUsblpDevice> Listed(unsigned minor);
    const TUsblpFolders& Folders() const { return m_Folders; }

private:
    TUsblpSystem& m_System;
    TClock& m_Clock;
    TUsblpFolders m_Folders;
    std::mutex m_Mutex;
    std::vector<TUsblpDevice> m_Devices;  // as the last refresh found them
};

}  // namespace ps
