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

/// The clock every sleep, time-out and timer of the core and of the emulator goes through.
/// Thread-safe: the user-interface thread and a worker may use it at once.
class TClock {
public:
    virtual ~TClock() = default;
    /// Monotonic milliseconds since an arbitrary start.
    virtual std::uint64_t NowMs() = 0;
    /// Blocks the calling thread for ms milliseconds of this clock's time.
    virtual void Sleep(std::uint32_t ms) = 0;
};

/// Real time sped up by a factor: Sleep(ms) blocks ms / speed real milliseconds and NowMs
/// advances speed times faster than real time. Speed 1 is the plain steady clock.
class TScaledClock : public TClock {
public:
    explicit TScaledClock(double speed = 1.0);
    std::uint64_t NowMs() override;
    void Sleep(std::uint32_t ms) override;
    double Speed() const { return m_dSpeed; }

private:
    double m_dSpeed;
    std::int64_t m_iStartNs;
};

/// One platform backend: the set of services for the running machine.
class TPlatform {
public:
    virtual ~TPlatform() = default;
    virtual TKernel& Kernel() = 0;
    virtual TClock& Clock() = 0;
};

/// The platform the process runs on. Installed once at start (see PlatformSelect.h).
TPlatform& Platform();

/// Installs the platform; the previous one is destroyed. Tests install their own.
void InstallPlatform(std::unique_ptr<TPlatform> platform);

/// The system language as the program sees it: an override set by tools, else the kernel's.
std::uint16_t SystemLanguageId();
void OverrideSystemLanguageId(std::optional<std::uint16_t> langId);

}  // namespace ps
