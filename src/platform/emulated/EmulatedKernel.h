// SPDX-License-Identifier: MIT
// The emulated kernel: configured answers, in-process named shared memory, and handles on
// files, port devices and USB printer devices of the emulation.
#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "platform/ProcessSharedMemory.h"
#include "platform/emulated/DeviceLink.h"
#include "platform/emulated/EmulationConfig.h"

namespace ps::emu {

/// The device path the emulated vendor library reports for device ID.
std::string UsbDevicePath(std::string_view id);

/// Where a Win32-style file path lands: "C:\dir\f" goes to `directory`/drives/C/dir/f, so
/// nothing is written outside the emulation; other paths keep their place.
std::filesystem::path EmulatedFilePath(const std::filesystem::path& directory,
                                       std::string_view path);

class TEmulatedKernel : public TKernel {
public:
    enum class THandleKind { File, PortDevice, UsbDevice, VendorPort };
    struct THandleEntry;

    /// `clock` is the emulation's: local time set by "LocalTime=" moves on with it.
    TEmulatedKernel(const TEmulationConfig& config, TDeviceHub& devices, TClock& clock,
                    std::unique_ptr<TKernel> native);
    ~TEmulatedKernel() override;

    std::uint16_t GetSystemDefaultLangID() override;
    std::string GetTempPath() override;
    std::optional<std::string> DecodeLegacyText(std::string_view bytes,
                                                std::uint16_t langId) override;
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
    TVendorUsbLibrary* LoadVendorUsbLibrary() override;
    bool RegularFileExists(const std::string& path) override;

    /// The vendor library the platform offers (nullptr: not installed).
    void SetVendorLibrary(TVendorUsbLibrary* library) { m_pVendorLibrary = library; }

    /// A handle on a device for the vendor library; the device behind a handle of that kind.
    TIoHandle OpenDeviceHandle(TDeviceLink* device, THandleKind kind);
    TDeviceLink* DeviceOf(TIoHandle handle, THandleKind kind);

    /// Handles still open (to check that nothing leaked).
    std::size_t OpenHandleCount();

private:
    std::shared_ptr<THandleEntry> Find(TIoHandle handle);
    TIoHandle Add(std::shared_ptr<THandleEntry> entry);
    TDeviceLink* DeviceForPath(std::string_view path, THandleKind& kind);

    const TEmulationConfig& m_Config;
    TDeviceHub& m_Devices;
    TClock& m_Clock;
    std::unique_ptr<TKernel> m_pNative;
    TVendorUsbLibrary* m_pVendorLibrary = nullptr;
    std::mutex m_Mutex;
    std::intptr_t m_iNextHandle = 0x100;
    std::map<std::intptr_t, std::shared_ptr<THandleEntry>> m_Handles;
    TProcessSharedMemory m_SharedMemory;
};

}  // namespace ps::emu
