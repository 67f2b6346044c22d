// SPDX-License-Identifier: MIT
// Kernel services of a Linux machine: locale language, the private temporary folder, iconv
// code pages, local time, in-process shared memory, file descriptors with deadlines.
#pragma once

#include <map>
#include <memory>
#include <mutex>

#include "platform/Platform.h"
#include "platform/ProcessSharedMemory.h"
#include "platform/linux/UsblpLibrary.h"
#include "platform/linux/UsblpSystem.h"

namespace ps {

/// Maps a POSIX locale name ("zh_CN.UTF-8", "ja_JP") to a Windows language identifier.
std::uint16_t LangIdFromLocaleName(std::string_view locale);

/// The legacy code page name (for iconv) of a language identifier.
const char* LegacyCharsetForLangId(std::uint16_t langId);

/// Where the private temporary folder of user `uid` is, from the environment's values (null or
/// empty when unset): `xdgRuntimeDir`/printer-settings when that is set and absolute, else
/// `tmpDir` (or /tmp)/printer-settings-UID. No trailing separator.
std::string PrivateTempFolderPath(const char* xdgRuntimeDir, const char* tmpDir, unsigned long uid);

/// Makes `path` a folder of this user alone: creates it with mode 0700 when it is missing,
/// then refuses it unless it is a real folder (no link), owned by this user, with no rights
/// for anyone else. False with the reason in `problem`.
bool MakePrivateFolder(const std::string& path, std::string& problem);

/// The first separator of a date or time format of the C library ("%d.%m.%Y" -> '.'), when it
/// is one printable ASCII character; `fallback` otherwise.
char SeparatorOfFormat(std::string_view format, char fallback);

class TLinuxKernel : public TKernel {
public:
    /// Deadlines of reads and writes are measured on `clock` (the platform's; a steady clock
    /// of the kernel's own when none is given). Device nodes are reached through `devices`
    /// (the machine's kernel when none is given) in `folders`.
    explicit TLinuxKernel(TClock* clock = nullptr, std::unique_ptr<TUsblpSystem> devices = nullptr,
                          TUsblpFolders folders = {});
    ~TLinuxKernel() override;

    std::uint16_t GetSystemDefaultLangID() override;
    std::string GetTempPath() override;
    std::optional<std::string> DecodeLegacyText(std::string_view bytes,
                                                std::uint16_t langId) override;

    // POSIX mapping: the login session, tm_gmtoff, localtime_r and the LC_TIME locale,
    // /proc/self/exe, shared memory private to the process, file descriptors waited on with
    // poll (usblp nodes: a write counts once the printer has taken it; parallel ports: the lp
    // driver's own time-out), LPGETSTATUS of usblp devices, the usblp vendor library.
    std::uint32_t GetSessionId() override;
    std::int32_t GetTimeZoneBias() override;
    std::optional<TLocalTime> GetLocalTime() override;
    std::optional<TLocalTime> GetSystemTime() override;
    char GetDateSeparator() override;
    char GetTimeSeparator() override;
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
    bool SetIoTimeouts(TIoHandle handle, std::uint32_t readMs, std::uint32_t writeMs) override;
    bool CancelIo(TIoHandle handle) override;
    bool CloseHandle(TIoHandle handle) override;
    bool UsbPrintGetLptStatus(TIoHandle handle, std::uint8_t& status) override;
    /// Drive paths ("c:\dir\f") are taken from the root ("/dir/f").
    bool RegularFileExists(const std::string& path) override;
    /// The vendor library's contract on usblp devices (TUsblpLibrary); always there.
    TVendorUsbLibrary* LoadVendorUsbLibrary() override;

    /// The kernel calls of the device code.
    TUsblpSystem& Usblp() { return *m_pUsblp; }
    const TUsblpFolders& UsblpFolders() const { return m_UsbLibrary.Folders(); }

private:
    enum class TNode { Other, Usblp, Parallel };
    struct THandle {
        std::uint32_t readMs = kDefaultIoTimeoutMs;
        std::uint32_t writeMs = kDefaultIoTimeoutMs;
        TNode node = TNode::Other;
    };
    std::optional<THandle> HandleOf(TIoHandle handle);
    int OpenDevice(const std::string& path, int flags);
    // Waits until the descriptor is ready for `events` or the deadline passes (false).
    bool WaitReady(int fd, short events, std::uint64_t deadline);
    bool WriteParallel(int fd, std::span<const std::uint8_t> data, std::uint32_t timeoutMs,
                       std::uint32_t& bytesWritten);

    std::unique_ptr<TClock> m_pOwnClock;
    TClock& m_Clock;
    std::unique_ptr<TUsblpSystem> m_pUsblp;
    TUsblpLibrary m_UsbLibrary;
    TProcessSharedMemory m_SharedMemory;
    std::mutex m_Mutex;
    std::map<int, THandle> m_Handles;  // the open handles
};

/// A Win32-style device or file path as a POSIX path: "\\?\" and "\\.\" prefixes are
/// dropped, a port name ("LPT1", "COM2", "USB001") becomes its device file (COMn as
/// SerialDevicePath: COM101 is /dev/ttyUSB0), backslashes become slashes.
std::string PosixDevicePath(std::string_view path);

}  // namespace ps
