// SPDX-License-Identifier: MIT
// The emulated platform's devices: made on first use, one state folder each.
#include "platform/emulated/DeviceLink.h"

namespace ps::emu {
namespace {

class TEmulatorLink : public TDeviceLink {
public:
    TEmulatorLink(TDeviceConfig config, const std::filesystem::path& stateDir, TClock& clock)
        : m_Device(std::move(config), stateDir, clock) {}
    const TDeviceConfig& Config() const override { return m_Device.Config(); }
    void Receive(std::string_view route, std::span<const std::uint8_t> data) override {
        m_Device.Receive(route, data);
    }
    std::vector<std::uint8_t> TakeReply(std::size_t max) override {
        return m_Device.TakeReply(max);
    }
    bool ReplyPending() override { return m_Device.ReplyPending(); }
    std::uint8_t StatusByte() override { return m_Device.StatusByte(); }

private:
    TEmulatedDevice m_Device;
};

}  // namespace

TDeviceFactory EmulatorDeviceFactory() {
    return [](const TEmulationConfig& config, const std::string& id,
              const std::filesystem::path& stateDir, TClock& clock) {
        return std::unique_ptr<TDeviceLink>(std::make_unique<TEmulatorLink>(
            LoadDeviceConfig(config.ini, id, config.directory), stateDir, clock));
    };
}

TDeviceHub::TDeviceHub(const TEmulationConfig& config, TClock& clock, TDeviceFactory factory)
    : m_Config(config), m_Clock(clock), m_Factory(std::move(factory)) {}

TDeviceLink* TDeviceHub::Find(std::string_view id) {
    if (id.empty()) return nullptr;
    for (const std::string& known : m_Config.deviceIds) {
        if (!SameTextNoCase(known, id)) continue;
        std::lock_guard lock(m_Mutex);
        auto& device = m_Devices[known];
        if (!device && m_Factory) {
            auto stateDir = m_Config.directory / "devices" / known;
            std::error_code ec;
            std::filesystem::create_directories(stateDir, ec);
            device = m_Factory(m_Config, known, stateDir, m_Clock);
        }
        return device.get();
    }
    return nullptr;
}

std::vector<TDeviceLink*> TDeviceHub::UsbDevices() {
    std::vector<TDeviceLink*> devices;
    for (const std::string& id : m_Config.deviceIds) {
        if (TDeviceLink* device = Find(id); device && !device->Config().usbPort.empty()) {
            devices.push_back(device);
        }
    }
    return devices;
}

}  // namespace ps::emu
