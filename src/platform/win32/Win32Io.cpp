// SPDX-License-Identifier: MIT
// Overlapped I/O with deadlines.
#include "platform/win32/Win32Io.h"

#include <algorithm>
#include <functional>

#include "platform/win32/Win32Handles.h"

namespace ps::win32 {
namespace {

constexpr std::uint64_t kSliceMs = 20;

// One overlapped request: `start` issues it; waits for it until the deadline, cancels it
// after, and always collects it, so the buffer is no longer the system's when this returns.
DWORD Transfer(HANDLE handle, std::uint64_t offset, TClock& clock, std::uint64_t deadlineMs,
               const std::function<BOOL(OVERLAPPED&)>& start, DWORD& moved) {
    moved = 0;
    TKernelHandle event(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!event) return GetLastError();
    OVERLAPPED request{};
    request.Offset = static_cast<DWORD>(offset);
    request.OffsetHigh = static_cast<DWORD>(offset >> 32);
    request.hEvent = event.Get();
    if (!start(request)) {
        const DWORD error = GetLastError();
        if (error != ERROR_IO_PENDING) return error;
    }
    bool done = false;
    for (;;) {
        const std::uint64_t now = clock.NowMs();
        const auto slice =
            static_cast<DWORD>(now >= deadlineMs ? 0 : std::min(deadlineMs - now, kSliceMs));
        if (WaitForSingleObject(event.Get(), slice) == WAIT_OBJECT_0) {
            done = true;
            break;
        }
        if (now >= deadlineMs) break;
        // A clock that moves only when slept on is slept on for the slice that found nothing.
        if (clock.NowMs() == now) clock.Sleep(slice);
    }
    if (!done) CancelIoEx(handle, &request);
    if (GetOverlappedResult(handle, &request, &moved, TRUE)) return ERROR_SUCCESS;
    const DWORD error = GetLastError();
    return error == ERROR_OPERATION_ABORTED && !done ? ERROR_TIMEOUT : error;
}

}  // namespace

DWORD ReadWithin(HANDLE handle, std::span<std::uint8_t> buffer, std::uint64_t offset, TClock& clock,
                 std::uint64_t deadlineMs, DWORD& bytesRead) {
    bytesRead = 0;
    if (buffer.empty()) return ERROR_SUCCESS;
    const auto size = static_cast<DWORD>(std::min<std::size_t>(buffer.size(), 0x7FFFFFFF));
    for (;;) {
        const DWORD error = Transfer(
            handle, offset, clock, deadlineMs,
            [&](OVERLAPPED& request) {
                return ReadFile(handle, buffer.data(), size, nullptr, &request);
            },
            bytesRead);
        if (error == ERROR_HANDLE_EOF) return ERROR_SUCCESS;  // a file read to its end
        if (error != ERROR_SUCCESS || bytesRead > 0) return error;
        const std::uint64_t now = clock.NowMs();
        if (now >= deadlineMs) return ERROR_TIMEOUT;
        clock.Sleep(static_cast<std::uint32_t>(std::min(deadlineMs - now, kSliceMs)));
    }
}

DWORD WriteWithin(HANDLE handle, std::span<const std::uint8_t> data, std::uint64_t offset,
                  TClock& clock, std::uint64_t deadlineMs, DWORD& bytesWritten) {
    bytesWritten = 0;
    while (bytesWritten < data.size()) {
        const auto rest = data.subspan(bytesWritten);
        const auto size = static_cast<DWORD>(std::min<std::size_t>(rest.size(), 0x7FFFFFFF));
        DWORD moved = 0;
        const DWORD error = Transfer(
            handle, offset + bytesWritten, clock, deadlineMs,
            [&](OVERLAPPED& request) {
                return WriteFile(handle, rest.data(), size, nullptr, &request);
            },
            moved);
        bytesWritten += moved;
        if (error != ERROR_SUCCESS) return error;
        if (moved == 0) {  // the device took nothing this time: ask again after a slice
            const std::uint64_t now = clock.NowMs();
            if (now >= deadlineMs) return ERROR_TIMEOUT;
            clock.Sleep(static_cast<std::uint32_t>(std::min(deadlineMs - now, kSliceMs)));
        }
    }
    return ERROR_SUCCESS;
}

DWORD ControlWithin(HANDLE handle, DWORD code, std::span<const std::uint8_t> in,
                    std::span<std::uint8_t> out, TClock& clock, std::uint64_t deadlineMs,
                    DWORD& returned) {
    return Transfer(
        handle, 0, clock, deadlineMs,
        [&](OVERLAPPED& request) {
            return DeviceIoControl(handle, code, const_cast<std::uint8_t*>(in.data()),
                                   static_cast<DWORD>(in.size()), out.data(),
                                   static_cast<DWORD>(out.size()), nullptr, &request);
        },
        returned);
}

}  // namespace ps::win32
