// SPDX-License-Identifier: MIT
// printer-settings-tool: scheme dump and lint, string table dump, INI look-ups, and the printer
// verbs that read, set, export and import a printer's settings.
#include <exception>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "ProgramHelp.h"
#include "ToolCommands.h"
#include "ToolCommon.h"
#include "Verbs.h"
#include "base/FileSystem.h"
#include "platform/PlatformSelect.h"

namespace {

// The synopsis lines at the head of the help text, for messages about bad use.
std::string_view Usage() {
    const std::string_view text = ps::help::kText;
    return text.substr(0, text.find("\n\n") + 1);
}

}  // namespace

int main(int argc, char** argv) {
    ps::fs::UseUtf8StandardStreams();  // the documents are the same bytes on every system
    std::vector<std::string> args = ps::fs::CommandLineArguments(argc, argv);
    if (args.empty()) {
        std::cerr << Usage();
        return ps::tool::kExitUsage;
    }
    if (args[0] == "--help" || args[0] == "-h") {
        std::cout << ps::help::kText;
        return ps::tool::kExitOk;
    }
    if (args[0] == "--version") {
        std::cout << "printer-settings-tool " << ps::help::kVersion << "\n";
        return ps::tool::kExitOk;
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
        std::cerr << "printer-settings-tool: " << e.what() << "\n" << Usage();
        return ps::tool::kExitUsage;
    } catch (const std::exception& e) {
        std::cerr << "printer-settings-tool: " << e.what() << "\n";
        return ps::tool::kExitLoadError;
    }
}
