// SPDX-License-Identifier: MIT
// Fuzz target: the INI reader and the scheme loader take any bytes. Every section and key the
// reader lists must be found again by the lookups, no value may exceed the lookup limit, a load
// ends only with our own conversion error, and the title lookup takes any value of a loaded item.
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "base/IniFile.h"
#include "scheme/Scheme3.h"

using ps::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ps::fuzz::InstallFuzzEnvironment();
    if (size == 0) return 0;
    // The first byte picks the legacy code page the undecorated 8-bit text is read in.
    const std::uint16_t languages[] = {0x0409, 0x0804, 0x0411, 0x0419};
    const std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::string text = ps::DecodeIniBytes(bytes, languages[data[0] % 4]);
    const ps::TIniFile ini = ps::TIniFile::FromText(text);

    for (const std::string& section : ini.SectionNames()) {
        Check(ini.SectionExists(section));
        for (const std::string& key : ini.KeyNames(section)) {
            Check(ini.ValueExists(section, key));
            // A present key never falls back to the default, whatever the default is.
            const std::string value = ini.ReadString(section, key, "a");
            Check(ini.ReadString(section, key, "b") == value);
            Check(value.size() <= 4 * ps::kMaxIniValueLength);
            (void)ini.ReadInteger(section, key, 0);
            (void)ps::TryStrToInt(value);
        }
    }

    // The same text as a scheme: global settings, entry items and the six item lists.
    ps::TSchemeOptions2 scheme;
    try {
        scheme.LoadDriverSettings(&ini);
        scheme.LoadSettings(&ini);
    } catch (const ps::EConvertError&) {
        // a rule that cannot be expanded ends the load: expected for bad input
    }
    for (std::uint8_t page : {0, 1, 99, 128, 129, 191})
        for (std::int32_t i = 0; i < scheme.GetItemLength(page); ++i) {
            std::string title;
            scheme.GetTitleFromValue(page, i, title, static_cast<std::int32_t>(size));
            scheme.GetTitleFromValue(page, i, title, -1);
        }
    return 0;
}
