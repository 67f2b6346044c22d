// SPDX-License-Identifier: MIT
// Holds the installed platform and the system language override.
#include "platform/Platform.h"

#include <stdexcept>

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

void InstallPlatform(std::unique_ptr<TPlatform> platform) { Installed() = std::move(platform); }

std::uint16_t SystemLanguageId() {
    if (auto& langId = LanguageOverride()) return *langId;
    return Platform().Kernel().GetSystemDefaultLangID();
}

void OverrideSystemLanguageId(std::optional<std::uint16_t> langId) { LanguageOverride() = langId; }

}  // namespace ps
