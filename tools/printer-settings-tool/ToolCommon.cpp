// SPDX-License-Identifier: MIT
// Language options of the tool.
#include "ToolCommon.h"

#include <algorithm>

#include "base/IniFile.h"
#include "localisation/Scheme.h"
#include "platform/Platform.h"

namespace ps::tool {

std::optional<std::uint16_t> LangIdFromSuffix(const std::string& suffix) {
    if (suffix == "CN") return 0x0804;
    if (suffix == "CHT") return 0x0404;
    if (suffix == "EN") return 0x0409;
    if (suffix == "JP") return 0x0411;
    return std::nullopt;
}

std::optional<std::uint16_t> TakeLanguageOption(std::vector<std::string>& args) {
    std::optional<std::uint16_t> langId;
    for (auto it = args.begin(); it != args.end();) {
        if (*it != "--lang" && *it != "--langid") {
            ++it;
            continue;
        }
        if (langId) throw EUsageError("give --lang or --langid once");
        if (it + 1 == args.end()) throw EUsageError(*it + " needs a value");
        const std::string value = *(it + 1);
        if (*it == "--lang") {
            langId = LangIdFromSuffix(value);
            if (!langId) throw EUsageError("unknown language '" + value + "' (CN, CHT, EN or JP)");
        } else {
            auto parsed = TryStrToInt(value);
            if (!parsed || *parsed < 0 || *parsed > 0xFFFF)
                throw EUsageError("bad language identifier '" + value + "'");
            langId = static_cast<std::uint16_t>(*parsed);
        }
        it = args.erase(it, it + 2);
    }
    return langId;
}

void ApplySystemLanguage(std::optional<std::uint16_t> langId) {
    OverrideSystemLanguageId(langId);
    LoadGlobalStrings("RESSTRING", SystemLanguageId());
}

}  // namespace ps::tool
