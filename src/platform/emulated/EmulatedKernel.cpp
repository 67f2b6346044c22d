// SPDX-License-Identifier: MIT
// The emulated kernel.
#include "platform/emulated/EmulatedKernel.h"

#include <fstream>

namespace ps::emu {

struct TEmulatedKernel::THandleEntry {
    THandleKind kind = THandleKind::File;
    TDeviceLink* device = nullptr;
    std::unique_ptr<std::fstream> file;
};

struct TEmulatedKernel::TBlock {
    std::vector<std::uint8_t> bytes;
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

template <typename TBlockPtr>
class TBlockView : public TMappedView {
public:
    explicit TBlockView(TBlockPtr block) : m_pBlock(std::move(block)) {}
    std::span<std::uint8_t> Bytes() override { return m_pBlock->bytes; }

private:
    TBlockPtr m_pBlock;  // a view keeps the memory alive, as a mapped section does
};

template <typename TBlockPtr>
class TBlockMemory : public TSharedMemory {
public:
    explicit TBlockMemory(TBlockPtr block) : m_pBlock(std::move(block)) {}
    std::unique_ptr<TMappedView> Map() override {
        return std::make_unique<TBlockView<TBlockPtr>>(m_pBlock);
    }

private:
    TBlockPtr m_pBlock;
};

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
        return ResolveEmulationPath(directory / "drives" / std::string(1, path[0]), rest);
    }
    std::string native(path);
    for (char& c : native) {
        if (c == '\\') c = static_cast<char>(std::filesystem::path::preferred_separator);
    }
    return native;
}

TEmulatedKernel::TEmulatedKernel(const TEmulationConfig& config, TDeviceHub& devices,
                                 std::unique_ptr<TKernel> native)
    : m_Config(config), m_Devices(devices), m_pNative(std::move(native)) {}

TEmulatedKernel::~TEmulatedKernel() = default;

std::uint16_t TEmulatedKernel::GetSystemDefaultLangID() {
    return m_Config.langId ? *m_Config.langId : m_pNative->GetSystemDefaultLangID();
}

std::string TEmulatedKernel::GetTempPath() {
    std::error_code ec;
    std::filesystem::create_directories(m_Config.tempDir, ec);
    std::string dir = m_Config.tempDir.string();
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

std::string TEmulatedKernel::GetProgramPath() {
    return m_Config.programPath.empty() ? m_pNative->GetProgramPath() : m_Config.programPath;
}

std::unique_ptr<TSharedMemory> TEmulatedKernel::CreateSharedMemory(const std::string& name,
                                                                   std::size_t size) {
    if (name.empty() || size == 0) {
        Fail(kErrorInvalidParameter);
        return nullptr;
    }
    std::lock_guard lock(m_Mutex);
    std::shared_ptr<TBlock> block = m_Blocks[name].lock();
    if (!block) {
        block = std::make_shared<TBlock>();
        block->bytes.assign(size, 0);
        m_Blocks[name] = block;
    }
    return std::make_unique<TBlockMemory<std::shared_ptr<TBlock>>>(block);
}

std::unique_ptr<TSharedMemory> TEmulatedKernel::OpenSharedMemory(const std::string& name) {
    std::lock_guard lock(m_Mutex);
    auto it = m_Blocks.find(name);
    std::shared_ptr<TBlock> block = it == m_Blocks.end() ? nullptr : it->second.lock();
    if (!block) {
        Fail(kErrorFileNotFound);
        return nullptr;
    }
    return std::make_unique<TBlockMemory<std::shared_ptr<TBlock>>>(block);
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
