// SPDX-License-Identifier: MIT
// Fuzz target: the JSON document printer-settings-tool import reads. Any text is read, or
// refused as bad input; no other failure escapes (a parser error, a type error of a member).
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "ImportDocument.h"
#include "VerbSession.h"

using ps::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    try {
        (void)ps::tool::ParseImportDocument(text, "doc");
    } catch (const ps::tool::EVerbFailure& e) {
        Check(e.ExitCode() == ps::tool::kVerbBadInput);
    }
    return 0;
}
