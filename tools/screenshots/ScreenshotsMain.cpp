// SPDX-License-Identifier: MIT
// ps-screenshots: opens every window against an emulation directory (offscreen) and saves
// each as a PNG file, for one language.
//   ps-screenshots EMULATION_DIR OUT_DIR LANGID SUFFIX
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QPainter>
#include <QTimer>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <iostream>
#include <memory>
#include <string>

#include "app/StartUp.h"
#include "localisation/Scheme.h"
#include "platform/Platform.h"
#include "platform/emulated/EmulatedPlatform.h"
#include "printer/Globals.h"
#include "scheme/Scheme3.h"
#include "ui/common/Artwork.h"
#include "ui/common/QtUserInterface.h"
#include "ui/common/QtWindowFactory.h"
#include "ui/device/ULock.h"
#include "ui/device/UNormalSet.h"
#include "ui/device/UTime.h"
#include "ui/device/frmFirewareVersion.h"
#include "ui/device/uFeedPrecision.h"
#include "ui/device/uHorizontal.h"
#include "ui/device/uInkDry.h"
#include "ui/device/uInkSet.h"
#include "ui/device/uInquiry.h"
#include "ui/device/uInquiry2.h"
#include "ui/main/uAbout.h"
#include "ui/main/uMain2.h"
#include "ui/main/uWaiting.h"
#include "ui/setting/FormInvoiceType_SetGroup.h"
#include "ui/setting/uHeadsn.h"
#include "ui/setting/uSetGroupItem.h"
#include "ui/setting/uSetItem.h"

namespace {

using namespace ps;
namespace fs = std::filesystem;

fs::path g_Out;
std::string g_Suffix;

// Message boxes are written down, not shown: the pictures are of the windows.
class TLogBoxes : public ui::TMessageHook {
public:
    TMessageResult Answer(const ui::TShownMessage& message) override {
        std::cerr << "  (box) " << message.caption << ": " << message.text << "\n";
        return TMessageResult::Ok;
    }
};

void Save(QWidget& widget, const std::string& name) {
    QApplication::processEvents();
    const fs::path file = g_Out / (name + "-" + g_Suffix + ".png");
    widget.grab().save(QString::fromStdString(file.string()));
    std::cout << file.string() << "\n";
}

// The start-up sequence hands the main window over instead of running its loop.
class TKeepWindow : public TWindowFactory {
public:
    std::unique_ptr<ui::TfrmMainView2> window;
    int RunItemDialog() override { return kExitNoWindow; }
    int RunMainWindow() override {
        window = std::make_unique<ui::TfrmMainView2>();
        return window->Created() ? kExitDone : kExitStartRefused;
    }
};

void MainWindow(const std::string& printer, const std::string& runMode, const std::string& name,
                int modeClicks) {
    ResetGlobals();
    g_SchemeOptions.reset();
    ui::SetCommandLineArguments({printer, runMode});
    TKeepWindow keep;
    if (RunStartUp({printer, runMode}, keep) != kExitDone || !keep.window) {
        std::cerr << "no main window for " << printer << "\n";
        return;
    }
    keep.window->show();
    Save(*keep.window, name);
    for (int click = 1; click <= modeClicks; ++click) {
        keep.window->btnModeClick();
        Save(*keep.window, name + "-mode" + std::to_string(click));
    }
    keep.window.reset();
}

// The item dialog in its radio and list forms, and the dialogs a value leads on to.
void SettingDialogs(const std::string& printer) {
    ResetGlobals();
    g_SchemeOptions.reset();
    TKeepWindow keep;
    if (RunStartUp({printer, "100"}, keep) != kExitDone || !keep.window) {
        std::cerr << "no scheme for " << printer << "\n";
        return;
    }
    auto item = [](std::uint8_t page, int index, const std::string& name) {
        g_CurrentPage = page;
        g_CurrentItem = index;
        ui::TfrmSetItem dialog;
        dialog.show();
        Save(dialog, name);
    };
    item(kPageBase, 0, "item-radio");   // five paper types: a list
    item(kPageBase, 1, "item-list");    // two values: a radio group
    item(kPageBase, 4, "item-serial");  // a range of values
    item(kPageAdvance, 13, "item-subgroup");

    ui::TFormSetGroupItem group;
    group.SetParameters("Serial", 1);
    group.show();
    Save(group, "group-item");
    group.hide();

    ui::TfrmInvoiceType_SetGruop card;
    card.ArrangeForRow(3);
    card.setWindowTitle("Card");
    card.show();
    Save(card, "card-type-card");
    card.hide();
    card.ArrangeForRow(4);
    card.setWindowTitle("Passbook");
    card.show();
    Save(card, "card-type-passbook");
    card.hide();

    ui::THeadSNForm headSN;
    headSN.show();
    Save(headSN, "head-sn");
    headSN.edtSN->setText("QJ7602024A0815");
    headSN.tmrEnBtnTimer();
    Save(headSN, "head-sn-number");
    keep.window.reset();
}

// The ink maintenance pages of the inkjet printer: a picture page, the nozzle check page, a
// step of the head change and of the ink box change.
void InkPages(const std::string& printer) {
    ResetGlobals();
    g_SchemeOptions.reset();
    TKeepWindow keep;
    if (RunStartUp({printer, "99"}, keep) != kExitDone || !keep.window) {
        std::cerr << "no maintenance page for " << printer << "\n";
        return;
    }
    auto page = [](int index, const std::string& name) {
        g_CurrentPage = kPageMaintenance;
        g_CurrentItem = index;
        auto dialog = std::make_unique<ui::TfrmSetItem>();
        dialog->show();
        Save(*dialog, name);
        return dialog;
    };
    page(0, "ink-clean");
    page(3, "ink-holecheck");
    // The head change on its third step: Start (with a serial number), then Next twice.
    auto head = page(4, "ink-changehead-start");
    auto* fill = new QTimer(qApp);
    QObject::connect(fill, &QTimer::timeout, [fill] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* form = qobject_cast<ui::THeadSNForm*>(widget);
            if (!form || !form->isVisible()) continue;
            form->edtSN->setText("QJ7602024A0815");
            form->btnOKClick();
            fill->deleteLater();
            return;
        }
    });
    fill->start(10);
    head->btnNextClick();
    head->btnNextClick();
    head->btnNextClick();
    Save(*head, "ink-changehead-step3");
    // The ink box change after Start: its one step, OK enabled.
    auto box = page(5, "ink-changebox-start");
    box->btnNextClick();
    Save(*box, "ink-changebox-step1");
    keep.window.reset();
}

