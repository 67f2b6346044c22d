// SPDX-License-Identifier: MIT
// Fuzz target: PPD text from a CUPS server. The scheme keyword gives nothing, or an absolute
// path of bounded length without control characters or quotes, which a PPD with that line alone
// gives again.
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "platform/linux/CupsRequests.h"

using ps::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string ppd(reinterpret_cast<const char*>(data), size);
    const std::string path = ps::PpdSchemeFile(ppd);
    if (path.empty()) return 0;
    Check(path.front() == '/');
    Check(path.size() <= 4096);
    for (char c : path) Check(static_cast<unsigned char>(c) >= 0x20 && c != '"');
    Check(ps::PpdSchemeFile("*PrinterSettingsScheme: \"" + path + "\"\n") == path);
    return 0;
}
