// SPDX-License-Identifier: MIT
// The ground of the UI tests: a strict script of the message boxes a test expects, and a
// fixture that opens the real windows against an emulation directory with emulated printers.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/UserInterface.h"
#include "support/EmulationDirBuilder.h"
#include "support/TestSupport.h"
#include "ui/common/QtUserInterface.h"

namespace ps::ui {
class TfrmMainView2;
}

namespace ps::test {

/// Answers the program's message boxes from a script. Every box must be expected, in order;
/// a box nobody expected fails the test, and so does an expected box that never came.
class TMessageScript : public ui::TMessageHook {
public:
    struct TExpected {
        std::string caption;
        std::string text;
        TMessageIcon icon;
        TMessageResult answer;
    };

    /// The next box has this caption, text and icon; it is answered with `answer`.
    TMessageScript& Expect(std::string caption, std::string text, TMessageIcon icon,
                           TMessageResult answer = TMessageResult::Ok);
    /// Runs while the next box is up (before it is answered): what a user sees behind it.
    void OnNextBox(std::function<void(const ui::TShownMessage&)> action) {
        m_OnNext = std::move(action);
    }
    /// Fails the test for every expected box that was not shown, and forgets them.
    void VerifyAllShown();

    TMessageResult Answer(const ui::TShownMessage& message) override;

    /// Every box shown so far.
    std::vector<ui::TShownMessage> shown;

private:
    std::deque<TExpected> m_Expected;
    std::function<void(const ui::TShownMessage&)> m_OnNext;
};

/// Opens windows against a fresh emulation directory with a virtual clock. Strings are loaded
/// for English unless a test chooses another language before Install().
class TUiFixture : public ::testing::Test {
protected:
    TUiFixture();
    ~TUiFixture() override;
    void TearDown() override;

    /// A USB printer NAME on PORT whose driver carries `schemeText`, with the printer emulator
    /// (device ID) behind it implementing the same scheme. `values`: first item values.
    TEmulationDirBuilder::TSection& AddUsbPrinter(const std::string& name, const std::string& port,
                                                  const std::string& device,
                                                  const std::string& schemeText,
                                                  const std::string& values = {});
    /// The shipped QR-520 scheme on USB001 as "Talvenor QR-520" (device "qr520").
    void AddShippedQr520();
    /// Writes emulation.ini, installs the emulated platform and the Qt hook with the script,
    /// loads the string table for langId.
    void Install(std::uint16_t langId = 0x0409);
    /// Runs the start-up sequence for the arguments; a windowed run mode leaves its main
    /// window in MainWindow() (not yet shown). Returns the start-up's exit code.
    int StartUp(const std::vector<std::string>& args);
    /// Shows the main window as the program does.
    void ShowMainWindow();

    ui::TfrmMainView2* MainWindow() const { return m_pMain.get(); }
    void DestroyMainWindow();
    /// The commands.log lines of a device.
    std::vector<std::string> Commands(const std::string& device) const;
    /// The emulated spooler's state.ini.
    std::string SpoolerState() const;
    const std::filesystem::path& Dir() const { return m_Dir.Path(); }
    std::filesystem::path CacheBase(const std::string& printer) const;

    /// Clicks a button as a user does (mouse press and release on it).
    static void Click(QAbstractButton* button);
    /// Processes events until `done` holds or `timeoutMs` real milliseconds passed.
    static bool WaitUntil(const std::function<bool()>& done, int timeoutMs = 5000);
    /// What a screen reader finds in a window, through Qt's accessibility interfaces (the ones
    /// the Linux bridge exports): the window by its caption, every visible control that takes
    /// the keyboard focus by a name, and every control that shows a caption (its text, title,
    /// shown entry or buddy label) by that caption. Returns the faults found.
    static std::vector<std::string> ScreenReaderFaults(QWidget* window);
    /// Saves a window's picture (screenshots); returns the file.
    static std::filesystem::path Grab(QWidget* widget, const std::filesystem::path& file);

    TTempDir m_Dir;
    TEmulationDirBuilder m_Builder;
    TMessageScript m_Boxes;

private:
    std::unique_ptr<ui::TfrmMainView2> m_pMain;
    bool m_bInstalled = false;
};

/// Runs `action` once on the first visible dialog of type T while no exchange pumps events;
/// for dialogs that the code under test runs with exec().
template <typename T>
void WhenShown(std::function<void(T*)> action) {
    auto* timer = new QTimer(qApp);
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, action] {
        const ui::TQtUserInterface* qt = ui::TQtUserInterface::Installed();
        if (qt && (qt->Pumping() || qt->WaitingWindow())) return;
        for (QWidget* widget : QApplication::allWidgets()) {
            auto* dialog = qobject_cast<T*>(widget);
            if (!dialog || !dialog->isVisible()) continue;
            timer->stop();
            timer->deleteLater();
            action(dialog);
            return;
        }
    });
    timer->start();
}

}  // namespace ps::test
