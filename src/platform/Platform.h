// SPDX-License-Identifier: MIT
// The platform interfaces: everything the core asks of the operating system goes through here.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace ps {

/// Kernel services. All methods are called from the user-interface thread unless noted.
class TKernel {
public:
    virtual ~TKernel() = default;

    /// The system default language identifier (Windows LANGID meaning, e.g. 0x0804).
    virtual std::uint16_t GetSystemDefaultLangID() = 0;

    /// The user's temporary folder, ending with the path separator.
    virtual std::string GetTempPath() = 0;

    /// Decodes 8-bit text in the legacy code page of the given language to UTF-8.
    /// Returns nothing when the bytes cannot be decoded. May be called from any thread.
    virtual std::optional<std::string> DecodeLegacyText(std::string_view bytes,
                                                        std::uint16_t langId) = 0;
};

/// One platform backend: the set of services for the running machine.
class TPlatform {
public:
    virtual ~TPlatform() = default;
    virtual TKernel& Kernel() = 0;
};

/// The platform the process runs on. Installed once at start (see PlatformSelect.h).
TPlatform& Platform();

/// Installs the platform; the previous one is destroyed. Tests install their own.
void InstallPlatform(std::unique_ptr<TPlatform> platform);

/// The system language as the program sees it: an override set by tools, else the kernel's.
std::uint16_t SystemLanguageId();
void OverrideSystemLanguageId(std::optional<std::uint16_t> langId);

}  // namespace ps
