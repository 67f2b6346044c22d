// SPDX-License-Identifier: MIT
// The program's local options, kept in an INI file beside the program: the local port list and
// the default scheme of local-port mode.
#pragma once

#include <filesystem>
#include <string>

namespace ps {

class TIniFile;

inline constexpr const char* kDefaultLocalPorts = "LPT1  COM1  _USB";
inline constexpr const char* kDefaultSchemeFile = "Scheme\\QR-520_Settings.Dat";

class TIniOptions {
public:
    /// Reads the file when it exists; otherwise both options keep their values.
    void LoadFromFile(const std::filesystem::path& fileName);
    /// Reads both options (with their defaults); nothing without an INI file.
    void LoadSettings(const TIniFile* ini);
    /// Writes both options into the INI file `iniFile` (nothing when null).
    void SaveSettings(const std::filesystem::path* iniFile) const;
    /// Writes both options into `fileName`, creating it when needed.
    void SaveToFile(const std::filesystem::path& fileName) const;

    /// Port names separated by blanks; "_USB" stands for every USB printer.
    std::string SettingsLocalPorts;
    /// A scheme file path relative to the program's folder.
    std::string SettingsDefaultScheme;
};

/// The program's folder, where its local options and default scheme lie: the shipped files'
/// folder (PREFIX/share/printer-settings) of an installed program, else the folder the
/// program itself lies in.
std::filesystem::path ProgramFolder();

/// The local options file: the program's file name with the extension ".ini", in its folder.
std::filesystem::path LocalOptionsFile();

}  // namespace ps