// Every maintenance picture with its name, twelve to a sheet.
void PictureSheets() {
    const QStringList names = ui::PictureNames();
    const int columns = 3, rows = 4, cellW = 360, cellH = 224, perSheet = columns * rows;
    for (int first = 0; first < names.size(); first += perSheet) {
        QImage sheet(columns * cellW, rows * cellH, QImage::Format_ARGB32);
        sheet.fill(Qt::white);
        QPainter painter(&sheet);
        for (int i = first; i < names.size() && i < first + perSheet; ++i) {
            const int x = ((i - first) % columns) * cellW, y = ((i - first) / columns) * cellH;
            painter.drawPixmap(x + 7, y + 4, ui::PicturePixmap(names[i].toStdString(), 1.0));
            painter.drawText(QRect(x, y + 200, cellW, 20), Qt::AlignCenter, names[i]);
        }
        painter.end();
        const fs::path file = g_Out / ("pictures-" + std::to_string(first / perSheet + 1) + ".png");
        sheet.save(QString::fromStdString(file.string()));
        std::cout << file.string() << "\n";
    }
}

// The index of the maintenance item with this Icon (-1 when the page has none).
int MaintenanceIndex(const std::string& icon) {
    const ArrSettingItems& items = g_SchemeOptions->m_Maintenance;
    for (std::size_t i = 0; i < items.size(); ++i)
        if (items[i].Icon == icon) return static_cast<int>(i);
    return -1;
}

// Opens the device dialog T of the maintenance item with `icon` and saves it.
template <typename T>
void DeviceDialog(const std::string& icon, const std::string& name,
                  const std::function<void(T&)>& before = {}) {
    g_CurrentPage = kPageMaintenance;
    g_CurrentItem = MaintenanceIndex(icon);
    if (g_CurrentItem < 0) {
        std::cerr << "no item " << icon << "\n";
        return;
    }
    T dialog;
    dialog.show();
    if (before) before(dialog);
    Save(dialog, name);
}

