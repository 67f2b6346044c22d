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

// A device of the hub: its keys at once, the device itself on first use.
class TDeviceHub::TSlot : public TDeviceLink {
public:
    TSlot(const TEmulationConfig& config, std::string id, TClock& clock,
          const TDeviceFactory& factory)
        : m_Emulation(config),
          m_strId(std::move(id)),
          m_Clock(clock),
          m_Factory(factory),
          m_Config(LoadDeviceConfig(config.ini, m_strId, config.directory)) {}

    const std::string& Id() const { return m_strId; }
    void Make() { Device(); }

    const TDeviceConfig& Config() const override { return m_Config; }
    void Receive(std::string_view route, std::span<const std::uint8_t> data) override {
        if (TDeviceLink* device = Device()) device->Receive(route, data);
    }
    std::vector<std::uint8_t> TakeReply(std::size_t max) override {
        TDeviceLink* device = Device();
        return device ? device->TakeReply(max) : std::vector<std::uint8_t>();
    }
    bool ReplyPending() override {
        TDeviceLink* device = Device();
        return device && device->ReplyPending();
    }
    std::uint8_t StatusByte() override {
        TDeviceLink* device = Device();
        return device ? device->StatusByte() : m_Config.statusByte;
    }

private:
    TDeviceLink* Device() {
        std::lock_guard lock(m_Mutex);
        if (!m_bMade) {
            m_bMade = true;
            auto stateDir = m_Emulation.directory / "devices" / m_strId;
            std::error_code ec;
            std::filesystem::create_directories(stateDir, ec);
            m_pDevice = m_Factory(m_Emulation, m_strId, stateDir, m_Clock);
        }
        return m_pDevice.get();
    }

    const TEmulationConfig& m_Emulation;
    const std::string m_strId;  // as in the file
    TClock& m_Clock;
    const TDeviceFactory& m_Factory;
    const TDeviceConfig m_Config;
    std::mutex m_Mutex;
    bool m_bMade = false;
    std::unique_ptr<TDeviceLink> m_pDevice;
};

TDeviceHub::TDeviceHub(const TEmulationConfig& config, TClock& clock, TDeviceFactory factory)
    : m_Factory(std::move(factory)) {
    if (!m_Factory) return;
    for (const std::string& id : config.deviceIds)
        m_Slots.push_back(std::make_unique<TSlot>(config, id, clock, m_Factory));
}

TDeviceHub::~TDeviceHub() = default;

TDeviceLink* TDeviceHub::Find(std::string_view id) {
    if (id.empty()) return nullptr;
    for (const auto& slot : m_Slots)
        if (SameTextNoCase(slot->Id(), id)) return slot.get();
    return nullptr;
}

TDeviceLink* TDeviceHub::Make(std::string_view id) {
    TDeviceLink* link = Find(id);
    if (link) static_cast<TSlot*>(link)->Make();
    return link;
}

std::vector<TDeviceLink*> TDeviceHub::UsbDevices() {
    std::vector<TDeviceLink*> devices;
    for (const auto& slot : m_Slots)
        if (!slot->Config().usbPort.empty()) devices.push_back(slot.get());
    return devices;
}

}  // namespace ps::emu
