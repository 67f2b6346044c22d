// SPDX-License-Identifier: MIT
// The user-interface hook: how core code shows message boxes, keeps windows alive and shows the
// waiting window without knowing the widget toolkit. The Qt UI installs its own; without one,
// messages go to standard error.
#pragma once

#include <memory>
#include <string>

namespace ps {

enum class TMessageIcon { None, Information, Warning, Error, Question };
enum class TMessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class TMessageResult { Ok, Cancel, Yes, No };

class TUserInterface {
public:
    virtual ~TUserInterface() = default;

    /// Shows a modal message box and returns the button pressed.
    virtual TMessageResult ShowMessage(const std::string& caption, const std::string& text,
                                       TMessageIcon icon, TMessageButtons buttons) = 0;

    /// Processes pending window messages (keeps windows responsive during waits).
    virtual void ProcessMessages() = 0;

    /// Shows or hides the animated waiting window with a caption and a text.
    virtual void ShowWaiting(const std::string& caption, const std::string& text) = 0;
    virtual void HideWaiting() = 0;
};

/// Writes message boxes to standard error and answers them with their first button.
class TConsoleUserInterface : public TUserInterface {
public:
    TMessageResult ShowMessage(const std::string& caption, const std::string& text,
                               TMessageIcon icon, TMessageButtons buttons) override;
    void ProcessMessages() override {}
    void ShowWaiting(const std::string& caption, const std::string& text) override;
    void HideWaiting() override {}
};

/// The installed hook; a console one until something else is installed.
TUserInterface& UserInterface();
void InstallUserInterface(std::unique_ptr<TUserInterface> ui);

/// Short form used by core code.
inline TMessageResult ShowMessage(const std::string& caption, const std::string& text,
                                  TMessageIcon icon,
                                  TMessageButtons buttons = TMessageButtons::Ok) {
    return UserInterface().ShowMessage(caption, text, icon, buttons);
}

}  // namespace ps
