// SPDX-License-Identifier: MIT
// The print spooler interface: printers by name, their details, printer data and raw jobs.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/PlatformTypes.h"

namespace ps {

/// How a printer is opened. Default is the right to print and to read its details; Full is the
/// administrator's right (printer data writes, the port-monitor trigger). Full fails for a
/// user without the right to administer the printer.
enum class TPrinterAccess { Default, Full };

/// Printer attribute bit: the user chose to use the printer off-line.
inline constexpr std::uint32_t kPrinterAttributeWorkOffline = 0x400;

/// Printer data value types.
inline constexpr std::uint32_t kRegNone = 0;
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegDword = 4;

/// Printer information, level 2 (the fields this program reads).
struct TPrinterInfo2 {
    std::string printerName;
    std::string portName;
    std::string driverName;
    std::uint32_t attributes = 0;
    std::uint32_t status = 0;
    std::uint32_t jobs = 0;
};

/// Driver information, level 6 (the fields this program reads).
struct TDriverInfo6 {
    std::string driverName;
    std::vector<std::string> dependentFiles;  // full paths, in the driver's order
};

/// Job information, level 1.
struct TJobInfo1 {
    std::uint32_t jobId = 0;
    std::string printerName;
    std::string document;
    std::string dataType;
    std::uint32_t status = 0;
};

/// An open printer (or, opened with an empty name, the local print server). Closing is
/// destroying. Every method may block on the spooler; all are called on the thread that
/// opened the handle. Failures set the thread's last-error value.
class TPrinterHandle {
public:
    virtual ~TPrinterHandle() = default;

    /// Level 2 details. Fails (nothing) on the print server handle.
    virtual std::optional<TPrinterInfo2> GetInfo2() = 0;

    /// Level 6 driver details for an environment ("" = the current one). Fails when the
    /// printer's driver is not installed.
    virtual std::optional<TDriverInfo6> GetDriverInfo6(const std::string& environment) = 0;

    /// Up to `count` queued jobs starting at position `firstJob`; nothing when the spooler
    /// refuses (the print server handle, a broken queue). A backend asks the spooler how much
    /// room the answer needs before it fetches it, so no fixed buffer turns a queue with long
    /// names into a failure; callers take "nothing" as "cannot tell", never as an empty queue.
    virtual std::optional<std::vector<TJobInfo1>> GetJobs(std::uint32_t firstJob,
                                                          std::uint32_t count) = 0;

    /// Reads the printer data value `valueName` into `buffer`. `type` and `needed` are set
    /// whenever the value exists; kErrorMoreData when the buffer is too small (nothing
    /// copied), kErrorFileNotFound when the value does not exist. The port-monitor trigger is
    /// such a query: it blocks until the vendor's port monitor has answered.
    virtual TSysError GetData(const std::string& valueName, std::uint32_t& type,
                              std::span<std::uint8_t> buffer, std::uint32_t& needed) = 0;

    /// Stores a printer data value; kErrorAccessDenied unless the printer was opened with
    /// full access. The value persists with the printer.
    virtual TSysError SetData(const std::string& valueName, std::uint32_t type,
                              std::span<const std::uint8_t> data) = 0;

    /// Starts a document; returns the job number, 0 when it fails.
    virtual std::uint32_t StartDocument(const std::string& documentName,
                                        const std::string& outputFile,
                                        const std::string& dataType) = 0;
    virtual bool StartPage() = 0;
    /// Writes raw document data; fails with kErrorSplNoStartDoc outside a document.
    virtual bool WriteData(std::span<const std::uint8_t> data, std::uint32_t& written) = 0;
    virtual bool EndPage() = 0;
    /// Ends the document: the spooler then sends the job to the printer's port (or holds it
    /// while the printer is off-line).
    virtual bool EndDocument() = 0;
};

/// The print spooler of the local machine.
class TSpooler {
public:
    virtual ~TSpooler() = default;

    /// Opens a printer by name (names compare without regard to letter case). An empty name
    /// opens the local print server and succeeds. Nothing (and the last-error value set) when
    /// the printer does not exist or the access is refused. May block; user-interface thread.
    virtual std::unique_ptr<TPrinterHandle> Open(const std::string& printerName,
                                                 TPrinterAccess access) = 0;

    /// The printer driver directory of the local machine for an environment ("" = current).
    virtual std::optional<std::string> GetDriverDirectory(const std::string& environment) = 0;

    /// The names of the printers the spooler knows, in its order (printer enumeration, level
    /// 1 names). Default: nothing (kErrorNotSupported), for spoolers that cannot list them.
    virtual std::optional<std::vector<std::string>> EnumPrinterNames();

    /// A text that names the device the printer reaches, the same for every printer (and every
    /// spelling of a name) that reaches it, so one lock can keep their exchanges apart: the
    /// resolved USB device, the network address and port. Nothing when the spooler cannot
    /// tell (the default), or for a printer it does not know. May block; user-interface thread.
    virtual std::optional<std::string> GetDeviceKey(const std::string& printerName);
};

}  // namespace ps
