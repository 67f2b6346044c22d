// SPDX-License-Identifier: MIT
// The windows the start-up sequence hands over to, by run mode. The Qt user interface
// installs its factory; without one the run modes that need a window end with a message.
#pragma once

#include <memory>

namespace ps {

class TWindowFactory {
public:
    virtual ~TWindowFactory() = default;
    /// Run mode 1: the item setting dialog of (g_CurrentPage, g_CurrentItem) as the program's
    /// main window, with the group dialogs created hidden. Returns when it closes.
    virtual int RunItemDialog() = 0;
    /// Every other windowed run mode: the main window on g_CurrentPage. Returns when it closes.
    virtual int RunMainWindow() = 0;
};

/// The factory of a program built or run without windows: says that the window is not
/// available and ends.
class THeadlessWindowFactory : public TWindowFactory {
public:
    int RunItemDialog() override;
    int RunMainWindow() override;
};

}  // namespace ps
