// SPDX-License-Identifier: MIT
// Desktop services: opening a web address, and the single-instance window class.
#pragma once

#include <memory>
#include <string>

namespace ps {

/// The desktop shell.
class TShell {
public:
    virtual ~TShell() = default;
    /// Opens a web address with the user's default handler. Does not wait for it; false when
    /// no handler could be started. User-interface thread.
    virtual bool OpenUrl(const std::string& url) = 0;
};

/// A registered main-window class; the registration ends when this object is destroyed.
class TWindowClassRegistration {
public:
    virtual ~TWindowClassRegistration() = default;
};

/// The single-instance test: a main window registers its class while it exists, and a
/// second start looks for a window of that class, in any process of this user's session.
class TSingleInstance {
public:
    virtual ~TSingleInstance() = default;
    /// True when a top-level window of class `className` exists. Never blocks.
    virtual bool FindWindowClass(const std::string& className) = 0;
    /// Registers a window of class `className` for as long as the result lives.
    virtual std::unique_ptr<TWindowClassRegistration> RegisterWindowClass(
        const std::string& className) = 0;
    /// Brings this program's windows to the front of the desktop, where the window system
    /// lets a program do that itself. Default: nothing (the toolkit's own raise is enough).
    virtual void BringProgramToFront() {}
};

}  // namespace ps
