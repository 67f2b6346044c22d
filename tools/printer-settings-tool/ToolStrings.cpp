// SPDX-License-Identifier: MIT
// The "strings" command: the string table as loaded for one language, as JSON.
#include <iostream>
#include <nlohmann/json.hpp>
#include <string>

#include "ToolCommands.h"
#include "ToolCommon.h"
#include "localisation/Scheme.h"

namespace ps::tool {

int RunStringsCommand(std::vector<std::string> args) {
    const auto langId = TakeLanguageOption(args);
    if (!args.empty()) throw EUsageError("strings: unexpected argument '" + args.front() + "'");
    ApplySystemLanguage(langId);

    nlohmann::ordered_json out;
    out["Language"] = std::string(LanguageSuffix(g_GlobalString.Language));
    ForEachGlobalString(g_GlobalString,
                        [&](std::string_view key, const std::string& text) { out[key] = text; });
    std::cout << out.dump(2) << "\n";
    return kExitOk;
}

}  // namespace ps::tool
