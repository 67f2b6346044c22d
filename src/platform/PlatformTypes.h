// SPDX-License-Identifier: MIT
// Types shared by the platform interfaces: error codes, the thread's last-error value, handles.
#pragma once

#include <cstdint>
#include <string>

namespace ps {

/// Environment variable naming an emulation directory; when set, the emulated platform runs.
inline constexpr const char* kEmulationVariable = "PRINTER_SETTINGS_EMULATION";

/// A system error code. Backends convert their own errors into these values once, at their
/// edge; the numbers are the Win32 ones, because printer code compares against them (1460).
using TSysError = std::uint32_t;

inline constexpr TSysError kErrorSuccess = 0;
inline constexpr TSysError kErrorInvalidFunction = 1;
inline constexpr TSysError kErrorFileNotFound = 2;
inline constexpr TSysError kErrorAccessDenied = 5;
inline constexpr TSysError kErrorInvalidHandle = 6;
inline constexpr TSysError kErrorWriteFault = 29;
inline constexpr TSysError kErrorReadFault = 30;
inline constexpr TSysError kErrorGenFailure = 31;
inline constexpr TSysError kErrorNotSupported = 50;
inline constexpr TSysError kErrorInvalidParameter = 87;
inline constexpr TSysError kErrorDiskFull = 112;
inline constexpr TSysError kErrorInsufficientBuffer = 122;
inline constexpr TSysError kErrorBusy = 170;
inline constexpr TSysError kErrorModNotFound = 126;
inline constexpr TSysError kErrorMoreData = 234;
inline constexpr TSysError kErrorTimeout = 1460;
inline constexpr TSysError kErrorUnknownPrinterDriver = 1797;
inline constexpr TSysError kErrorInvalidPrinterName = 1801;
inline constexpr TSysError kErrorSplNoStartDoc = 3003;

/// The calling thread's last-error value. Backends set it when a call fails (and the vendor
/// USB library's ReadPort sets it on every call); callers may clear it before a call and
/// test it after, as the Win32 GetLastError/SetLastError pair is used.
TSysError GetThreadLastError();
void SetThreadLastError(TSysError error);

/// Sets the last-error value with a text that says more than the code (which path, why);
/// the plain SetThreadLastError clears that text.
void SetThreadLastError(TSysError error, std::string detail);

/// The calling thread's last error in words: the detail given with it, else the meaning of
/// the code ("not supported on this platform" for kErrorNotSupported).
std::string ThreadLastErrorText();

/// The meaning of a system error code in words.
std::string SysErrorText(TSysError error);

/// A kernel I/O handle: a file, a port or USB device opened through the kernel, or a port
/// opened by the vendor USB library. Opaque; each backend numbers its own handles.
enum class TIoHandle : std::intptr_t { Invalid = -1 };
inline constexpr TIoHandle kInvalidIoHandle = TIoHandle::Invalid;

/// The path separator of the machine the program is built for.
#ifdef _WIN32
inline constexpr char kPathDelimiter = '\\';
#else
inline constexpr char kPathDelimiter = '/';
#endif

}  // namespace ps
