// SPDX-License-Identifier: MIT
// The platform interfaces: everything the core asks of the operating system goes through here.
// Method names keep clear of the Win32 header macros (CreateFile, OpenPrinter, StartDoc ...),
// so a Win32 backend can include <windows.h> beside this header.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/PlatformDesktop.h"
#include "platform/PlatformSpooler.h"
#include "platform/PlatformTypes.h"
#include "platform/PlatformVendorUsb.h"

// <windows.h> renames GetTempPath to GetTempPathW; a file that included it first still sees
// TKernel's own name.
#ifdef GetTempPath
#undef GetTempPath
#endif

namespace ps {

/// A mapped view of named shared memory; unmapped when destroyed.
class TMappedView {
public:
    virtual ~TMappedView() = default;
    virtual std::span<std::uint8_t> Bytes() = 0;
};

/// Named shared memory (page-file backed); the handle is closed when this object is
/// destroyed, and the memory itself goes when its last handle is closed.
class TSharedMemory {
public:
    virtual ~TSharedMemory() = default;
    /// Maps all of it for reading and writing; nothing (last-error value set) on failure.
    virtual std::unique_ptr<TMappedView> Map() = 0;
};

/// How TKernel::OpenFileHandle treats a path that exists or does not.
enum class TFileCreation { OpenExisting, CreateAlways };

/// How long ReadHandle and WriteHandle may block on a handle until SetIoTimeouts says
/// otherwise, in milliseconds of the platform clock.
inline constexpr std::uint32_t kDefaultIoTimeoutMs = 30000;

/// A local calendar date and time, with the fields of the Win32 SYSTEMTIME.
struct TLocalTime {
    std::uint16_t year = 1970;
    std::uint16_t month = 1;      // 1 = January
    std::uint16_t dayOfWeek = 4;  // 0 = Sunday
    std::uint16_t day = 1;
    std::uint16_t hour = 0;
    std::uint16_t minute = 0;
    std::uint16_t second = 0;
    std::uint16_t milliseconds = 0;
    bool operator==(const TLocalTime&) const = default;
};

/// Kernel services. All methods are called from the user-interface thread unless noted.
///
/// Contract for every backend: a method the backend does not provide fails with
/// kErrorNotSupported in the thread's last-error value (ThreadLastErrorText() then reads
/// "not supported on this platform"), never with a code that reads as a missing printer,
/// file or device. No call blocks longer than its deadline on the platform clock.
class TKernel {
public:
    virtual ~TKernel() = default;

    /// The system default language identifier (Windows LANGID meaning, e.g. 0x0804).
    virtual std::uint16_t GetSystemDefaultLangID() = 0;

    /// The user's temporary folder, ending with the path separator. Where other users could
    /// reach it, it is a folder of this user alone, made and checked before it is returned;
    /// empty (last-error value and its text set) when it cannot be used safely.
    virtual std::string GetTempPath() = 0;

    /// Decodes 8-bit text in the legacy code page of the given language to UTF-8.
    /// Returns nothing when the bytes cannot be decoded. May be called from any thread.
    virtual std::optional<std::string> DecodeLegacyText(std::string_view bytes,
                                                        std::uint16_t langId) = 0;

    // The methods below have defaults that fail with kErrorNotSupported, so a test double
    // needs only what it uses. Every failure sets the thread's last-error value.

    /// The terminal-services session number of this process. Never fails (0 when unknown).
    virtual std::uint32_t GetSessionId();

    /// The time-zone bias in minutes: UTC = local time + bias (UTC+8 gives -480, UTC+5:30
    /// gives -330), standard time only as the Win32 Bias member. 0 when not supported.
    virtual std::int32_t GetTimeZoneBias();

    /// The local date and time now (daylight saving applied). Nothing when not supported.
    /// Any thread.
    virtual std::optional<TLocalTime> GetLocalTime();

    /// The UTC date and time now (the Win32 GetSystemTime). Nothing when not supported.
    /// Any thread.
    virtual std::optional<TLocalTime> GetSystemTime();

    /// The user's date separator ('/' in 2024/05/01) and time separator (':' in 12:30:00):
    /// one character each, '/' and ':' unless the user's settings say otherwise.
    virtual char GetDateSeparator();
    virtual char GetTimeSeparator();

    /// The program's own file path (options beside the program); empty when unknown.
    virtual std::string GetProgramPath();

    /// Creates named shared memory of `size` bytes (zero-filled), or opens it when the name
    /// already exists; an existing block smaller than `size` is refused
    /// (kErrorInsufficientBuffer). On Windows it is the system's named section, which the
    /// vendor's port monitor opens; elsewhere it is private to this process (the port monitor
    /// runs in-process there). Any thread.
    virtual std::unique_ptr<TSharedMemory> CreateSharedMemory(const std::string& name,
                                                              std::size_t size);
    /// Opens existing named shared memory; nothing (kErrorFileNotFound) when there is none.
    virtual std::unique_ptr<TSharedMemory> OpenSharedMemory(const std::string& name);

