// SPDX-License-Identifier: MIT
// The emulated vendor USB port library: lists the devices that have a USB port and exchanges
// bytes with them (route "usb").
#pragma once

#include <mutex>
#include <vector>

#include "platform/Platform.h"
#include "platform/emulated/DeviceLink.h"
#include "platform/emulated/EmulatedKernel.h"

namespace ps::emu {

/// Device keys read here (beside the printer emulator's own): "UsbWriteFails=1" makes every
/// WritePort fail with -2; "ShortWrite=K" makes it write K bytes less than asked.
class TEmulatedVendorUsb : public TVendorUsbLibrary {
public:
    TEmulatedVendorUsb(TDeviceHub& devices, TEmulatedKernel& kernel, TClock& clock)
        : m_Devices(devices), m_Kernel(kernel), m_Clock(clock) {}

    std::int32_t USBPrintRefresh() override;
    void GetUSBPrintFileName(std::int32_t index, char* buffer, std::uint32_t& size) override;
    void GetUSBHWID(std::int32_t index, char* portName, std::uint32_t portSize, char* deviceId,
                    std::uint32_t deviceIdSize) override;
    TIoHandle OpenPrinterUSBPort(std::int32_t portNumber) override;
    std::int32_t WritePort(TIoHandle handle, const std::uint8_t* data, std::int32_t length,
                           std::int32_t timeoutMs) override;
    std::int32_t ReadPort(TIoHandle handle, std::uint8_t* buffer, std::int32_t maxLength,
                          std::int32_t timeoutMs) override;
    void CloseUSBPort(TIoHandle handle) override;

private:
    TDeviceLink* At(std::int32_t index);

    TDeviceHub& m_Devices;
    TEmulatedKernel& m_Kernel;
    TClock& m_Clock;
    std::mutex m_Mutex;
    bool m_bEnumerated = false;
    std::vector<TDeviceLink*> m_Enumerated;
};

}  // namespace ps::emu
