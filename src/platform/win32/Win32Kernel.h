// SPDX-License-Identifier: MIT
// Kernel services of a Windows machine: kernel32 through the "W" functions, UTF-8 converted at
// this edge, Win32 error numbers passed on unchanged.
#pragma once

#include <map>
#include <memory>
#include <mutex>

#include "platform/Platform.h"
#include "platform/win32/UsbPrintLibrary.h"
#include "platform/win32/Win32.h"

namespace ps::win32 {

/// The ANSI code page that holds the legacy texts of a language (936, 950, 932, else 1252).
UINT LegacyCodePageForLangId(std::uint16_t langId);

/// A locale's date or time separator text as one character: the text when it is one printable
/// ASCII character that is no letter or digit, `fallback` otherwise.
char SingleSeparator(std::wstring_view text, char fallback);

class TWin32Kernel : public TKernel {
public:
    /// Deadlines of reads and writes are measured on `clock`; `usb` is the USB printing class
    /// our own USB library works on when the vendor's is not installed.
    TWin32Kernel(TClock& clock, std::unique_ptr<TUsbPrintSystem> usb);
    ~TWin32Kernel() override;

    std::uint16_t GetSystemDefaultLangID() override;
    /// GetTempPathW in its long form (no 8.3 names), with its trailing backslash.
    std::string GetTempPath() override;
    /// MultiByteToWideChar in the language's code page; nothing for bytes it does not hold.
    std::optional<std::string> DecodeLegacyText(std::string_view bytes,
                                                std::uint16_t langId) override;

    std::uint32_t GetSessionId() override;
    std::int32_t GetTimeZoneBias() override;
    std::optional<TLocalTime> GetLocalTime() override;
    std::optional<TLocalTime> GetSystemTime() override;
    char GetDateSeparator() override;
    char GetTimeSeparator() override;
    std::string GetProgramPath() override;
    /// A named page-file-backed section: system-wide under its name (the vendor's port monitor
    /// opens it), refused when an existing one is smaller than `size`.
    std::unique_ptr<TSharedMemory> CreateSharedMemory(const std::string& name,
                                                      std::size_t size) override;
    std::unique_ptr<TSharedMemory> OpenSharedMemory(const std::string& name) override;
    /// CreateFileW, overlapped underneath so that every read and write ends at its deadline.
    TIoHandle OpenFileHandle(const std::string& path, bool read, bool write,
                             TFileCreation creation) override;
    bool ReadHandle(TIoHandle handle, std::span<std::uint8_t> buffer,
                    std::uint32_t& bytesRead) override;
    bool WriteHandle(TIoHandle handle, std::span<const std::uint8_t> data,
                     std::uint32_t& bytesWritten) override;
    bool SetIoTimeouts(TIoHandle handle, std::uint32_t readMs, std::uint32_t writeMs) override;
    bool CancelIo(TIoHandle handle) override;
    bool CloseHandle(TIoHandle handle) override;
    bool UsbPrintGetLptStatus(TIoHandle handle, std::uint8_t& status) override;
    bool RegularFileExists(const std::string& path) override;
    /// RUZ_EV.DLL when it is installed (and built for this processor), else our own library
    /// over the USB printing class.
    TVendorUsbLibrary* LoadVendorUsbLibrary() override;

    TUsbPrintSystem& UsbPrint() { return *m_pUsb; }

private:
    struct THandleState {
        std::uint32_t readMs = kDefaultIoTimeoutMs;
        std::uint32_t writeMs = kDefaultIoTimeoutMs;
        std::uint64_t position = 0;  // overlapped files keep no position of their own
    };
    THandleState StateOf(TIoHandle handle);
    void Advance(TIoHandle handle, std::uint64_t bytes);

    TClock& m_Clock;
    std::unique_ptr<TUsbPrintSystem> m_pUsb;
    std::mutex m_Mutex;
    std::map<TIoHandle, THandleState> m_Handles;  // the handles OpenFileHandle made
    std::once_flag m_UsbLoaded;
    std::unique_ptr<TVendorUsbLibrary> m_pUsbLibrary;
};

}  // namespace ps::win32
