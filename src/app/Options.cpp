// SPDX-License-Identifier: MIT
// Reading and writing the local options.
#include "app/Options.h"

#include "base/IniFile.h"
#include "base/IniWriter.h"
#include "base/PathText.h"
#include "base/InstallLayout.h"
#include "platform/Platform.h"

namespace ps {
namespace {
constexpr const char* kSection = "Settings";
}  // namespace

void TIniOptions::LoadFromFile(const std::filesystem::path& fileName) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(fileName, ec)) return;
    TIniFile ini = TIniFile::FromFile(fileName);
    LoadSettings(&ini);
}

void TIniOptions::LoadSettings(const TIniFile* ini) {
    if (!ini) return;
    SettingsLocalPorts = ini->ReadString(kSection, "LocalPorts", kDefaultLocalPorts);
    SettingsDefaultScheme = ini->ReadString(kSection, "DefaultScheme", kDefaultSchemeFile);
}

void TIniOptions::SaveSettings(const std::filesystem::path* iniFile) const {
    if (!iniFile) return;
    WriteIniString(*iniFile, kSection, "LocalPorts", SettingsLocalPorts);
    WriteIniString(*iniFile, kSection, "DefaultScheme", SettingsDefaultScheme);
}

void TIniOptions::SaveToFile(const std::filesystem::path& fileName) const {
    SaveSettings(&fileName);
}

std::filesystem::path ProgramFolder() {
    const std::filesystem::path program = PathFromUtf8(Platform().Kernel().GetProgramPath());
    // Installed, the program lies in bin/ and its files in share/; on Windows or in an
    // emulation's program folder they lie beside it.
    std::filesystem::path data = FindDataFolder(program);
    return data.empty() ? program.parent_path() : data;
}

std::filesystem::path LocalOptionsFile() {
    std::filesystem::path program = PathFromUtf8(Platform().Kernel().GetProgramPath());
    return ProgramFolder() / program.filename().replace_extension(".ini");
}

}  // namespace ps
