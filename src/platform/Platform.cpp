// SPDX-License-Identifier: MIT
// Holds the installed platform and the system language override.
#include "platform/Platform.h"

#include <chrono>
#include <stdexcept>
#include <thread>

#include "base/TextCodec.h"

namespace ps {
namespace {
std::unique_ptr<TPlatform>& Installed() {
    static std::unique_ptr<TPlatform> platform;
    return platform;
}
std::optional<std::uint16_t>& LanguageOverride() {
    static std::optional<std::uint16_t> langId;
    return langId;
}
}  // namespace

TPlatform& Platform() {
    auto& platform = Installed();
    if (!platform) throw std::logic_error("no platform installed");
    return *platform;
}

bool PlatformInstalled() {
    return Installed() != nullptr;
}

void InstallPlatform(std::unique_ptr<TPlatform> platform) {
    Installed() = std::move(platform);
    // The INI reader below the platform decodes legacy code pages through the installed kernel.
    SetLegacyTextDecoder([](std::string_view bytes, std::uint16_t langId) {
        return Platform().Kernel().DecodeLegacyText(
            bytes, langId == kSystemLanguage ? SystemLanguageId() : langId);
    });
}

std::uint16_t SystemLanguageId() {
    if (auto& langId = LanguageOverride()) return *langId;
    return Platform().Kernel().GetSystemDefaultLangID();
}

namespace {
std::int64_t SteadyNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}
}  // namespace

TScaledClock::TScaledClock(double speed)
    : m_dSpeed(speed > 0 ? speed : 1.0), m_iStartNs(SteadyNs()) {}

std::uint64_t TScaledClock::NowMs() {
    return static_cast<std::uint64_t>(static_cast<double>(SteadyNs() - m_iStartNs) * m_dSpeed /
                                      1e6);
}

void TScaledClock::Sleep(std::uint32_t ms) {
    std::this_thread::sleep_for(
        std::chrono::nanoseconds(static_cast<std::int64_t>(ms * 1e6 / m_dSpeed)));
}

void TVirtualClock::Sleep(std::uint32_t ms) {
    m_iNowMs += ms;
    // Let a thread that waits for this one see the new time.
    std::this_thread::yield();
}

void OverrideSystemLanguageId(std::optional<std::uint16_t> langId) {
    LanguageOverride() = langId;
}

}  // namespace ps
