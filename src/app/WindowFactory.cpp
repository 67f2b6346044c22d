// SPDX-License-Identifier: MIT
// The factory used when no windows are available.
#include "app/WindowFactory.h"

#include <iostream>

#include "app/StartUp.h"

namespace ps {

int THeadlessWindowFactory::RunItemDialog() {
    std::cerr << "printer-settings: the item setting dialog is not available here (no display, or "
                 "a build without windows)\n";
    return kExitNoWindow;
}

int THeadlessWindowFactory::RunMainWindow() {
    std::cerr << "printer-settings: the main window is not available here (no display, or a build "
                 "without windows)\n";
    return kExitNoWindow;
}

}  // namespace ps
