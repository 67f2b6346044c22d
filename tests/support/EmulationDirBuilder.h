// SPDX-License-Identifier: MIT
// Writes emulation directories for tests: emulation.ini with printers, devices and kernel
// answers, and reads back what the emulation wrote (state.ini, command logs).
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace ps::test {

class TEmulationDirBuilder {
public:
    /// One section of emulation.ini; keys keep their order, a repeated key replaces the first.
    class TSection {
    public:
        explicit TSection(std::string name) : m_Name(std::move(name)) {}
        TSection& Set(std::string_view key, std::string_view value);
        const std::string& Name() const { return m_Name; }
        const std::vector<std::pair<std::string, std::string>>& Keys() const { return m_Keys; }

    private:
        std::string m_Name;
        std::vector<std::pair<std::string, std::string>> m_Keys;
    };

    /// Builds into `directory` (which must exist, e.g. a TTempDir's path).
    explicit TEmulationDirBuilder(std::filesystem::path directory);

    /// "[NAME]" (made on first use).
    TSection& Section(std::string_view name);
    /// "[Printer:NAME]" with its port.
    TSection& Printer(std::string_view name, std::string_view port);
    /// "[Device:ID]"; with a USB port it is listed by the vendor USB library.
    TSection& Device(std::string_view id, std::string_view usbPort = {},
                     std::string_view deviceId = {});
    /// [Kernel] and [Clock] values.
    TEmulationDirBuilder& Kernel(std::string_view key, std::string_view value);
    TEmulationDirBuilder& ClockSpeed(double speed);
    /// A clock whose time passes only by sleeping: time-outs follow from the order of calls.
    TEmulationDirBuilder& VirtualClock();

    /// Writes emulation.ini and returns the directory.
    const std::filesystem::path& Write() const;
    std::string Text() const;
    const std::filesystem::path& Directory() const { return m_Directory; }

    /// The state folder of device ID, and its commands.log lines.
    std::filesystem::path DeviceDir(std::string_view id) const;
    std::vector<std::string> CommandLog(std::string_view id) const;
    /// state.ini of the spooler (empty when it does not exist).
    std::string StateText() const;

private:
    std::filesystem::path m_Directory;
    std::vector<TSection> m_Sections;
};

/// A file's bytes ("" when it does not exist).
std::string ReadFileBytes(const std::filesystem::path& path);

}  // namespace ps::test
