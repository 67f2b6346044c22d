// SPDX-License-Identifier: MIT
// The vendor USB port library's functions, loaded through the platform on first use. Without
// the library every call fails softly: no printers, no handle, -2 for writes, and reads that
// leave the failed load's code as the thread's last-error value (kErrorModNotFound, or
// kErrorNotSupported where the platform has no such library).
#pragma once

#include <cstdint>

#include "platform/PlatformTypes.h"

namespace ps {

/// Buffer size the callers give for paths, port names and device IDs.
inline constexpr std::uint32_t kUsbTextBufferSize = 1024;
/// The write time-out every caller passes.
inline constexpr std::int32_t kUsbWriteTimeoutMs = 2000;
/// WritePort's distinct failure value.
inline constexpr std::int32_t kUsbWriteFailed = -2;

/// True when the library is installed (loads it when not yet loaded).
bool VendorUsbLibraryAvailable();

std::int32_t USBPrintRefresh();
void GetUSBPrintFileName(std::int32_t index, char* buffer, std::uint32_t& size);
void GetUSBHWID(std::int32_t index, char* portName, std::uint32_t portSize, char* deviceId,
                std::uint32_t deviceIdSize);
/// `portNumber` is the enumeration index + 1; kInvalidIoHandle (-1) on failure.
TIoHandle OpenPrinterUSBPort(std::int32_t portNumber);
std::int32_t WritePort(TIoHandle handle, const std::uint8_t* data, std::int32_t length,
                       std::int32_t timeoutMs);
/// Sets the thread's last-error value: 0 when bytes were read, kErrorTimeout (1460) when none
/// arrived in time.
std::int32_t ReadPort(TIoHandle handle, std::uint8_t* buffer, std::int32_t maxLength,
                      std::int32_t timeoutMs);
void CloseUSBPort(TIoHandle handle);

}  // namespace ps
