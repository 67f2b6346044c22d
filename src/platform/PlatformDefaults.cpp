// SPDX-License-Identifier: MIT
// Failing defaults of the platform services, the thread's last-error value, handle scopes.
#include <iostream>
#include <mutex>
#include <set>

#include "platform/Platform.h"

namespace ps {
namespace {

thread_local TSysError t_LastError = kErrorSuccess;

// Says once per service, on standard error, that the service needs the emulated platform.
void ReportUnavailable(const char* service) {
    static std::mutex mutex;
    static std::set<std::string> reported;
    std::lock_guard lock(mutex);
    if (!reported.insert(service).second) return;
    std::cerr << "Printer Settings: no " << service << " is available on this system yet; set "
              << kEmulationVariable << " to an emulation directory (see docs/emulation.md)."
              << std::endl;
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
}

void TScopedIoHandle::Reset() {
    if (m_Handle != kInvalidIoHandle) Platform().Kernel().CloseHandle(m_Handle);
    m_Handle = kInvalidIoHandle;
}

std::uint32_t TKernel::GetSessionId() {
    return 0;
}
std::int32_t TKernel::GetTimeZoneBias() {
    return 0;
}
std::string TKernel::GetProgramPath() {
    return {};
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
    SetThreadLastError(kErrorInvalidHandle);
    return false;
}
bool TKernel::WriteHandle(TIoHandle, std::span<const std::uint8_t>, std::uint32_t& bytesWritten) {
    bytesWritten = 0;
    SetThreadLastError(kErrorInvalidHandle);
    return false;
}
bool TKernel::CancelIo(TIoHandle) {
    SetThreadLastError(kErrorInvalidHandle);
    return false;
}
bool TKernel::CloseHandle(TIoHandle) {
    SetThreadLastError(kErrorInvalidHandle);
    return false;
}
bool TKernel::UsbPrintGetLptStatus(TIoHandle, std::uint8_t&) {
    SetThreadLastError(kErrorInvalidHandle);
    return false;
}
TVendorUsbLibrary* TKernel::LoadVendorUsbLibrary() {
    ReportUnavailable("vendor USB port library");
    SetThreadLastError(kErrorModNotFound);
    return nullptr;
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
