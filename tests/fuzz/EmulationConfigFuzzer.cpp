// SPDX-License-Identifier: MIT
// Fuzz target: the emulated platform's emulation.ini takes any bytes. The reader must accept
// every file, keep each printer once (names compared without letter case), and printer data
// values must read back as they were written. The file lives in a private temporary folder.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "platform/emulated/EmulationConfig.h"

using ps::fuzz::Check;

namespace {

// One folder for the whole run, removed when the process ends normally.
class TFuzzDirectory {
public:
    TFuzzDirectory() {
        std::string pattern = (std::filesystem::temp_directory_path() / "ps-fuzz-XXXXXX").string();
        Check(mkdtemp(pattern.data()) != nullptr);
        m_Path = pattern;
    }
    ~TFuzzDirectory() {
        std::error_code ec;
        std::filesystem::remove_all(m_Path, ec);
    }
    const std::filesystem::path& Path() const { return m_Path; }

private:
    std::filesystem::path m_Path;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ps::fuzz::InstallFuzzEnvironment();
    static const TFuzzDirectory directory;
    {
        std::ofstream file(directory.Path() / "emulation.ini", std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    std::vector<std::string> problems;
    const ps::emu::TEmulationConfig config =
        ps::emu::LoadEmulationConfig(directory.Path(), &problems);
    for (std::size_t i = 0; i < config.printers.size(); ++i) {
        Check(config.FindPrinter(config.printers[i].name) == &config.printers[i]);
        for (const auto& [name, value] : config.printers[i].data) {
            const auto again =
                ps::emu::ParsePrinterDataValue(ps::emu::FormatPrinterDataValue(value));
            Check(again && again->type == value.type && again->bytes == value.bytes);
        }
    }
    Check(config.clockSpeed > 0);

    // The whole input as one printer data value.
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (auto value = ps::emu::ParsePrinterDataValue(text)) {
        const auto again = ps::emu::ParsePrinterDataValue(ps::emu::FormatPrinterDataValue(*value));
        Check(again && again->type == value->type && again->bytes == value->bytes);
    }
    (void)ps::emu::ResolveEmulationPath(directory.Path(), text);
    return 0;
}
