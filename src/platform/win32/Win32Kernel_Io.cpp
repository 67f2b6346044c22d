// SPDX-License-Identifier: MIT
// Files and devices of a Windows machine: CreateFileW, reads and writes with deadlines, the
// USB printing status request.
#include "base/os/Win32Text.h"
#include "platform/win32/UsbPrintSystem.h"
#include "platform/win32/Win32Errors.h"
#include "platform/win32/Win32Io.h"
#include "platform/win32/Win32Kernel.h"

namespace ps::win32 {
namespace {

HANDLE Native(TIoHandle handle) {
    return reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(handle));
}

}  // namespace

TIoHandle TWin32Kernel::OpenFileHandle(const std::string& path, bool read, bool write,
                                       TFileCreation creation) {
    const DWORD access = (read ? GENERIC_READ : 0) | (write ? GENERIC_WRITE : 0);
    const DWORD disposition =
        creation == TFileCreation::CreateAlways ? CREATE_ALWAYS : OPEN_EXISTING;
    const HANDLE handle =
        CreateFileW(Widen(path).c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    disposition, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OVERLAPPED, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        FailWithLastError();
        return kInvalidIoHandle;
    }
    const auto result = static_cast<TIoHandle>(reinterpret_cast<std::intptr_t>(handle));
    std::lock_guard lock(m_Mutex);
    m_Handles[result] = THandleState{};
    return result;
}

TWin32Kernel::THandleState TWin32Kernel::StateOf(TIoHandle handle) {
    std::lock_guard lock(m_Mutex);
    auto it = m_Handles.find(handle);
    return it == m_Handles.end() ? THandleState{} : it->second;
}

void TWin32Kernel::Advance(TIoHandle handle, std::uint64_t bytes) {
    std::lock_guard lock(m_Mutex);
    if (auto it = m_Handles.find(handle); it != m_Handles.end()) it->second.position += bytes;
}

bool TWin32Kernel::ReadHandle(TIoHandle handle, std::span<std::uint8_t> buffer,
                              std::uint32_t& bytesRead) {
    bytesRead = 0;
    const THandleState state = StateOf(handle);
    DWORD read = 0;
    const DWORD error = ReadWithin(Native(handle), buffer, state.position, m_Clock,
                                   m_Clock.NowMs() + state.readMs, read);
    bytesRead = read;
    Advance(handle, read);
    return error == ERROR_SUCCESS || Fail(error);
}

bool TWin32Kernel::WriteHandle(TIoHandle handle, std::span<const std::uint8_t> data,
                               std::uint32_t& bytesWritten) {
    bytesWritten = 0;
    const THandleState state = StateOf(handle);
    DWORD written = 0;
    const DWORD error = WriteWithin(Native(handle), data, state.position, m_Clock,
                                    m_Clock.NowMs() + state.writeMs, written);
    bytesWritten = written;
    Advance(handle, written);
    if (error == ERROR_TIMEOUT)
        return Fail(error, "the device took " + std::to_string(written) + " of " +
                               std::to_string(data.size()) + " bytes before its write deadline");
    return error == ERROR_SUCCESS || Fail(error);
}

bool TWin32Kernel::SetIoTimeouts(TIoHandle handle, std::uint32_t readMs, std::uint32_t writeMs) {
    DWORD flags = 0;
    if (!GetHandleInformation(Native(handle), &flags)) return FailWithLastError();
    std::lock_guard lock(m_Mutex);
    THandleState& state = m_Handles[handle];
    state.readMs = readMs;
    state.writeMs = writeMs;
    return true;
}

bool TWin32Kernel::CancelIo(TIoHandle handle) {
    return ::CancelIo(Native(handle)) || FailWithLastError();
}

bool TWin32Kernel::CloseHandle(TIoHandle handle) {
    {
        // Forgotten before the close: afterwards the value may already name a new handle.
        std::lock_guard lock(m_Mutex);
        m_Handles.erase(handle);
    }
    if (handle == kInvalidIoHandle) return Fail(ERROR_INVALID_HANDLE);
    return ::CloseHandle(Native(handle)) || FailWithLastError();
}

bool TWin32Kernel::UsbPrintGetLptStatus(TIoHandle handle, std::uint8_t& status) {
    std::uint8_t reply = 0;
    DWORD returned = 0;
    const DWORD error =
        ControlWithin(Native(handle), kIoctlUsbPrintGetLptStatus, {}, std::span(&reply, 1), m_Clock,
                      m_Clock.NowMs() + StateOf(handle).readMs, returned);
    if (error != ERROR_SUCCESS) return Fail(error);
    if (returned < 1) return Fail(ERROR_INVALID_FUNCTION);
    status = reply;
    return true;
}

}  // namespace ps::win32
