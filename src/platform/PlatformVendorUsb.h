// SPDX-License-Identifier: MIT
// The vendor's USB port library: USB printer enumeration and raw byte exchange.
#pragma once

#include <cstdint>

#include "platform/PlatformTypes.h"

namespace ps {

/// The vendor USB port library, loaded through TKernel::LoadVendorUsbLibrary. Texts are
/// zero-terminated 8-bit strings. Thread-safe: the write-then-read worker uses it while the
/// user-interface thread may enumerate. Enumeration indices stay valid until the next refresh.
class TVendorUsbLibrary {
public:
    virtual ~TVendorUsbLibrary() = default;

    /// Re-enumerates the attached USB printers and returns how many there are. May block
    /// briefly while devices are asked.
    virtual std::int32_t USBPrintRefresh() = 0;

    /// Stores the device path of printer `index` (openable with TKernel::OpenFileHandle) in
    /// `buffer`, which holds `size` bytes. When the path does not fit, nothing is stored and
    /// `size` is set to the bytes needed; otherwise `size` is left as it is. An index outside
    /// the enumeration leaves the buffer untouched.
    virtual void GetUSBPrintFileName(std::int32_t index, char* buffer, std::uint32_t& size) = 0;

    /// Stores the spooler port name of printer `index` ("USB001") and its IEEE 1284 device ID
    /// ("MFG:...;MDL:...;"), each cut to fit its buffer with the terminator.
    virtual void GetUSBHWID(std::int32_t index, char* portName, std::uint32_t portSize,
                            char* deviceId, std::uint32_t deviceIdSize) = 0;

    /// Opens printer `portNumber` - 1 of the enumeration. The handle is a kernel I/O handle
    /// (TKernel::CancelIo and TKernel::CloseHandle accept it); kInvalidIoHandle on failure.
    virtual TIoHandle OpenPrinterUSBPort(std::int32_t portNumber) = 0;

    /// Writes `length` bytes, blocking at most `timeoutMs`; returns the bytes written, or -2
    /// when the write failed outright.
    virtual std::int32_t WritePort(TIoHandle handle, const std::uint8_t* data, std::int32_t length,
                                   std::int32_t timeoutMs) = 0;

    /// Reads up to `maxLength` bytes, blocking at most `timeoutMs`. Sets the thread's
    /// last-error value: kErrorSuccess when bytes were stored (the count is returned),
    /// kErrorTimeout when nothing arrived in time (0 returned), another code on failure.
    virtual std::int32_t ReadPort(TIoHandle handle, std::uint8_t* buffer, std::int32_t maxLength,
                                  std::int32_t timeoutMs) = 0;

    /// Closes a handle from OpenPrinterUSBPort.
    virtual void CloseUSBPort(TIoHandle handle) = 0;
};

}  // namespace ps
