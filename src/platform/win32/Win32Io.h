// SPDX-License-Identifier: MIT
// Overlapped I/O that ends at a deadline of the platform clock: the reads and writes of files,
// ports and USB printers, and their control requests.
#pragma once

#include <cstdint>
#include <span>

#include "platform/Platform.h"
#include "platform/win32/Win32.h"

namespace ps::win32 {

/// Reads what arrives first on a handle opened with FILE_FLAG_OVERLAPPED, at most
/// `buffer.size()` bytes at file position `offset`, waiting until `deadlineMs` of `clock`.
/// ERROR_SUCCESS with the bytes read (0 at the end of a file); ERROR_TIMEOUT when nothing
/// came in time (the request is cancelled, so no late completion writes into the buffer);
/// another Win32 error when the read failed. A device that completes a read with no bytes is
/// asked again until the deadline.
DWORD ReadWithin(HANDLE handle, std::span<std::uint8_t> buffer, std::uint64_t offset, TClock& clock,
                 std::uint64_t deadlineMs, DWORD& bytesRead);

/// Writes all of `data` at `offset` (a short write goes on with the rest) until `deadlineMs`.
/// ERROR_SUCCESS when all went out; ERROR_TIMEOUT or the write's error otherwise, with
/// `bytesWritten` saying how much did.
DWORD WriteWithin(HANDLE handle, std::span<const std::uint8_t> data, std::uint64_t offset,
                  TClock& clock, std::uint64_t deadlineMs, DWORD& bytesWritten);

/// DeviceIoControl on an overlapped handle, finished by `deadlineMs` (cancelled after it).
DWORD ControlWithin(HANDLE handle, DWORD code, std::span<const std::uint8_t> in,
                    std::span<std::uint8_t> out, TClock& clock, std::uint64_t deadlineMs,
                    DWORD& returned);

}  // namespace ps::win32
