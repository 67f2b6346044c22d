// SPDX-License-Identifier: MIT
// The emulated kernel.
#include "platform/emulated/EmulatedKernel.h"

#include <chrono>
#include <fstream>

#include "base/PathText.h"

namespace ps::emu {

struct TEmulatedKernel::THandleEntry {
    THandleKind kind = THandleKind::File;
    TDeviceLink* device = nullptr;
    std::unique_ptr<std::fstream> file;
};

namespace {

constexpr std::string_view kUsbPathPrefix = "\\\\?\\USB#EMULATED#";

bool Fail(TSysError error) {
    SetThreadLastError(error);
    return false;
}

std::string_view StripDevicePrefix(std::string_view path) {
    if (path.starts_with("\\\\?\\") || path.starts_with("\\\\.\\")) path.remove_prefix(4);
    return path;
}

// Seconds since 1970-01-01 00:00:00 (and milliseconds) as a calendar date and time.
TLocalTime CalendarTime(std::int64_t ms) {
    using namespace std::chrono;
    const sys_time<milliseconds> point{milliseconds{ms}};
    const sys_days day = floor<days>(point);
    const year_month_day date{day};
    const hh_mm_ss<milliseconds> time{point - day};
    TLocalTime local;
    local.year = static_cast<std::uint16_t>(static_cast<int>(date.year()));
    local.month = static_cast<std::uint16_t>(static_cast<unsigned>(date.month()));
    local.day = static_cast<std::uint16_t>(static_cast<unsigned>(date.day()));
    local.dayOfWeek = static_cast<std::uint16_t>(weekday{day}.c_encoding());
    local.hour = static_cast<std::uint16_t>(time.hours().count());
    local.minute = static_cast<std::uint16_t>(time.minutes().count());
    local.second = static_cast<std::uint16_t>(time.seconds().count());
    local.milliseconds = static_cast<std::uint16_t>(time.subseconds().count());
    return local;
}

}  // namespace

std::string UsbDevicePath(std::string_view id) {
    return std::string(kUsbPathPrefix) + std::string(id);
}

std::filesystem::path EmulatedFilePath(const std::filesystem::path& directory,
                                       std::string_view path) {
    path = StripDevicePrefix(path);
    if (path.size() >= 2 && path[1] == ':' &&
        ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'))) {
        std::string rest(path.substr(2));
        while (!rest.empty() && (rest.front() == '\\' || rest.front() == '/')) rest.erase(0, 1);
        // Drive letters are the same in either case: "c:\x" is drives/C/x.
        const char drive =
            (path[0] >= 'a' && path[0] <= 'z') ? static_cast<char>(path[0] - 32) : path[0];
        return ResolveEmulationPath(directory / "drives" / std::string(1, drive), rest);
    }
    std::string native(path);
    for (char& c : native) {
        if (c == '\\') c = static_cast<char>(std::filesystem::path::preferred_separator);
    }
    return PathFromUtf8(native);
}

TEmulatedKernel::TEmulatedKernel(const TEmulationConfig& config, TDeviceHub& devices, TClock& clock,
                                 std::unique_ptr<TKernel> native)
    : m_Config(config), m_Devices(devices), m_Clock(clock), m_pNative(std::move(native)) {}

TEmulatedKernel::~TEmulatedKernel() = default;

std::uint16_t TEmulatedKernel::GetSystemDefaultLangID() {
    return m_Config.langId ? *m_Config.langId : m_pNative->GetSystemDefaultLangID();
}

std::string TEmulatedKernel::GetTempPath() {
    std::error_code ec;
    std::filesystem::create_directories(m_Config.tempDir, ec);
    std::string dir = PathToUtf8(m_Config.tempDir);
    if (dir.empty() || dir.back() != static_cast<char>(std::filesystem::path::preferred_separator))
        dir += static_cast<char>(std::filesystem::path::preferred_separator);
    return dir;
}

std::optional<std::string> TEmulatedKernel::DecodeLegacyText(std::string_view bytes,
                                                             std::uint16_t langId) {
    return m_pNative->DecodeLegacyText(bytes, langId);
}

std::uint32_t TEmulatedKernel::GetSessionId() {
    return m_Config.sessionId;
}

std::int32_t TEmulatedKernel::GetTimeZoneBias() {
    return m_Config.timeZoneBias ? *m_Config.timeZoneBias : m_pNative->GetTimeZoneBias();
}

std::optional<TLocalTime> TEmulatedKernel::GetLocalTime() {
    if (m_Config.localTime) {
        // The configured time at clock 0, moving on with the emulation's clock.
        return CalendarTime(*m_Config.localTime * 1000 +
                            static_cast<std::int64_t>(m_Clock.NowMs()));
    }
    if (m_Config.timeZoneBias) {
        // A machine of that zone without daylight saving.
        const auto utcMs = std::chrono::duration_cast<std::chrono::milliseconds>(
                               std::chrono::system_clock::now().time_since_epoch())
                               .count();
        return CalendarTime(utcMs - std::int64_t{*m_Config.timeZoneBias} * 60000);
    }
    return m_pNative->GetLocalTime();
}

std::optional<TLocalTime> TEmulatedKernel::GetSystemTime() {
    if (m_Config.localTime) {
        // The configured local time is of the emulation's zone: UTC = local time + bias.
        return CalendarTime(*m_Config.localTime * 1000 +
                            static_cast<std::int64_t>(m_Clock.NowMs()) +
                            std::int64_t{GetTimeZoneBias()} * 60000);
    }
    if (m_Config.timeZoneBias) {
        return CalendarTime(std::chrono::duration_cast<std::chrono::milliseconds>(
                                std::chrono::system_clock::now().time_since_epoch())
                                .count());
    }
    return m_pNative->GetSystemTime();
}

char TEmulatedKernel::GetDateSeparator() {
    return m_Config.dateSeparator;
}

char TEmulatedKernel::GetTimeSeparator() {
    return m_Config.timeSeparator;
}

std::string TEmulatedKernel::GetProgramPath() {
    return m_Config.programPath.empty() ? m_pNative->GetProgramPath() : m_Config.programPath;
}

std::unique_ptr<TSharedMemory> TEmulatedKernel::CreateSharedMemory(const std::string& name,
                                                                   std::size_t size) {
    return m_SharedMemory.Create(name, size);
}

std::unique_ptr<TSharedMemory> TEmulatedKernel::OpenSharedMemory(const std::string& name) {
    return m_SharedMemory.Open(name);
}

TDeviceLink* TEmulatedKernel::DeviceForPath(std::string_view path, THandleKind& kind) {
    std::string_view name = StripDevicePrefix(path);
    for (const std::string& id : m_Config.deviceIds) {
        if (SameTextNoCase(name, StripDevicePrefix(UsbDevicePath(id)))) {
            kind = THandleKind::UsbDevice;
            TDeviceLink* device = m_Devices.Find(id);
            return device && !device->Config().usbPort.empty() ? device : nullptr;
        }
    }
    for (const auto& printer : m_Config.printers) {
        if (printer.port.empty() || !SameTextNoCase(name, printer.port)) continue;
        if (TDeviceLink* device = m_Devices.Find(printer.deviceId)) {
            kind = THandleKind::PortDevice;
            return device;
        }
    }
    return nullptr;
}

TIoHandle TEmulatedKernel::OpenFileHandle(const std::string& path, bool read, bool write,
                                          TFileCreation creation) {
    THandleKind kind = THandleKind::File;
    if (TDeviceLink* device = DeviceForPath(path, kind)) {
        auto entry = std::make_shared<THandleEntry>();
        entry->kind = kind;
        entry->device = device;
        return Add(std::move(entry));
    }
    // The device namespace and bare port names hold nothing else.
    std::string_view name = StripDevicePrefix(path);
    bool drivePath = name.size() >= 2 && name[1] == ':';
    bool devicePath = path.starts_with("\\\\.\\");
    bool bareName = name.find_first_of("\\/") == std::string_view::npos && !drivePath;
    bool knownPort = false;
    for (const auto& printer : m_Config.printers) {
        knownPort = knownPort || (!printer.port.empty() && SameTextNoCase(name, printer.port));
    }
    if (devicePath || (bareName && (knownPort || path.starts_with("\\\\?\\")))) {
        Fail(kErrorFileNotFound);
        return kInvalidIoHandle;
    }
    auto file = EmulatedFilePath(m_Config.directory, path);
    std::ios::openmode mode = std::ios::binary;
    if (read) mode |= std::ios::in;
    if (write) mode |= std::ios::out;
    if (creation == TFileCreation::CreateAlways) {
        mode |= std::ios::out | std::ios::trunc;
    } else if (!std::filesystem::is_regular_file(file)) {
        Fail(kErrorFileNotFound);
        return kInvalidIoHandle;
    }
    auto stream = std::make_unique<std::fstream>(file, mode);
    if (!stream->is_open()) {
        Fail(creation == TFileCreation::CreateAlways ? kErrorAccessDenied : kErrorFileNotFound);
        return kInvalidIoHandle;
    }
    auto entry = std::make_shared<THandleEntry>();
    entry->kind = THandleKind::File;
    entry->file = std::move(stream);
    return Add(std::move(entry));
}

bool TEmulatedKernel::ReadHandle(TIoHandle handle, std::span<std::uint8_t> buffer,
                                 std::uint32_t& bytesRead) {
    bytesRead = 0;
    auto entry = Find(handle);
    if (!entry) return Fail(kErrorInvalidHandle);
    if (entry->device) {
        // A device read returns what the printer has sent by now.
        auto reply = entry->device->TakeReply(buffer.size());
        std::copy(reply.begin(), reply.end(), buffer.begin());
        bytesRead = static_cast<std::uint32_t>(reply.size());
        return true;
    }
    entry->file->read(reinterpret_cast<char*>(buffer.data()),
                      static_cast<std::streamsize>(buffer.size()));
    bytesRead = static_cast<std::uint32_t>(entry->file->gcount());
    if (entry->file->bad()) return Fail(kErrorReadFault);
    entry->file->clear();
    return true;
}

bool TEmulatedKernel::WriteHandle(TIoHandle handle, std::span<const std::uint8_t> data,
                                  std::uint32_t& bytesWritten) {
    bytesWritten = 0;
    auto entry = Find(handle);
    if (!entry) return Fail(kErrorInvalidHandle);
    if (entry->device) {
        entry->device->Receive("port", data);
        bytesWritten = static_cast<std::uint32_t>(data.size());
        return true;
    }
    entry->file->write(reinterpret_cast<const char*>(data.data()),
                       static_cast<std::streamsize>(data.size()));
    entry->file->flush();
    if (!*entry->file) return Fail(kErrorWriteFault);
    bytesWritten = static_cast<std::uint32_t>(data.size());
    return true;
}

bool TEmulatedKernel::SetIoTimeouts(TIoHandle handle, std::uint32_t, std::uint32_t) {
    // Emulated I/O never waits: devices take every byte and answer with what they have.
    return Find(handle) ? true : Fail(kErrorInvalidHandle);
}

bool TEmulatedKernel::CancelIo(TIoHandle handle) {
    // Emulated I/O completes within its call: nothing is ever pending.
    return Find(handle) ? true : Fail(kErrorInvalidHandle);
}

bool TEmulatedKernel::CloseHandle(TIoHandle handle) {
    std::lock_guard lock(m_Mutex);
    if (m_Handles.erase(static_cast<std::intptr_t>(handle)) == 0) return Fail(kErrorInvalidHandle);
    return true;
}

bool TEmulatedKernel::UsbPrintGetLptStatus(TIoHandle handle, std::uint8_t& status) {
    auto entry = Find(handle);
    if (!entry) return Fail(kErrorInvalidHandle);
    if (entry->kind != THandleKind::UsbDevice) return Fail(kErrorInvalidFunction);
    status = entry->device->StatusByte();
    return true;
}

TVendorUsbLibrary* TEmulatedKernel::LoadVendorUsbLibrary() {
    if (!m_Config.vendorLibrary || !m_pVendorLibrary) {
        Fail(kErrorModNotFound);
        return nullptr;
    }
    return m_pVendorLibrary;
}

TIoHandle TEmulatedKernel::OpenDeviceHandle(TDeviceLink* device, THandleKind kind) {
    auto entry = std::make_shared<THandleEntry>();
    entry->kind = kind;
    entry->device = device;
    return Add(std::move(entry));
}

TDeviceLink* TEmulatedKernel::DeviceOf(TIoHandle handle, THandleKind kind) {
    auto entry = Find(handle);
    return entry && entry->kind == kind ? entry->device : nullptr;
}

std::size_t TEmulatedKernel::OpenHandleCount() {
    std::lock_guard lock(m_Mutex);
    return m_Handles.size();
}

std::shared_ptr<TEmulatedKernel::THandleEntry> TEmulatedKernel::Find(TIoHandle handle) {
    std::lock_guard lock(m_Mutex);
    auto it = m_Handles.find(static_cast<std::intptr_t>(handle));
    return it == m_Handles.end() ? nullptr : it->second;
}

TIoHandle TEmulatedKernel::Add(std::shared_ptr<THandleEntry> entry) {
    std::lock_guard lock(m_Mutex);
    std::intptr_t value = m_iNextHandle;
    m_iNextHandle += 4;
    m_Handles.emplace(value, std::move(entry));
    return static_cast<TIoHandle>(value);
}

}  // namespace ps::emu
