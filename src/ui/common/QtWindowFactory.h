// SPDX-License-Identifier: MIT
// The windowed program: the Qt window factory the start-up sequence hands over to, and the
// entry that sets up Qt when a display is there.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/WindowFactory.h"

namespace ps::ui {

class TQtWindowFactory : public TWindowFactory {
public:
    int RunItemDialog() override;
    int RunMainWindow() override;
};

/// Run mode 1 (the item setting dialog as the program's main window); registered by the item
/// dialog's unit. Returns the exit code.
using TRunItemDialog = std::function<int()>;
void SetRunItemDialog(TRunItemDialog run);

/// The command-line arguments after the program name (the main window's diagnostic label).
const std::vector<std::string>& CommandLineArguments();
void SetCommandLineArguments(std::vector<std::string> arguments);

/// True when windows can be shown: a display (X11, Wayland) or a chosen Qt platform plug-in.
bool DisplayAvailable();

/// Runs the whole program with windows. The platform is installed and the string table loaded.
int RunWindowed(int& argc, char** argv);

}  // namespace ps::ui
