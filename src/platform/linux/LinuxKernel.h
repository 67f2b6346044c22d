// SPDX-License-Identifier: MIT
// Kernel services of a Linux machine: locale language, $TMPDIR, iconv code pages.
#pragma once

#include "platform/Platform.h"

namespace ps {

/// Maps a POSIX locale name ("zh_CN.UTF-8", "ja_JP") to a Windows language identifier.
std::uint16_t LangIdFromLocaleName(std::string_view locale);

/// The legacy code page name (for iconv) of a language identifier.
const char* LegacyCharsetForLangId(std::uint16_t langId);

class TLinuxKernel : public TKernel {
public:
    std::uint16_t GetSystemDefaultLangID() override;
    std::string GetTempPath() override;
    std::optional<std::string> DecodeLegacyText(std::string_view bytes,
                                                std::uint16_t langId) override;

    // POSIX mapping: the login session, tm_gmtoff, /proc/self/exe, POSIX shared memory (names
    // with their separators made into "_"), file descriptors, LPGETSTATUS of usblp devices.
    std::uint32_t GetSessionId() override;
    std::int32_t GetTimeZoneBias() override;
    std::string GetProgramPath() override;
    std::unique_ptr<TSharedMemory> CreateSharedMemory(const std::string& name,
                                                      std::size_t size) override;
    std::unique_ptr<TSharedMemory> OpenSharedMemory(const std::string& name) override;
    TIoHandle OpenFileHandle(const std::string& path, bool read, bool write,
                             TFileCreation creation) override;
    bool ReadHandle(TIoHandle handle, std::span<std::uint8_t> buffer,
                    std::uint32_t& bytesRead) override;
    bool WriteHandle(TIoHandle handle, std::span<const std::uint8_t> data,
                     std::uint32_t& bytesWritten) override;
    bool CancelIo(TIoHandle handle) override;
    bool CloseHandle(TIoHandle handle) override;
    bool UsbPrintGetLptStatus(TIoHandle handle, std::uint8_t& status) override;
};

/// The POSIX name of a shared memory name ("Session\1\X" -> "/Session_1_X").
std::string PosixSharedMemoryName(std::string_view name);

/// A Win32-style device or file path as a POSIX path: "\\?\" and "\\.\" prefixes are
/// dropped, a port name ("LPT1", "COM2", "USB001") becomes its device file, backslashes become
/// slashes.
std::string PosixDevicePath(std::string_view path);

}  // namespace ps
