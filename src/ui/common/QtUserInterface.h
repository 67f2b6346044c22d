// SPDX-License-Identifier: MIT
// The Qt user-interface hook: standard message boxes, event processing that takes no user
// input, and the waiting window. A test can put a message hook in front of the boxes.
#pragma once

#include <QString>
#include <memory>
#include <string>

#include "platform/UserInterface.h"

class QWidget;

namespace ps::ui {

class TfrmWaiting;

/// A message box as the program asked for it.
struct TShownMessage {
    const QWidget* owner = nullptr;  // nullptr: the active window
    std::string caption;
    std::string text;
    TMessageIcon icon = TMessageIcon::None;
    TMessageButtons buttons = TMessageButtons::Ok;
};

/// Answers message boxes instead of showing them (tests).
class TMessageHook {
public:
    virtual ~TMessageHook() = default;
    virtual TMessageResult Answer(const TShownMessage& message) = 0;
};

class TQtUserInterface : public TUserInterface {
public:
    TQtUserInterface();
    ~TQtUserInterface() override;

    /// A standard QMessageBox over `owner` (a QWidget*; nullptr: the active window).
    TMessageResult ShowMessage(TOwnerWindow owner, const std::string& caption,
                               const std::string& text, TMessageIcon icon,
                               TMessageButtons buttons) override;
    /// Paint, timer and posted events only: a click cannot start a second exchange while
    /// the one that waits here runs.
    void ProcessMessages() override;
    /// Called for the outermost TWaitingScope: shows the waiting window, and closes it.
    void ShowWaiting(const std::string& caption, const std::string& text) override;
    void HideWaiting() override;

    /// True while ProcessMessages runs, i.e. an exchange waits in it.
    bool Pumping() const { return m_iPumpDepth > 0; }
    /// The waiting window while it is up, else nullptr.
    TfrmWaiting* WaitingWindow() const { return m_pWaiting.get(); }
    /// Replaces the real boxes by a hook (nullptr: real boxes again).
    void SetMessageHook(TMessageHook* hook) { m_pHook = hook; }

    /// The installed Qt hook, or nullptr when another hook is installed.
    static TQtUserInterface* Installed();

private:
    TMessageHook* m_pHook = nullptr;
    int m_iPumpDepth = 0;
    std::unique_ptr<TfrmWaiting> m_pWaiting;
};

/// Shows a message box through the installed hook over `owner` (nullptr: the active window).
TMessageResult ShowMessageOver(const QWidget* owner, const std::string& caption,
                               const std::string& text, TMessageIcon icon,
                               TMessageButtons buttons = TMessageButtons::Ok);

/// The application title ("Printer Settings", then the printer's name): the caption of the
/// framework's own error boxes.
const std::string& ApplicationTitle();
void SetApplicationTitle(const std::string& title);

/// QString from UTF-8 text and back.
QString Q(const std::string& text);
std::string S(const QString& text);

}  // namespace ps::ui
