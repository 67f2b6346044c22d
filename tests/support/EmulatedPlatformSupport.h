// SPDX-License-Identifier: MIT
// The emulated platform in tests: scripted devices that record what they receive and answer
// from a script, and installing an emulation directory as the process's platform.
// (Tests that include this link ps_platform_emulated.)
#pragma once

#include <algorithm>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "base/IniFile.h"
#include "platform/emulated/DeviceLink.h"
#include "platform/emulated/EmulatedPlatform.h"

namespace ps::test {

using TTestBytes = std::vector<std::uint8_t>;

/// A device that records every transmission and answers commands from a script. Its
/// "[Device:ID]" keys apply: ReplyDelayMs (on the platform clock), Mute, StatusByte.
class TScriptedDevice : public emu::TDeviceLink {
public:
    TScriptedDevice(emu::TDeviceConfig config, TClock& clock)
        : m_Config(std::move(config)), m_Clock(clock), m_Status(m_Config.statusByte) {}

    /// Replies `reply` whenever exactly `command` arrives; AnswerAny to every other command.
    void Answer(TTestBytes command, TTestBytes reply) {
        std::lock_guard lock(m_Mutex);
        m_Script[std::move(command)] = std::move(reply);
    }
    /// Replies `parts` to `command` as separate transfers, the k-th `gapMs` × k after the first.
    void AnswerInParts(TTestBytes command, std::vector<TTestBytes> parts, std::uint64_t gapMs) {
        std::lock_guard lock(m_Mutex);
        m_PartScript[std::move(command)] = {std::move(parts), gapMs};
    }
    void AnswerAny(TTestBytes reply) {
        std::lock_guard lock(m_Mutex);
        m_AnyReply = std::move(reply);
    }
    void SetStatus(std::uint8_t status) {
        std::lock_guard lock(m_Mutex);
        m_Status = status;
    }
    /// Queues bytes as if the printer had sent them unasked.
    void Unsolicited(TTestBytes bytes) {
        std::lock_guard lock(m_Mutex);
        m_Replies.push_back({m_Clock.NowMs(), std::move(bytes)});
    }
    std::vector<std::pair<std::string, TTestBytes>> Received() {
        std::lock_guard lock(m_Mutex);
        return m_Received;
    }

    const emu::TDeviceConfig& Config() const override { return m_Config; }
    void Receive(std::string_view route, std::span<const std::uint8_t> data) override {
        std::lock_guard lock(m_Mutex);
        TTestBytes bytes(data.begin(), data.end());
        m_Received.emplace_back(std::string(route), bytes);
        if (m_Config.mute) return;
        if (auto parts = m_PartScript.find(bytes); parts != m_PartScript.end()) {
            std::uint64_t at = m_Clock.NowMs() + m_Config.replyDelayMs;
            for (const TTestBytes& part : parts->second.first) {
                m_Replies.push_back({at, part});
                at += parts->second.second;
            }
            return;
        }
        auto it = m_Script.find(bytes);
        const TTestBytes* reply = it != m_Script.end() ? &it->second
                                  : m_AnyReply         ? &*m_AnyReply
                                                       : nullptr;
        if (reply && !reply->empty())
            m_Replies.push_back({m_Clock.NowMs() + m_Config.replyDelayMs, *reply});
    }
    std::vector<std::uint8_t> TakeReply(std::size_t max) override {
        std::lock_guard lock(m_Mutex);
        TTestBytes out;
        while (!m_Replies.empty() && out.size() < max &&
               m_Replies.front().first <= m_Clock.NowMs()) {
            auto& front = m_Replies.front().second;
            std::size_t n = std::min(max - out.size(), front.size());
            out.insert(out.end(), front.begin(), front.begin() + static_cast<std::ptrdiff_t>(n));
            front.erase(front.begin(), front.begin() + static_cast<std::ptrdiff_t>(n));
            if (front.empty()) m_Replies.pop_front();
        }
        return out;
    }
    bool ReplyPending() override {
        std::lock_guard lock(m_Mutex);
        return !m_Replies.empty();
    }
    std::uint8_t StatusByte() override {
        std::lock_guard lock(m_Mutex);
        return m_Status;
    }

private:
    emu::TDeviceConfig m_Config;
    TClock& m_Clock;
    std::mutex m_Mutex;
    std::uint8_t m_Status;
    std::map<TTestBytes, TTestBytes> m_Script;
    std::map<TTestBytes, std::pair<std::vector<TTestBytes>, std::uint64_t>> m_PartScript;
    std::optional<TTestBytes> m_AnyReply;
    std::deque<std::pair<std::uint64_t, TTestBytes>> m_Replies;
    std::vector<std::pair<std::string, TTestBytes>> m_Received;
};

/// Scripted devices made by an emulated platform, by ID.
class TScriptedDevices {
public:
    emu::TDeviceFactory Factory() {
        return [this](const emu::TEmulationConfig& config, const std::string& id,
                      const std::filesystem::path&, TClock& clock) {
            auto device = std::make_unique<TScriptedDevice>(
                emu::LoadDeviceConfig(config.ini, id, config.directory), clock);
            m_Devices[id] = device.get();
            return std::unique_ptr<emu::TDeviceLink>(std::move(device));
        };
    }
    /// The device made for ID (nullptr before the platform first used it).
    TScriptedDevice* operator[](const std::string& id) const {
        auto it = m_Devices.find(id);
        return it == m_Devices.end() ? nullptr : it->second;
    }

private:
    std::map<std::string, TScriptedDevice*> m_Devices;
};

/// Installs the emulated platform of `directory` as the process's platform and returns it.
inline emu::TEmulatedPlatform& InstallEmulation(
    const std::filesystem::path& directory,
    emu::TDeviceFactory factory = emu::EmulatorDeviceFactory()) {
    auto platform = std::make_unique<emu::TEmulatedPlatform>(directory, std::move(factory));
    emu::TEmulatedPlatform& result = *platform;
    InstallPlatform(std::move(platform));
    return result;
}

}  // namespace ps::test
