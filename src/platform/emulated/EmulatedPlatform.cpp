// SPDX-License-Identifier: MIT
// Puts the emulated services together.
#include "platform/emulated/EmulatedPlatform.h"

#include <iostream>

#include "platform/NativeServices.h"
#include "platform/emulated/EmulatedDesktop.h"
#include "platform/emulated/EmulatedKernel.h"
#include "platform/emulated/EmulatedPortMonitor.h"
#include "platform/emulated/EmulatedSpooler.h"
#include "platform/emulated/EmulatedState.h"
#include "platform/emulated/EmulatedVendorUsb.h"

namespace ps::emu {
namespace {

std::unique_ptr<TClock> MakeClock(const TEmulationConfig& config) {
    if (config.virtualClock) return std::make_unique<TVirtualClock>();
    return std::make_unique<TScaledClock>(config.clockSpeed);
}

}  // namespace

struct TEmulatedPlatform::TImpl {
    TImpl(std::filesystem::path directory, TDeviceFactory factory)
        : config(LoadEmulationConfig(directory, &problems)),
          clock(MakeClock(config)),
          devices(config, *clock, std::move(factory)),
          state(directory / "state.ini"),
          kernel(config, devices, *clock, MakeNativeKernel()),
          vendor(devices, kernel, *clock),
          monitor(kernel, devices, *clock),
          spooler(config, state, devices, monitor),
          shell(directory),
          single(directory) {
        kernel.SetVendorLibrary(&vendor);
    }

    std::vector<std::string> problems;
    TEmulationConfig config;
    std::unique_ptr<TClock> clock;
    TDeviceHub devices;
    TEmulationState state;
    TEmulatedKernel kernel;
    TEmulatedVendorUsb vendor;
    TEmulatedPortMonitor monitor;
    TEmulatedSpooler spooler;
    TEmulatedShell shell;
    TEmulatedSingleInstance single;
};

TEmulatedPlatform::TEmulatedPlatform(std::filesystem::path directory, TDeviceFactory factory)
    : m_pImpl(std::make_unique<TImpl>(std::move(directory), std::move(factory))) {}

TEmulatedPlatform::~TEmulatedPlatform() = default;

TKernel& TEmulatedPlatform::Kernel() {
    return m_pImpl->kernel;
}
TClock& TEmulatedPlatform::Clock() {
    return *m_pImpl->clock;
}
TSpooler& TEmulatedPlatform::Spooler() {
    return m_pImpl->spooler;
}
TShell& TEmulatedPlatform::Shell() {
    return m_pImpl->shell;
}
TSingleInstance& TEmulatedPlatform::SingleInstance() {
    return m_pImpl->single;
}
const std::vector<std::string>& TEmulatedPlatform::Problems() const {
    return m_pImpl->problems;
}
const TEmulationConfig& TEmulatedPlatform::Config() const {
    return m_pImpl->config;
}
TDeviceLink* TEmulatedPlatform::Device(std::string_view id) {
    return m_pImpl->devices.Make(id);
}
std::size_t TEmulatedPlatform::OpenHandleCount() {
    return m_pImpl->kernel.OpenHandleCount();
}

std::unique_ptr<TPlatform> MakeEmulatedPlatform(const std::filesystem::path& directory) {
    auto platform = std::make_unique<TEmulatedPlatform>(directory);
    for (const std::string& problem : platform->Problems()) {
        std::cerr << problem << std::endl;
    }
    return platform;
}

}  // namespace ps::emu
