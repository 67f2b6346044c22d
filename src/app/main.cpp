// SPDX-License-Identifier: MIT
// printer-settings: sets up and maintains invoice, passbook and inkjet printers.
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "app/StartUp.h"
#include "localisation/Scheme.h"
#include "platform/PlatformSelect.h"

int main(int argc, char** argv) {
    try {
        ps::InstallDefaultPlatform();
        ps::LoadGlobalStrings("RESSTRING");
    } catch (const std::exception& e) {
        std::cerr << "printer-settings: " << e.what() << "\n";
        return ps::kExitStartRefused;
    }
    ps::THeadlessWindowFactory windows;
    return ps::RunStartUp(std::vector<std::string>(argv + 1, argv + argc), windows);
}
