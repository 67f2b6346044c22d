// SPDX-License-Identifier: MIT
// The emulated kernel: file tests on drive paths, inside the emulation directory.
#include <filesystem>
#include <system_error>

#include "platform/emulated/EmulatedKernel.h"

namespace ps::emu {

bool TEmulatedKernel::RegularFileExists(const std::string& path) {
    std::error_code ec;
    if (std::filesystem::is_regular_file(EmulatedFilePath(m_Config.directory, path), ec))
        return true;
    SetThreadLastError(kErrorFileNotFound);
    return false;
}

}  // namespace ps::emu
