// SPDX-License-Identifier: MIT
// What the emulated platform needs of a printer device, and how devices are made.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "emulator/EmulatedDevice.h"
#include "platform/emulated/EmulationConfig.h"

namespace ps::emu {

/// A device behind a port, as the spooler, port monitor, vendor library and kernel reach it.
/// Thread-safe, as TEmulatedDevice is.
class TDeviceLink {
public:
    virtual ~TDeviceLink() = default;
    virtual const TDeviceConfig& Config() const = 0;
    virtual void Receive(std::string_view route, std::span<const std::uint8_t> data) = 0;
    virtual std::vector<std::uint8_t> TakeReply(std::size_t max) = 0;
    virtual bool ReplyPending() = 0;
    virtual std::uint8_t StatusByte() = 0;
};

/// Makes the device of "[Device:ID]"; `stateDir` is where it keeps its state and log.
using TDeviceFactory = std::function<std::unique_ptr<TDeviceLink>(
    const TEmulationConfig& config, const std::string& id, const std::filesystem::path& stateDir,
    TClock& clock)>;

/// The printer emulator's devices.
TDeviceFactory EmulatorDeviceFactory();

/// The devices of one emulation. Each keeps its state in `directory`/devices/ID/. A device is
/// made (its scheme and menu read, its state loaded) when something is first sent to it or
/// asked of it; finding it, listing it and reading its keys make nothing.
class TDeviceHub {
public:
    TDeviceHub(const TEmulationConfig& config, TClock& clock, TDeviceFactory factory);
    ~TDeviceHub();

    /// The device "[Device:ID]" (letter case ignored), or nullptr when there is no such section
    /// or no factory.
    TDeviceLink* Find(std::string_view id);
    /// Find, with the device made now when it was not yet.
    TDeviceLink* Make(std::string_view id);

    /// Devices listed by the vendor USB library (those with a UsbPort), in file order.
    std::vector<TDeviceLink*> UsbDevices();

private:
    class TSlot;
    TDeviceFactory m_Factory;
    std::vector<std::unique_ptr<TSlot>> m_Slots;  // one per "[Device:ID]", in file order
};

}  // namespace ps::emu
