// SPDX-License-Identifier: MIT
// Writing and reading back the nozzle-check pattern files.
#include "maintenance/NozzlePatterns.h"

#include <filesystem>
#include <fstream>
#include <system_error>

#include "base/AtomicFile.h"
#include "base/PathText.h"
#include "platform/Platform.h"

namespace ps {

std::string NozzlePatternFolder() {
    std::string folder = Platform().Kernel().GetTempPath();
    if (folder.empty()) return {};
    const char separator = folder.back() == '\\' || folder.back() == '/' ? folder.back() : '/';
    if (folder.back() != separator) folder += separator;
    std::string program = PathToUtf8(PathFromUtf8(Platform().Kernel().GetProgramPath()).stem());
    // The program's path as Windows writes it, on any machine.
    if (const auto cut = program.find_last_of("\\/"); cut != std::string::npos)
        program = program.substr(cut + 1);
    if (program.empty()) program = "printer-settings";
    return folder + program + separator;
}

std::array<std::string, kNozzlePatterns.size()> WriteNozzlePatternFiles() {
    std::array<std::string, kNozzlePatterns.size()> paths;
    const std::string folder = NozzlePatternFolder();
    if (folder.empty()) return paths;
    std::error_code ec;
    std::filesystem::create_directories(PathFromUtf8(folder), ec);
    for (std::size_t i = 0; i < kNozzlePatterns.size(); ++i) {
        paths[i] = folder + kNozzlePatterns[i].fileName;
        const std::span<const std::uint8_t> data = NozzlePatternData(kNozzlePatterns[i].resource);
        WriteFileAtomically(
            paths[i], std::string_view(reinterpret_cast<const char*>(data.data()), data.size()));
    }
    return paths;
}

std::optional<TBytes> ReadNozzlePatternFile(const std::string& path, std::string_view resource) {
    const std::size_t expected = NozzlePatternData(resource).size();
    if (path.empty() || expected == 0) return std::nullopt;
    std::ifstream in(PathFromUtf8(path), std::ios::binary);
    if (!in) return std::nullopt;
    TBytes bytes(expected + 1);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (static_cast<std::size_t>(in.gcount()) != expected) return std::nullopt;
    bytes.resize(expected);
    return bytes;
}

}  // namespace ps
