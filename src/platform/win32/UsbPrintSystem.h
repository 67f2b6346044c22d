// SPDX-License-Identifier: MIT
// The seam between our USB printer library and Windows: the calls it makes on the USB printing
// class (device interface enumeration, opening a device, control requests, reads and writes
// with deadlines). Tests put a scripted fake driver behind it.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "platform/win32/Win32.h"

namespace ps::win32 {

/// The USB printing class control request for the printer's IEEE 1284 device ID: two bytes of
/// length (big-endian, counting themselves), then the ID.
inline constexpr DWORD kIoctlUsbPrintGet1284Id = 0x220034;
/// The USB printing class status request: one status byte.
inline constexpr DWORD kIoctlUsbPrintGetLptStatus = 0x220030;

/// One present interface of the USB printer device class.
struct TUsbPrintInterface {
    std::string path;      // the device path, openable with CreateFileW
    std::string portName;  // the spooler's port of the device ("USB001"), empty when unknown
};

/// The calls of the USB printer library, with Win32 meaning: failures return the Win32 error.
/// Thread-safe.
class TUsbPrintSystem {
public:
    virtual ~TUsbPrintSystem() = default;
    /// The interfaces present now (SetupDi, DIGCF_PRESENT), in the system's order.
    virtual std::vector<TUsbPrintInterface> EnumerateInterfaces() = 0;
    /// Opens a device for overlapped reads and writes, shared for reading and writing;
    /// INVALID_HANDLE_VALUE with GetLastError() set on failure.
    virtual HANDLE Open(const std::string& path) = 0;
    virtual void Close(HANDLE handle) = 0;
    /// A control request, finished within `timeoutMs`.
    virtual DWORD Control(HANDLE handle, DWORD code, std::span<std::uint8_t> out,
                          std::uint32_t timeoutMs, DWORD& returned) = 0;
    /// Reads what arrives first within `timeoutMs`: ERROR_SUCCESS with bytes, ERROR_TIMEOUT
    /// when nothing came, another error when the read failed.
    virtual DWORD Read(HANDLE handle, std::span<std::uint8_t> buffer, std::uint32_t timeoutMs,
                       DWORD& bytesRead) = 0;
    /// Writes all of `data` within `timeoutMs`: ERROR_SUCCESS, or the error with the count of
    /// what went out.
    virtual DWORD Write(HANDLE handle, std::span<const std::uint8_t> data, std::uint32_t timeoutMs,
                        DWORD& bytesWritten) = 0;
};

/// The machine's USB printing class; deadlines on `clock`.
std::unique_ptr<TUsbPrintSystem> MakeUsbPrintSystem(TClock& clock);

}  // namespace ps::win32
