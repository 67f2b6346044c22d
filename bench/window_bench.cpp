// SPDX-License-Identifier: MIT
// Prints the time from process start to an empty Qt window on screen, and from there to the
// main window shown with the values of the emulated QR-520 (a printer that answers at once)
// and to the item dialog of run mode 1 showing the item's current value, each beside the
// sleeps the protocol asks for on the way. Runs offscreen unless a platform is set.
#include <QApplication>
#include <QLabel>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "app/StartUp.h"
#include "localisation/Scheme.h"
#include "platform/Platform.h"
#include "platform/emulated/EmulatedPlatform.h"
#include "printer/Globals.h"
#include "scheme/Scheme3.h"
#include "ui/common/QtUserInterface.h"
#include "ui/common/QtWindowFactory.h"
#include "ui/main/uMain2.h"
#include "ui/setting/uSetItem.h"

namespace {

using namespace ps;
using TClockPoint = std::chrono::steady_clock::time_point;

constexpr int kRounds = 10;
// Sleeps the main window's page read asks for: the settling after a read (51 x 10 ms) and at
// least one 50 ms round of the wait for the worker.
constexpr double kMandatedMs = 51 * 10 + 50;
// Sleeps of the item dialog's read in run mode 1: the settling after a read (51 x 10 ms).
constexpr double kItemMandatedMs = 51 * 10;

double MsSince(TClockPoint start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

void Exposed(QWidget& window) {
    window.show();
    while (!window.isVisible() || !window.windowHandle() || !window.windowHandle()->isExposed())
        QApplication::processEvents();
    QApplication::processEvents();
}

class TKeepWindow : public TWindowFactory {
public:
    std::unique_ptr<ui::TfrmMainView2> window;
    std::unique_ptr<ui::TfrmSetItem> dialog;
    int RunItemDialog() override {
        dialog = std::make_unique<ui::TfrmSetItem>();
        dialog->CreateGroupDialogs();
        return kExitDone;
    }
    int RunMainWindow() override {
        window = std::make_unique<ui::TfrmMainView2>();
        return kExitDone;
    }
};

std::filesystem::path Emulation(const std::filesystem::path& source) {
    auto dir = std::filesystem::temp_directory_path() / "ps-window-bench";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir / "schemes");
    std::filesystem::copy_file(source / "resources/Scheme/QR-520_Settings.Dat",
                               dir / "schemes/QR-520_Settings.Dat");
    std::ofstream(dir / "emulation.ini")
        << "[Kernel]\nLangId=0x0409\n"
           "[Printer:Talvenor QR-520]\nPort=USB001\nDriverName=Talvenor QR-520\n"
           "DependentFiles=schemes/QR-520_Settings.Dat\nDevice=qr520\n"
           "[Device:qr520]\nUsbPort=USB001\nDeviceId=MFG:Talvenor;MDL:QR-520;\n"
           "Scheme=schemes/QR-520_Settings.Dat\n";
    return dir;
}

}  // namespace

int main(int argc, char** argv) {
    const TClockPoint processStart = std::chrono::steady_clock::now();
    // The offscreen plug-in warns about every dialog's size hints; the figures are the output.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type != QtDebugMsg && !text.contains("propagateSizeHints"))
            std::fprintf(stderr, "%s\n", qPrintable(text));
    });
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QWidget empty;
    empty.resize(440, 539);
    Exposed(empty);
    const double emptyMs = MsSince(processStart);
    empty.hide();

    const char* source = std::getenv("PS_SOURCE_DIR");
    const auto dir = Emulation(source ? source : ".");
    InstallPlatform(emu::MakeEmulatedPlatform(dir));
    LoadGlobalStrings("RESSTRING", 0x0409);
    InstallUserInterface(std::make_unique<ui::TQtUserInterface>());

    std::vector<double> mainMs;
    for (int round = 0; round < kRounds; ++round) {
        ResetGlobals();
        g_SchemeOptions.reset();
        const TClockPoint start = std::chrono::steady_clock::now();
        TKeepWindow keep;
        RunStartUp({"Talvenor QR-520", "0"}, keep);
        if (!keep.window || !keep.window->Created()) {
            std::fprintf(stderr, "the main window did not open\n");
            return 1;
        }
        Exposed(*keep.window);
        mainMs.push_back(MsSince(start));
        if (keep.window->lblValue[0]->text().isEmpty()) {
            std::fprintf(stderr, "the main window shows no values\n");
            return 1;
        }
        keep.window.reset();
    }

    // Run mode 1: the item dialog of the first base item is the program's only window.
    std::vector<double> itemMs;
    for (int round = 0; round < kRounds; ++round) {
        ResetGlobals();
        g_SchemeOptions.reset();
        const TClockPoint start = std::chrono::steady_clock::now();
        TKeepWindow keep;
        RunStartUp({"Talvenor QR-520", "1", "0"}, keep);
        if (!keep.dialog) {
            std::fprintf(stderr, "the item dialog did not open\n");
            return 1;
        }
        Exposed(*keep.dialog);  // the dialog reads the current value as it shows
        itemMs.push_back(MsSince(start));
        if (keep.dialog->m_iValueIndex == ui::kNothingSelected) {
            std::fprintf(stderr, "the item dialog shows no current value\n");
            return 1;
        }
        keep.dialog.reset();
    }
    InstallUserInterface(nullptr);

    std::sort(mainMs.begin(), mainMs.end());
    std::sort(itemMs.begin(), itemMs.end());
    const double median = mainMs[mainMs.size() / 2];
    const double itemMedian = itemMs[itemMs.size() / 2];
    std::printf("process start to an empty Qt window shown:      %8.1f ms\n", emptyMs);
    std::printf(
        "then start-up to the main window with values:   %8.1f ms median, %.1f best"
        " (%d rounds)\n",
        median, mainMs.front(), kRounds);
    std::printf("sleeps the protocol asks for on the way:        %8.1f ms\n", kMandatedMs);
    std::printf("the program's own overhead (median - sleeps):   %8.1f ms (target < 50)\n",
                median - kMandatedMs);
    std::printf(
        "run mode 1: start-up to the item dialog's value: %8.1f ms median, %.1f best"
        " (%d rounds)\n",
        itemMedian, itemMs.front(), kRounds);
    std::printf("sleeps the protocol asks for on the way:        %8.1f ms\n", kItemMandatedMs);
    std::printf("the program's own overhead (median - sleeps):   %8.1f ms (target < 50)\n",
                itemMedian - kItemMandatedMs);
    std::filesystem::remove_all(dir);
    return 0;
}