    /// Opens a file or device for synchronous I/O, shared for reading and writing, normal
    /// attributes. Paths may be "\\?\" or "\\.\" device paths (ports such as LPT1, USB
    /// printer device paths from the vendor library) or files. kInvalidIoHandle on failure.
    virtual TIoHandle OpenFileHandle(const std::string& path, bool read, bool write,
                                     TFileCreation creation);
    /// Reads what is there (up to the buffer's size), waiting for the first byte at most the
    /// handle's read deadline: kErrorTimeout when nothing came in time. Any thread, one call
    /// per handle at a time.
    virtual bool ReadHandle(TIoHandle handle, std::span<std::uint8_t> buffer,
                            std::uint32_t& bytesRead);
    /// Writes all of `data` within the handle's write deadline. Anything less is a failure
    /// (kErrorTimeout when the deadline passed) with `bytesWritten` saying how much got out.
    virtual bool WriteHandle(TIoHandle handle, std::span<const std::uint8_t> data,
                             std::uint32_t& bytesWritten);
    /// Sets the read and write deadlines of a handle, in milliseconds of the platform clock
    /// (kDefaultIoTimeoutMs each until set), as SetCommTimeouts does for a port.
    virtual bool SetIoTimeouts(TIoHandle handle, std::uint32_t readMs, std::uint32_t writeMs);
    /// Cancels the calling thread's pending I/O on a handle (true when the handle is valid).
    virtual bool CancelIo(TIoHandle handle);
    /// Closes any kernel I/O handle, including those of the vendor USB library.
    virtual bool CloseHandle(TIoHandle handle);
    /// The USB printing class status request (control code 0x220030) on an opened USB
    /// printer device: one status byte. Fails on other handles.
    virtual bool UsbPrintGetLptStatus(TIoHandle handle, std::uint8_t& status);

    /// True when `path` names a regular file (a folder does not count). Drive paths such as
    /// "c:\RORirad" mean the machine's own place for them (Linux: the root of the file
    /// system; the emulation: its drives/ folder). Default: false.
    virtual bool RegularFileExists(const std::string& path);

    /// The vendor USB port library, loaded on the first call and kept until the platform
    /// goes; nullptr (kErrorModNotFound) when it is not installed. Any thread.
    virtual TVendorUsbLibrary* LoadVendorUsbLibrary();
};

/// Closes a kernel I/O handle when it goes out of scope.
class TScopedIoHandle {
public:
    TScopedIoHandle() = default;
    explicit TScopedIoHandle(TIoHandle handle) : m_Handle(handle) {}
    ~TScopedIoHandle() { Reset(); }
    TScopedIoHandle(const TScopedIoHandle&) = delete;
    TScopedIoHandle& operator=(const TScopedIoHandle&) = delete;
    TIoHandle Get() const { return m_Handle; }
    bool Valid() const { return m_Handle != kInvalidIoHandle; }
    void Reset();

private:
    TIoHandle m_Handle = kInvalidIoHandle;
};

/// The clock every sleep, time-out and timer of the core and of the emulator goes through.
/// Thread-safe: the user-interface thread and a worker may use it at once.
class TClock {
public:
    virtual ~TClock() = default;
    /// Monotonic milliseconds since an arbitrary start.
    virtual std::uint64_t NowMs() = 0;
    /// Blocks the calling thread for ms milliseconds of this clock's time.
    virtual void Sleep(std::uint32_t ms) = 0;
};

/// Real time sped up by a factor: Sleep(ms) blocks ms / speed real milliseconds and NowMs
/// advances speed times faster than real time. Speed 1 is the plain steady clock.
class TScaledClock : public TClock {
public:
    explicit TScaledClock(double speed = 1.0);
    std::uint64_t NowMs() override;
    void Sleep(std::uint32_t ms) override;
    double Speed() const { return m_dSpeed; }

private:
    double m_dSpeed;
    std::int64_t m_iStartNs;
};

/// Time that passes only when someone sleeps: Sleep(ms) moves the clock on by ms at once and
/// returns. Time-outs and delays then follow from the order of calls alone, which makes tests
/// and emulations independent of the machine's speed. Thread-safe.
class TVirtualClock : public TClock {
public:
    std::uint64_t NowMs() override { return m_iNowMs.load(); }
    void Sleep(std::uint32_t ms) override;

private:
    std::atomic<std::uint64_t> m_iNowMs{0};
};

/// One platform backend: the set of services for the running machine.
class TPlatform {
public:
    virtual ~TPlatform() = default;
    virtual TKernel& Kernel() = 0;
    virtual TClock& Clock() = 0;
    /// Default: a spooler, shell and single-instance test that are not available here (every
    /// call fails and says once on standard error how to use the emulated platform instead).
    virtual TSpooler& Spooler();
    virtual TShell& Shell();
    virtual TSingleInstance& SingleInstance();
};

/// The platform the process runs on. Installed once at start (see PlatformSelect.h).
TPlatform& Platform();

/// True once a platform is installed (code that also runs without one asks first).
bool PlatformInstalled();

/// Installs the platform; the previous one is destroyed. Tests install their own.
void InstallPlatform(std::unique_ptr<TPlatform> platform);

/// The system language as the program sees it: an override set by tools, else the kernel's.
std::uint16_t SystemLanguageId();
void OverrideSystemLanguageId(std::optional<std::uint16_t> langId);

}  // namespace ps
