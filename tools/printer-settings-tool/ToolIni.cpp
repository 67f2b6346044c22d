// SPDX-License-Identifier: MIT
// The "ini" command: one value as the INI reader returns it, as text or as a scheme integer.
#include <algorithm>
#include <filesystem>
#include <iostream>

#include "ToolCommands.h"
#include "ToolCommon.h"
#include "base/IniFile.h"
#include "platform/Platform.h"

namespace ps::tool {

int RunIniCommand(std::vector<std::string> args) {
    const auto langId = TakeLanguageOption(args);
    const auto intOption = std::find(args.begin(), args.end(), "--int");
    const bool asInteger = intOption != args.end();
    if (asInteger) args.erase(intOption);
    for (const auto& arg : args)
        if (arg.size() > 1 && arg[0] == '-' && arg[1] == '-')
            throw EUsageError("ini: unknown option '" + arg + "'");
    if (asInteger ? args.size() != 4 : (args.size() < 3 || args.size() > 4))
        throw EUsageError(asInteger ? "ini --int takes FILE SECTION KEY DEFAULT"
                                    : "ini takes FILE SECTION KEY [DEFAULT]");
    // Only the code page of files without a byte-order mark depends on the language.
    if (langId) OverrideSystemLanguageId(langId);

    const std::string& file = args[0];
    const auto ini =
        TIniFile::FromFile(std::filesystem::path(std::u8string(file.begin(), file.end())));
    if (asInteger) {
        const auto def = TryStrToInt(args[3]);
        if (!def) throw EUsageError("ini --int: DEFAULT '" + args[3] + "' is not an integer");
        std::cout << ini.ReadInteger(args[1], args[2], *def) << "\n";
    } else {
        std::cout << ini.ReadString(args[1], args[2], args.size() == 4 ? args[3] : "") << "\n";
    }
    return kExitOk;
}

}  // namespace ps::tool
