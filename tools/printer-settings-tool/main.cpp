// SPDX-License-Identifier: MIT
// printer-settings-tool: scheme dump and lint, string table dump, INI look-ups, and the printer
// verbs that read, set, export and import a printer's settings.
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "ToolCommands.h"
#include "ToolCommon.h"
#include "Verbs.h"
#include "base/FileSystem.h"
#include "platform/PlatformSelect.h"

namespace {

constexpr const char* kUsage =
    "usage:\n"
    "  printer-settings-tool scheme dump [--lang CN|CHT|EN|JP] SCHEME_FILE [MENU_FILE]\n"
    "  printer-settings-tool scheme lint SCHEME_FILE [MENU_FILE]\n"
    "  printer-settings-tool strings [--lang CN|CHT|EN|JP | --langid 0xNNNN]\n"
    "  printer-settings-tool ini [--lang L] FILE SECTION KEY [DEFAULT]\n"
    "  printer-settings-tool ini [--lang L] --int FILE SECTION KEY DEFAULT\n"
    "  printer-settings-tool printers [--json]\n"
    "  printer-settings-tool get PRINTER [ITEM ...] [--page PAGE] [--json] [--lang L] [--wait S]\n"
    "  printer-settings-tool set PRINTER NAME=VALUE ... [--dry-run] [--json] [--lang L] [--wait "
    "S]\n"
    "  printer-settings-tool export PRINTER [--output FILE.json] [--lang L] [--wait S]\n"
    "  printer-settings-tool import PRINTER FILE.json [--dry-run] [--force] [--json] [--lang L]\n"
    "                                [--wait S]\n"
    "  (ITEM: an item's Name or PAGE/INDEX; see docs/command-line.md)\n";

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
        if (ps::tool::IsPrinterVerb(command)) {
            ps::tool::TVerbIo io{std::cout, std::cerr, ps::fs::StandardErrorIsTerminal()};
            return ps::tool::RunPrinterVerb(command, std::move(args), io);
        }
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
