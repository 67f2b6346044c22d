// SPDX-License-Identifier: MIT
// The Qt window factory and the windowed program's entry.
#include "ui/common/QtWindowFactory.h"

#include <QApplication>
#include <cstdlib>
#include <iostream>
#include <memory>

#include "app/StartUp.h"
#include "platform/Platform.h"
#include "ui/common/Artwork.h"
#include "ui/common/QtUserInterface.h"
#include "ui/device/DeviceDialogs.h"
#include "ui/main/uAbout.h"
#include "ui/main/uMain2.h"
#include "ui/setting/uSetItem.h"

namespace ps::ui {
namespace {

TRunItemDialog& RunItemDialogHook() {
    static TRunItemDialog run;
    return run;
}

std::vector<std::string>& Arguments() {
    static std::vector<std::string> arguments;
    return arguments;
}

bool Set(const char* name) {
    const char* value = std::getenv(name);
    return value && *value;
}

// Puts the console hook back when the Qt one goes, before QApplication does.
struct TInstalledQtHook {
    TInstalledQtHook() {
        auto hook = std::make_unique<TQtUserInterface>();
        InstallUserInterface(std::move(hook));
    }
    ~TInstalledQtHook() { InstallUserInterface(nullptr); }
};

}  // namespace

void SetRunItemDialog(TRunItemDialog run) {
    RunItemDialogHook() = std::move(run);
}

const std::vector<std::string>& CommandLineArguments() {
    return Arguments();
}

void SetCommandLineArguments(std::vector<std::string> arguments) {
    Arguments() = std::move(arguments);
}

int TQtWindowFactory::RunItemDialog() {
    if (RunItemDialogHook()) return RunItemDialogHook()();
    std::cerr << "printer-settings: the item setting dialog is not available in this build\n";
    return kExitNoWindow;
}

int TQtWindowFactory::RunMainWindow() {
    auto window = std::make_unique<TfrmMainView2>();
    if (!window->Created()) return kExitStartRefused;
    // Created hidden, as in every run mode; never shown by itself.
    TAboutBox about;
    QObject::connect(window.get(), &TfrmMainView2::closed, qApp, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    window->show();
    window->raise();
    window->activateWindow();
    // Where the window system keeps a program started in the background from the front.
    Platform().SingleInstance().BringProgramToFront();
    QApplication::exec();
    window.reset();  // destroyed before the process ends (values report of run mode 99)
    return kExitDone;
}

bool DisplayAvailable() {
#ifdef _WIN32
    return true;
#else
    return Set("DISPLAY") || Set("WAYLAND_DISPLAY") || Set("QT_QPA_PLATFORM");
#endif
}

int RunWindowed(int& argc, char** argv) {
    // A second start while the main window is open ends before any window system work.
    if (Platform().SingleInstance().FindWindowClass(kMainWindowClass)) return kExitSecondInstance;

    QApplication app(argc, argv);
    // Without Qt's own options, and as UTF-8 from the wide command line on Windows.
    std::vector<std::string> arguments;
    for (const QString& argument : QCoreApplication::arguments().mid(1))
        arguments.push_back(argument.toStdString());
    QApplication::setApplicationName("Printer Settings");
    // The main window hides while a dialog is open; only its closing ends the program.
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setWindowIcon(ItemIcon(kProgramIcon, QSize(64, 64)));
    SetApplicationTitle("Printer Settings");
    SetCommandLineArguments(arguments);

    TInstalledQtHook hook;
    RegisterSettingDialogs();
    RegisterDeviceDialogs();
    TQtWindowFactory windows;
    return RunStartUp(arguments, windows);
}

}  // namespace ps::ui
