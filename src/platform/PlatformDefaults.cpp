// SPDX-License-Identifier: MIT
// Failing defaults of the platform services, the thread's last-error value, handle scopes.
#include <iostream>
#include <mutex>
#include <set>

#include "platform/Platform.h"

namespace ps {
namespace {

thread_local TSysError t_LastError = kErrorSuccess;
thread_local std::string t_LastErrorDetail;

// Says once per service, on standard error, that the service needs the emulated platform.
void ReportUnavailable(const char* service) {
    static std::mutex mutex;
    static std::set<std::string> reported;
    std::lock_guard lock(mutex);
    if (!reported.insert(service).second) return;
    std::cerr << "Printer Settings: the " << service
              << " is not supported on this platform yet; set " << kEmulationVariable
              << " to an emulation directory (see docs/emulation.md)." << std::endl;
}

// A kernel method this backend does not provide.
bool NotSupported() {
    SetThreadLastError(kErrorNotSupported);
    return false;
}

template <typename T>
T Unavailable(const char* service, T result) {
    ReportUnavailable(service);
    SetThreadLastError(kErrorNotSupported);
    return result;
}

class TUnavailableSpooler : public TSpooler {
public:
    std::unique_ptr<TPrinterHandle> Open(const std::string&, TPrinterAccess) override {
        return Unavailable<std::unique_ptr<TPrinterHandle>>("print spooler", nullptr);
    }
    std::optional<std::string> GetDriverDirectory(const std::string&) override {
        return Unavailable<std::optional<std::string>>("print spooler", std::nullopt);
    }
    std::optional<std::vector<std::string>> EnumPrinterNames() override {
        return Unavailable<std::optional<std::vector<std::string>>>("print spooler", std::nullopt);
    }
};

class TUnavailableShell : public TShell {
public:
    bool OpenUrl(const std::string&) override { return Unavailable("desktop shell", false); }
};

class TNoWindowRegistration : public TWindowClassRegistration {};

// Without a desktop to ask, no other instance is ever seen.
class TProcessOnlySingleInstance : public TSingleInstance {
public:
    bool FindWindowClass(const std::string&) override { return false; }
    std::unique_ptr<TWindowClassRegistration> RegisterWindowClass(const std::string&) override {
        return std::make_unique<TNoWindowRegistration>();
    }
};

}  // namespace

TSysError GetThreadLastError() {
    return t_LastError;
}
void SetThreadLastError(TSysError error) {
    t_LastError = error;
    t_LastErrorDetail.clear();
}
void SetThreadLastError(TSysError error, std::string detail) {
    t_LastError = error;
    t_LastErrorDetail = std::move(detail);
}

std::string ThreadLastErrorText() {
    return t_LastErrorDetail.empty() ? SysErrorText(t_LastError) : t_LastErrorDetail;
}

std::string SysErrorText(TSysError error) {
    switch (error) {
        case kErrorSuccess:
            return "the operation completed successfully";
        case kErrorInvalidFunction:
            return "the function is not valid for this device";
        case kErrorFileNotFound:
            return "the file or device does not exist";
        case kErrorAccessDenied:
            return "access is denied";
        case kErrorInvalidHandle:
            return "the handle is not valid";
        case kErrorWriteFault:
            return "the device cannot be written";
        case kErrorReadFault:
            return "the device cannot be read";
        case kErrorGenFailure:
            return "the device does not work";
        case kErrorNotSupported:
            return "not supported on this platform";
        case kErrorInvalidParameter:
            return "a parameter is not valid";
        case kErrorDiskFull:
            return "the disk is full";
        case kErrorInsufficientBuffer:
            return "the memory area is too small";
        case kErrorBusy:
            return "the printer is in use by another program";
        case kErrorModNotFound:
            return "the library is not installed";
        case kErrorMoreData:
            return "more data is available";
        case kErrorTimeout:
            return "the operation did not finish in time";
        case kErrorUnknownPrinterDriver:
            return "the printer driver is unknown";
        case kErrorInvalidPrinterName:
            return "the printer name is not valid";
        case kErrorSplNoStartDoc:
            return "no document was started";
        default:
            return "system error " + std::to_string(error);
    }
}

void TScopedIoHandle::Reset() {
    if (m_Handle != kInvalidIoHandle) Platform().Kernel().CloseHandle(m_Handle);
    m_Handle = kInvalidIoHandle;
}

std::uint32_t TKernel::GetSessionId() {
    return 0;
}
std::int32_t TKernel::GetTimeZoneBias() {
    NotSupported();
    return 0;
}
std::optional<TLocalTime> TKernel::GetLocalTime() {
    NotSupported();
    return std::nullopt;
}
std::optional<TLocalTime> TKernel::GetSystemTime() {
    NotSupported();
    return std::nullopt;
}
char TKernel::GetDateSeparator() {
    return '/';
}
char TKernel::GetTimeSeparator() {
    return ':';
}
std::string TKernel::GetProgramPath() {
    NotSupported();
    return {};
}
bool TKernel::RegularFileExists(const std::string&) {
    return NotSupported();
}

std::unique_ptr<TSharedMemory> TKernel::CreateSharedMemory(const std::string&, std::size_t) {
    return Unavailable<std::unique_ptr<TSharedMemory>>("shared memory", nullptr);
}
std::unique_ptr<TSharedMemory> TKernel::OpenSharedMemory(const std::string&) {
    return Unavailable<std::unique_ptr<TSharedMemory>>("shared memory", nullptr);
}
TIoHandle TKernel::OpenFileHandle(const std::string&, bool, bool, TFileCreation) {
    return Unavailable("device access", kInvalidIoHandle);
}
bool TKernel::ReadHandle(TIoHandle, std::span<std::uint8_t>, std::uint32_t& bytesRead) {
    bytesRead = 0;
    return NotSupported();
}
bool TKernel::WriteHandle(TIoHandle, std::span<const std::uint8_t>, std::uint32_t& bytesWritten) {
    bytesWritten = 0;
    return NotSupported();
}
bool TKernel::SetIoTimeouts(TIoHandle, std::uint32_t, std::uint32_t) {
    return NotSupported();
}
bool TKernel::CancelIo(TIoHandle) {
    return NotSupported();
}
bool TKernel::CloseHandle(TIoHandle) {
    return NotSupported();
}
bool TKernel::UsbPrintGetLptStatus(TIoHandle, std::uint8_t&) {
    return NotSupported();
}
TVendorUsbLibrary* TKernel::LoadVendorUsbLibrary() {
    return Unavailable<TVendorUsbLibrary*>("vendor USB port library", nullptr);
}
std::optional<std::vector<std::string>> TSpooler::EnumPrinterNames() {
    SetThreadLastError(kErrorNotSupported);
    return std::nullopt;
}

std::optional<std::string> TSpooler::GetDeviceKey(const std::string&) {
    return std::nullopt;
}

TSpooler& TPlatform::Spooler() {
    static TUnavailableSpooler spooler;
    return spooler;
}
TShell& TPlatform::Shell() {
    static TUnavailableShell shell;
    return shell;
}
TSingleInstance& TPlatform::SingleInstance() {
    static TProcessOnlySingleInstance single;
    return single;
}

}  // namespace ps
