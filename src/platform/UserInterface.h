// SPDX-License-Identifier: MIT
// The user-interface hook: how core code shows message boxes, keeps windows alive and shows the
// waiting window without knowing the widget toolkit. The Qt UI installs its own; without one,
// every box is printed to standard error with the answer it took.
#pragma once

#include <memory>
#include <string>

namespace ps {

enum class TMessageIcon { None, Information, Warning, Error, Question };
enum class TMessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class TMessageResult { Ok, Cancel, Yes, No };

/// The window a message box belongs to. The Qt UI passes a QWidget*; nullptr means the active
/// window (core code always passes nullptr).
using TOwnerWindow = const void*;

/// Every method is called on the owner (user-interface) thread only.
class TUserInterface {
public:
    virtual ~TUserInterface() = default;

    /// Shows a modal message box over `owner` and returns the button pressed.
    virtual TMessageResult ShowMessage(TOwnerWindow owner, const std::string& caption,
                                       const std::string& text, TMessageIcon icon,
                                       TMessageButtons buttons) = 0;

    /// Delivers pending paint and timer events only, never user input: it is called while a
    /// worker exchange runs, and a pumped click must not start a second exchange (the Qt hook
    /// uses QEventLoop::ExcludeUserInputEvents; RunWorkerPumping refuses a nested one as well).
    virtual void ProcessMessages() = 0;

    /// Shows or hides the animated waiting window. Called for the outermost TWaitingScope only;
    /// core code uses the scope instead of calling these.
    virtual void ShowWaiting(const std::string& caption, const std::string& text) = 0;
    virtual void HideWaiting() = 0;

    /// Keeps the waiting window up for its lifetime. Scopes nest with a counter: the first one
    /// shows the window, an inner one leaves it (and its texts) alone, and the window goes when
    /// the last scope ends, on every path out including exceptions.
    class TWaitingScope {
    public:
        TWaitingScope(const std::string& caption, const std::string& text);
        ~TWaitingScope();
        TWaitingScope(const TWaitingScope&) = delete;
        TWaitingScope& operator=(const TWaitingScope&) = delete;
    };
};

using TWaitingScope = TUserInterface::TWaitingScope;

/// Number of waiting scopes open now (0 when the waiting window is hidden).
int WaitingDepth();

/// Prints every message box to standard error with its caption, text and the answer it took
/// (the first button), and the waiting window's texts when it shows.
class TConsoleUserInterface : public TUserInterface {
public:
    TMessageResult ShowMessage(TOwnerWindow owner, const std::string& caption,
                               const std::string& text, TMessageIcon icon,
                               TMessageButtons buttons) override;
    void ProcessMessages() override {}
    void ShowWaiting(const std::string& caption, const std::string& text) override;
    void HideWaiting() override {}
};

/// The answer a box takes when nobody chooses: its first button.
TMessageResult FirstButton(TMessageButtons buttons);
/// The button's name as the console prints it ("OK", "Cancel", "Yes", "No").
const char* ResultWord(TMessageResult result);

/// The installed hook; a console one until something else is installed.
TUserInterface& UserInterface();
/// Installs `ui` (nullptr: the console hook again).
void InstallUserInterface(std::unique_ptr<TUserInterface> ui);

/// Short form used by core code: a box over the active window.
inline TMessageResult ShowMessage(TOwnerWindow owner, const std::string& caption,
                                  const std::string& text, TMessageIcon icon,
                                  TMessageButtons buttons = TMessageButtons::Ok) {
    return UserInterface().ShowMessage(owner, caption, text, icon, buttons);
}

}  // namespace ps
