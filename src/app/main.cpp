// SPDX-License-Identifier: MIT
// printer-settings: sets up and maintains invoice, passbook and inkjet printers.
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "app/StartUp.h"
#include "base/FileSystem.h"
#include "localisation/Scheme.h"
#include "platform/PlatformSelect.h"
#ifdef PS_HAVE_UI
#include "ui/common/QtWindowFactory.h"
#endif

int main(int argc, char** argv) {
    ps::fs::UseUtf8StandardStreams();
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
    if (ps::ui::DisplayAvailable()) return ps::ui::RunWindowed(argc, argv);
#endif
    ps::THeadlessWindowFactory windows;
    return ps::RunStartUp(ps::fs::CommandLineArguments(argc, argv), windows);
}
