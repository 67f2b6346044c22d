// SPDX-License-Identifier: MIT
// Emulation directories for tests.
#include "support/EmulationDirBuilder.h"

#include <fstream>
#include <iterator>
#include <sstream>

namespace ps::test {

TEmulationDirBuilder::TSection& TEmulationDirBuilder::TSection::Set(std::string_view key,
                                                                    std::string_view value) {
    for (auto& entry : m_Keys) {
        if (entry.first == key) {
            entry.second = value;
            return *this;
        }
    }
    m_Keys.emplace_back(key, value);
    return *this;
}

TEmulationDirBuilder::TEmulationDirBuilder(std::filesystem::path directory)
    : m_Directory(std::move(directory)) {}

TEmulationDirBuilder::TSection& TEmulationDirBuilder::Section(std::string_view name) {
    for (auto& section : m_Sections) {
        if (section.Name() == name) return section;
    }
    return m_Sections.emplace_back(std::string(name));
}

TEmulationDirBuilder::TSection& TEmulationDirBuilder::Printer(std::string_view name,
                                                              std::string_view port) {
    return Section("Printer:" + std::string(name)).Set("Port", port);
}

TEmulationDirBuilder::TSection& TEmulationDirBuilder::Device(std::string_view id,
                                                             std::string_view usbPort,
                                                             std::string_view deviceId) {
    TSection& section = Section("Device:" + std::string(id));
    if (!usbPort.empty()) section.Set("UsbPort", usbPort);
    if (!deviceId.empty()) section.Set("DeviceId", deviceId);
    return section;
}

TEmulationDirBuilder& TEmulationDirBuilder::Kernel(std::string_view key, std::string_view value) {
    Section("Kernel").Set(key, value);
    return *this;
}

TEmulationDirBuilder& TEmulationDirBuilder::ClockSpeed(double speed) {
    std::ostringstream text;
    text << speed;
    Section("Clock").Set("Speed", text.str());
    return *this;
}

TEmulationDirBuilder& TEmulationDirBuilder::VirtualClock() {
    Section("Clock").Set("Virtual", "1");
    return *this;
}

std::string TEmulationDirBuilder::Text() const {
    std::string text;
    for (const auto& section : m_Sections) {
        text += "[" + section.Name() + "]\r\n";
        for (const auto& [key, value] : section.Keys()) text += key + "=" + value + "\r\n";
        text += "\r\n";
    }
    return text;
}

const std::filesystem::path& TEmulationDirBuilder::Write() const {
    std::ofstream out(m_Directory / "emulation.ini", std::ios::binary | std::ios::trunc);
    out << Text();
    return m_Directory;
}

std::filesystem::path TEmulationDirBuilder::DeviceDir(std::string_view id) const {
    return m_Directory / "devices" / std::string(id);
}

std::vector<std::string> TEmulationDirBuilder::CommandLog(std::string_view id) const {
    std::vector<std::string> lines;
    std::ifstream in(DeviceDir(id) / "commands.log");
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

std::string TEmulationDirBuilder::StateText() const {
    return ReadFileBytes(m_Directory / "state.ini");
}

std::string ReadFileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

}  // namespace ps::test
