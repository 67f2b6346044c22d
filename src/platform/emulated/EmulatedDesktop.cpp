// SPDX-License-Identifier: MIT
// The emulated shell and single-instance test.
#include "platform/emulated/EmulatedDesktop.h"

#include <fstream>
#include <iterator>

#include "base/IniFile.h"
#include "platform/NativeServices.h"

namespace ps::emu {
namespace {

std::optional<int> ReadPid(const std::filesystem::path& file) {
    std::ifstream in(file);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    return TryStrToInt(text);
}

class TClassFile : public TWindowClassRegistration {
public:
    explicit TClassFile(std::filesystem::path file) : m_File(std::move(file)) {}
    ~TClassFile() override {
        // Only our own registration is removed; a later one of another process stays.
        if (ReadPid(m_File) == NativeProcessId()) {
            std::error_code ec;
            std::filesystem::remove(m_File, ec);
        }
    }

private:
    std::filesystem::path m_File;
};

}  // namespace

bool TEmulatedShell::OpenUrl(const std::string& url) {
    std::ofstream log(m_Directory / "shell.log", std::ios::app | std::ios::binary);
    log << url << "\n";
    return static_cast<bool>(log);
}

std::filesystem::path TEmulatedSingleInstance::ClassFile(const std::string& className) const {
    std::string name;
    for (char c : className) {
        bool plain = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        name += plain ? c : '_';
    }
    return m_Directory / "windows" / (name + ".pid");
}

bool TEmulatedSingleInstance::FindWindowClass(const std::string& className) {
    auto pid = ReadPid(ClassFile(className));
    return pid && NativeProcessIsRunning(*pid);
}

std::unique_ptr<TWindowClassRegistration> TEmulatedSingleInstance::RegisterWindowClass(
    const std::string& className) {
    auto file = ClassFile(className);
    std::error_code ec;
    std::filesystem::create_directories(file.parent_path(), ec);
    std::ofstream(file, std::ios::trunc) << NativeProcessId() << "\n";
    return std::make_unique<TClassFile>(file);
}

}  // namespace ps::emu
