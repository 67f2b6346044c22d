// SPDX-License-Identifier: MIT
// printer-settings: sets up and maintains invoice, passbook and inkjet printers.
#include <exception>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "ProgramHelp.h"
#include "app/Demo.h"
#include "app/StartUp.h"
#include "base/FileSystem.h"
#include "base/InstallLayout.h"
#include "base/PathText.h"
#include "base/ProgramPlace.h"
#include "localisation/Scheme.h"
#include "platform/PlatformSelect.h"
#include "platform/PlatformTypes.h"
#ifdef PS_HAVE_UI
#include "ui/common/QtWindowFactory.h"
#endif

namespace {

// --demo: a fresh private copy of the shipped demo printers, which this process then runs on.
std::optional<std::filesystem::path> SetUpDemo(const ps::TDemoRequest& request) {
    try {
        const std::filesystem::path emulation =
            ps::PrepareDemoFolder(ps::ProgramDataFolder(), ps::UserDemoFolder(), request.bKeep);
        ps::fs::SetEnvironmentValue(ps::kEmulationVariable, ps::PathToUtf8(emulation));
        std::cerr << "printer-settings: the demo printers are in " << ps::PathToUtf8(emulation)
                  << (request.bKeep ? "" : " (a fresh copy)") << "\n";
        return emulation;
    } catch (const std::exception& e) {
        std::cerr << "printer-settings: " << e.what() << "\n";
        return std::nullopt;
    }
}

}  // namespace

int main(int argc, char** argv) {
    ps::fs::UseUtf8StandardStreams();
    // On Windows the arguments come from the wide command line, as UTF-8.
    std::vector<std::string> args = ps::fs::CommandLineArguments(argc, argv);
    // Only as the first argument: the positional command line stays as it was.
    if (!args.empty() && args[0] == "--help") {
        std::cout << ps::help::kText;
        return ps::kExitDone;
    }
    if (!args.empty() && args[0] == "--version") {
        std::cout << "printer-settings " << ps::help::kVersion << "\n";
        return ps::kExitDone;
    }
    std::optional<std::filesystem::path> demo;
    if (!args.empty() && args[0] == "--demo") {
        ps::TDemoRequest request =
            ps::ParseDemoArguments(std::vector<std::string>(args.begin() + 1, args.end()));
        demo = SetUpDemo(request);
        if (!demo) return ps::kExitStartRefused;
        args = std::move(request.args);
    }
    try {
        ps::InstallDefaultPlatform();
        ps::LoadGlobalStrings("RESSTRING");
    } catch (const std::exception& e) {
        std::cerr << "printer-settings: " << e.what() << "\n";
        return ps::kExitStartRefused;
    }
#ifdef PS_HAVE_UI
    // With a display the windows open; without one the file-only run modes still work and
    // the windowed ones say that there is no window.
    if (ps::ui::DisplayAvailable()) {
        if (!demo) return ps::ui::RunWindowed(argc, argv);
        // The demo's own options are not the program's arguments.
        std::vector<char*> programArgv{argv[0]};
        for (std::string& arg : args) programArgv.push_back(arg.data());
        programArgv.push_back(nullptr);
        int programArgc = static_cast<int>(programArgv.size()) - 1;
        return ps::ui::RunWindowed(programArgc, programArgv.data());
    }
#endif
    ps::THeadlessWindowFactory windows;
    if (demo) return ps::RunDemoWithoutDisplay(args, *demo, windows, std::cout);
    return ps::RunStartUp(args, windows);
}
