// SPDX-License-Identifier: MIT
// Desktop services of a Windows session: web addresses through ShellExecuteW, and the
// single-instance test as a hidden top-level window of the main window's class.
#pragma once

#include <string>

#include "platform/Platform.h"

namespace ps::win32 {

class TWin32Shell : public TShell {
public:
    /// ShellExecuteW "open" on an http or https address (see IsWebAddress); false for any
    /// other text, which is never handed to the shell.
    bool OpenUrl(const std::string& url) override;
};

/// A main window registers its class by creating a hidden top-level window of that class on a
/// thread of its own (which answers the window messages every top-level window gets); a
/// second start finds it with FindWindowW, in any process of the session.
class TWin32SingleInstance : public TSingleInstance {
public:
    bool FindWindowClass(const std::string& className) override;
    std::unique_ptr<TWindowClassRegistration> RegisterWindowClass(
        const std::string& className) override;
    /// Brings the visible windows of this process to the front: the foreground of the
    /// start-up sequence, which Windows grants to a program started by the one in front.
    void BringProgramToFront() override;
};

}  // namespace ps::win32
