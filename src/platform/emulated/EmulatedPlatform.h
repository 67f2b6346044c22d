// SPDX-License-Identifier: MIT
// The emulated platform: spooler, port monitor, vendor USB library, kernel and desktop of an
// emulation directory, in front of the printer emulator's devices.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "platform/emulated/DeviceLink.h"

namespace ps::emu {

class TEmulatedKernel;

class TEmulatedPlatform : public TPlatform {
public:
    /// Reads `directory`/emulation.ini; devices come from `factory` (the printer emulator's
    /// by default).
    explicit TEmulatedPlatform(std::filesystem::path directory,
                               TDeviceFactory factory = EmulatorDeviceFactory());
    ~TEmulatedPlatform() override;

    TKernel& Kernel() override;
    TClock& Clock() override;
    TSpooler& Spooler() override;
    TShell& Shell() override;
    TSingleInstance& SingleInstance() override;

    /// What emulation.ini holds that could not be understood.
    const std::vector<std::string>& Problems() const;
    const TEmulationConfig& Config() const;
    /// The device "[Device:ID]", made now when it was not yet (nullptr when there is none);
    /// the platform itself makes a device only when it first sends to it or asks its status.
    TDeviceLink* Device(std::string_view id);
    /// Kernel handles (files, devices, vendor library ports) still open.
    std::size_t OpenHandleCount();

private:
    struct TImpl;
    std::unique_ptr<TImpl> m_pImpl;
};

/// The emulated platform of `directory`; its problems are written to standard error.
std::unique_ptr<TPlatform> MakeEmulatedPlatform(const std::filesystem::path& directory);

}  // namespace ps::emu
