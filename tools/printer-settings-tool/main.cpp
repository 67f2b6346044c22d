// SPDX-License-Identifier: MIT
// printer-settings-tool: scheme dump and lint, string table dump, INI look-ups.
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "ToolCommands.h"
#include "ToolCommon.h"
#include "platform/PlatformSelect.h"

namespace {

constexpr const char* kUsage =
    "usage:\n"
    "  printer-settings-tool scheme dump [--lang CN|CHT|EN|JP] SCHEME_FILE [MENU_FILE]\n"
    "  printer-settings-tool scheme lint SCHEME_FILE [MENU_FILE]\n"
    "  printer-settings-tool strings [--lang CN|CHT|EN|JP | --langid 0xNNNN]\n"
    "  printer-settings-tool ini [--lang L] FILE SECTION KEY [DEFAULT]\n"
    "  printer-settings-tool ini [--lang L] --int FILE SECTION KEY DEFAULT\n";

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty() || args[0] == "--help" || args[0] == "-h") {
        (args.empty() ? std::cerr : std::cout) << kUsage;
        return args.empty() ? ps::tool::kExitUsage : ps::tool::kExitOk;
    }
    try {
        ps::InstallDefaultPlatform();
        const std::string command = args[0];
        args.erase(args.begin());
        if (command == "scheme") return ps::tool::RunSchemeCommand(std::move(args));
        if (command == "strings") return ps::tool::RunStringsCommand(std::move(args));
        if (command == "ini") return ps::tool::RunIniCommand(std::move(args));
        throw ps::tool::EUsageError("unknown command '" + command + "'");
    } catch (const ps::tool::EUsageError& e) {
        std::cerr << "printer-settings-tool: " << e.what() << "\n" << kUsage;
        return ps::tool::kExitUsage;
    } catch (const std::exception& e) {
        std::cerr << "printer-settings-tool: " << e.what() << "\n";
        return ps::tool::kExitLoadError;
    }
}
