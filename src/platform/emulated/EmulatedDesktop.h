// SPDX-License-Identifier: MIT
// The emulated shell (web addresses go to shell.log) and single-instance test (window classes
// registered as files under windows/, seen by every process on the same emulation directory).
#pragma once

#include <filesystem>

#include "platform/Platform.h"

namespace ps::emu {

class TEmulatedShell : public TShell {
public:
    explicit TEmulatedShell(std::filesystem::path directory) : m_Directory(std::move(directory)) {}
    bool OpenUrl(const std::string& url) override;

private:
    std::filesystem::path m_Directory;
};

class TEmulatedSingleInstance : public TSingleInstance {
public:
    explicit TEmulatedSingleInstance(std::filesystem::path directory)
        : m_Directory(std::move(directory)) {}
    bool FindWindowClass(const std::string& className) override;
    std::unique_ptr<TWindowClassRegistration> RegisterWindowClass(
        const std::string& className) override;

private:
    std::filesystem::path ClassFile(const std::string& className) const;
    std::filesystem::path m_Directory;
};

}  // namespace ps::emu
