// SPDX-License-Identifier: MIT
// The emulated print spooler: the printers of emulation.ini, their printer data (kept in
// state.ini), queued and held jobs, and raw jobs sent to the device (route "job NAME").
#pragma once

#include "platform/Platform.h"
#include "platform/emulated/DeviceLink.h"
#include "platform/emulated/EmulatedPortMonitor.h"
#include "platform/emulated/EmulatedState.h"
#include "platform/emulated/EmulationConfig.h"

namespace ps::emu {

class TEmulatedSpooler : public TSpooler {
public:
    TEmulatedSpooler(const TEmulationConfig& config, TEmulationState& state, TDeviceHub& devices,
                     TEmulatedPortMonitor& monitor)
        : m_Config(config), m_State(state), m_Devices(devices), m_Monitor(monitor) {}

    std::unique_ptr<TPrinterHandle> Open(const std::string& printerName,
                                         TPrinterAccess access) override;
    std::optional<std::string> GetDriverDirectory(const std::string& environment) override;
    std::optional<std::vector<std::string>> EnumPrinterNames() override;
    /// "device " + the printer's device section ("Device="); nothing without one.
    std::optional<std::string> GetDeviceKey(const std::string& printerName) override;

private:
    const TEmulationConfig& m_Config;
    TEmulationState& m_State;
    TDeviceHub& m_Devices;
    TEmulatedPortMonitor& m_Monitor;
};

}  // namespace ps::emu