// Every device function dialog on the inkjet's maintenance page, and the layouts of other
// command sets and of the other alignment variant.
void DeviceDialogs(const std::string& printer) {
    ResetGlobals();
    g_SchemeOptions.reset();
    TKeepWindow keep;
    if (RunStartUp({printer, "99"}, keep) != kExitDone || !keep.window) {
        std::cerr << "no scheme for " << printer << "\n";
        return;
    }
    TTagSections& sections = g_SchemeOptions->m_Sections;
    const std::string ownSet = sections.SettingCommand;
    DeviceDialog<ui::TfrmInkSet>("Ink_Adjust", "ink-adjust-6b22");
    sections.SettingCommand = "6A3C";
    DeviceDialog<ui::TfrmInkSet>("Ink_Adjust", "ink-adjust-common");
    sections.SettingCommand = "4E17";
    DeviceDialog<ui::TfrmInkSet>("Ink_Adjust", "ink-adjust-4e17");
    sections.SettingCommand = "6A3C";
    DeviceDialog<ui::TFormFeedPrecision>("InkJet_FeedPrecision", "feed-precision-single");
    sections.SettingCommand = ownSet;
    DeviceDialog<ui::TFormFeedPrecision>("InkJet_FeedPrecision", "feed-precision-6b22");

    DeviceDialog<ui::TInquiry>("Ink_Inquiry", "counters");
    DeviceDialog<ui::TInquiry2>("Ink_Inquiry", "total-pages");
    DeviceDialog<ui::TInkDry>("Ink_Dry", "drying-time");
    DeviceDialog<ui::THorizontal>("Ink_Horizontal", "alignment-step");
    const int horizontal = MaintenanceIndex("Ink_Horizontal");
    if (horizontal >= 0) {
        std::string& itemName = g_SchemeOptions->m_Maintenance[horizontal].Name;
        const std::string ownName = itemName;
        itemName = "Ink_Horizontal";
        DeviceDialog<ui::THorizontal>("Ink_Horizontal", "alignment-twelve-steps");
        itemName = ownName;
    }
    DeviceDialog<ui::TTime>("Ink_Timer", "clock");
    DeviceDialog<ui::TLock>("Ink_Lock", "locks");
    DeviceDialog<ui::TNormalSet>("NormalSet", "direct-option",
                                 [](ui::TNormalSet& dialog) { dialog.btnSetClick(); });
    DeviceDialog<ui::TFormFirewareVersion>("Ink_FirewareVersion", "firmware-version");
    keep.window.reset();
}

void IconSheet() {
    const QStringList names = ui::IconNames();
    const int columns = 8, cellW = 120, cellH = 70;
    const int rows = static_cast<int>((names.size() + columns - 1) / columns);
    QImage sheet(columns * cellW * 2, rows * cellH * 2, QImage::Format_ARGB32);
    sheet.setDevicePixelRatio(2.0);
    sheet.fill(Qt::white);
    QPainter painter(&sheet);
    QFont font = painter.font();
    font.setPixelSize(8);
    painter.setFont(font);
    for (int i = 0; i < names.size(); ++i) {
        const int x = (i % columns) * cellW, y = (i / columns) * cellH;
        painter.drawPixmap(x + (cellW - 46) / 2, y + 6,
                           ui::ItemPixmap(names[i].toStdString(), 2.0));
        painter.drawText(QRect(x, y + 48, cellW, 16), Qt::AlignCenter, names[i]);
    }
    painter.end();
    sheet.save(QString::fromStdString((g_Out / "icons.png").string()));
    std::cout << (g_Out / "icons.png").string() << "\n";
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::cerr << "usage: ps-screenshots EMULATION_DIR OUT_DIR LANGID SUFFIX\n";
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    g_Out = argv[2];
    g_Suffix = argv[4];
    fs::create_directories(g_Out);
    const auto langId = static_cast<std::uint16_t>(std::stoul(argv[3], nullptr, 0));
    InstallPlatform(emu::MakeEmulatedPlatform(argv[1]));
    LoadGlobalStrings("RESSTRING", langId);
    OverrideSystemLanguageId(langId);
    TLogBoxes boxes;
    auto qt = std::make_unique<ui::TQtUserInterface>();
    qt->SetMessageHook(&boxes);
    InstallUserInterface(std::move(qt));

    MainWindow("Talvenor QR-520", "100", "main-qr520", 2);
    MainWindow("Talvenor QJ-760", "99", "main-qj760-maintenance", 0);
    MainWindow("Talvenor QR-520 Network", "0", "main-network-advanced", 0);

    SettingDialogs("Talvenor QR-520");
    InkPages("Talvenor QJ-760");
    DeviceDialogs("Talvenor QJ-760");

    g_PrinterName = "Talvenor QR-520";
    ui::TfrmWaiting waiting;
    waiting.show();
    for (int i = 0; i < 3; ++i) waiting.tmrWaitingTimer();
    Save(waiting, "waiting");
    waiting.hide();

    ui::TAboutBox about;
    about.show();
    Save(about, "about");
    about.hide();

    if (g_Suffix == "en") {
        IconSheet();
        PictureSheets();
    }
    InstallUserInterface(nullptr);
    return 0;
}
