// SPDX-License-Identifier: MIT
// The start-up sequence: from the command line to the window (or file work) of a run mode.
#pragma once

#include <string>
#include <vector>

#include "app/WindowFactory.h"

namespace ps {

/// Exit codes of printer-settings.
inline constexpr int kExitDone = 0;            // the run mode did its work, or its window closed
inline constexpr int kExitStartRefused = 1;    // start-up ended early (messages say why)
inline constexpr int kExitNoResult = 2;        // run mode 101/102 produced no file
inline constexpr int kExitNoWindow = 3;        // the run mode's window is not in this build
inline constexpr int kExitSecondInstance = 4;  // another main window is open: ended silently

/// Window class of the main window, used for the single-instance test.
inline constexpr const char* kMainWindowClass = "TfrmMainView2";

/// Runs the whole start-up sequence for the arguments after the program name and dispatches
/// by run mode. The string table is loaded and the platform installed before.
int RunStartUp(const std::vector<std::string>& args, TWindowFactory& windows);

}  // namespace ps
