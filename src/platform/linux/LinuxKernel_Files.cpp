// SPDX-License-Identifier: MIT
// Kernel services of a Linux machine: file tests on drive paths.
#include <sys/stat.h>

#include <string>

#include "platform/linux/LinuxKernel.h"

namespace ps {

bool TLinuxKernel::RegularFileExists(const std::string& path) {
    std::string native = path;
    if (native.size() >= 2 && native[1] == ':' &&
        ((native[0] >= 'A' && native[0] <= 'Z') || (native[0] >= 'a' && native[0] <= 'z')))
        native.erase(0, 2);
    for (char& c : native) {
        if (c == '\\') c = '/';
    }
    struct stat info {};
    if (!native.empty() && ::stat(native.c_str(), &info) == 0 && S_ISREG(info.st_mode)) return true;
    SetThreadLastError(kErrorFileNotFound);
    return false;
}

}  // namespace ps
