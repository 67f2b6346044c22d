// SPDX-License-Identifier: MIT
// The main window against emulated printers: value lines, the page cycle, geometry, ink
// pages, the read warning, dispatch, diagnostic labels, single instance and the values report.
#include <gtest/gtest.h>

#include <QDialog>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <filesystem>

#include "app/StartUp.h"
#include "base/Lib_String.h"
#include "localisation/Scheme.h"
#include "platform/Platform.h"
#include "printer/Globals.h"
#include "scheme/Scheme3.h"
#include "support/TestScheme.h"
#include "support/UiTestSupport.h"
#include "transport/UtilDataSend.h"
#include "ui/common/ItemDialogTable.h"
#include "ui/common/QtWindowFactory.h"
#include "ui/main/uMain2.h"
#include "ui/setting/uSetItem.h"

namespace ps::test {
namespace {

namespace fs = std::filesystem;
using ui::TfrmMainView2;

constexpr const char* kPrinter = "Talvenor Test";
constexpr int kPitch = 57;

std::size_t CountRoute(const std::vector<std::string>& log, const std::string& route) {
    return static_cast<std::size_t>(std::count_if(
        log.begin(), log.end(), [&](const std::string& line) { return line.starts_with(route); }));
}

// The next visible control that Tab moves to.
QWidget* NextTabStop(QWidget* from) {
    for (QWidget* next = from->nextInFocusChain(); next && next != from;
         next = next->nextInFocusChain()) {
        if (next->isVisible() && (next->focusPolicy() & Qt::TabFocus)) return next;
    }
    return nullptr;
}

class MainWindowTest : public TUiFixture {
protected:
    // Page 0 with `advanced` items, page 99 with `maintenance`, and index items of 0 and 99.
    TTestScheme Scheme(int advanced, int maintenance) {
        TTestScheme scheme;
        scheme.Index(0, "00_ADVANCE", "Advanced", "Advanced note")
            .Index(99, "99_MAINTENANCE", "Maintenance", "Maintenance note")
            .Index(100, "100_SETTINGS", "Basic", "Basic note");
        scheme.Page(0, TTestScheme::NumberedItems(advanced));
        scheme.Page(99, TTestScheme::NumberedItems(maintenance, 0x30));
        scheme.Page(100, TTestScheme::NumberedItems(2, 0x50));
        return scheme;
    }
    void Printer(const TTestScheme& scheme, const std::string& values = {}) {
        AddUsbPrinter(kPrinter, "USB001", "dev", scheme.Text(), values);
    }
    TfrmMainView2& Start(const std::string& runMode) {
        EXPECT_EQ(StartUp({kPrinter, runMode}), kExitDone);
        EXPECT_NE(MainWindow(), nullptr);
        return *MainWindow();
    }
};

TEST_F(MainWindowTest, AdvancedPageShowsItemsAndTheValuesThePrinterHolds) {
    Printer(Scheme(3, 2), "10=1,11=2,12=7");
    TfrmMainView2& w = Start("0");
    EXPECT_EQ(w.windowTitle().toStdString(),
              std::string(kPrinter) + " " + g_GlobalString.MainCaption);
    EXPECT_EQ(w.lbl[0]->text(), "Item 1");
    // " (" cuts the title and keeps the blank before it.
    EXPECT_EQ(w.lblValue[0]->text().toStdString(), g_GlobalString.CurrentValue + "On ");
    EXPECT_EQ(w.lblValue[1]->text().toStdString(), g_GlobalString.CurrentValue + "Auto");
    EXPECT_EQ(w.lblValue[2]->text(), "");  // 7 is none of the rule's values
    // Not shown yet: what the window will show of the slots.
    EXPECT_TRUE(w.btn[2]->isVisibleTo(&w));
    EXPECT_FALSE(w.btn[3]->isVisibleTo(&w));
    EXPECT_FALSE(w.lbl[3]->isVisibleTo(&w));
    EXPECT_EQ(w.btn[0]->toolTip(), "Note 1");
    EXPECT_EQ(w.btn[0]->accessibleName(), "Item 1");
    EXPECT_EQ(w.lblVersion->text(), "Version:9.8.7.6");
    // One page read over USB, nothing else.
    const auto log = Commands("dev");
    EXPECT_EQ(CountRoute(log, "usb"), 1u) << testing::PrintToString(log);
    EXPECT_EQ(log.front(), "usb 1B 1D 1E 05 03 03 10 11 12 1B 1D 1F");
}

TEST_F(MainWindowTest, ModeButtonCyclesFromBaseToMaintenanceToAdvanced) {
    TTestScheme scheme = Scheme(3, 2);
    m_Dir.Write("program/printer-settings.ini",
                "[Settings]\r\nLocalPorts=LPT1\r\nDefaultScheme=..\\schemes\\dev_Settings.Dat\r\n");
    m_Builder.Kernel("ProgramPath", (Dir() / "program/printer-settings").string());
    Printer(scheme);
    TfrmMainView2& w = Start("100");
    EXPECT_EQ(g_CurrentPage, 100);
    EXPECT_EQ(w.lblMode->text(), "Maintenance");
    EXPECT_EQ(w.btnMode->toolTip(), "Maintenance note");
    EXPECT_EQ(w.btnMode->accessibleName(), "Maintenance");
    EXPECT_EQ(w.btnMode->size(), QSize(52, 44));
    ShowMainWindow();
    Click(w.btnMode);
    EXPECT_EQ(g_CurrentPage, 99);
    EXPECT_EQ(w.lblMode->text(), "Advanced");
    EXPECT_EQ(w.lbl[0]->text(), "Item 1");
    EXPECT_FALSE(w.btn[2]->isVisible());
    Click(w.btnMode);
    EXPECT_EQ(g_CurrentPage, 0);
    EXPECT_FALSE(w.btnMode->isVisible());  // the end of the cycle
    EXPECT_FALSE(w.grp2->isVisible());
    EXPECT_TRUE(w.btn[2]->isVisible());
}

TEST_F(MainWindowTest, RunModeZeroLeadsToBaseThenMaintenanceThenEndsForGood) {
    Printer(Scheme(3, 2), "10=1");
    TfrmMainView2& w = Start("0");
    ShowMainWindow();
    EXPECT_EQ(w.lblMode->text(), "Basic");
    Click(w.btnMode);
    EXPECT_EQ(g_CurrentPage, 100);
    Click(w.btnMode);
    EXPECT_EQ(g_CurrentPage, 99);
    Click(w.btnMode);
    EXPECT_EQ(g_CurrentPage, 0);
    EXPECT_FALSE(w.btnMode->isVisible());
    // The grid is rebuilt after an item dialog: the cycle stays at its end.
    bool opened = false;
    WhenShown<ui::TfrmSetItem>([&](ui::TfrmSetItem* d) {
        opened = true;
        Click(d->btnCancel);
    });
    Click(w.btn[0]);
    EXPECT_TRUE(opened);
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(CountRoute(Commands("dev"), "usb"), 5u);  // the grid was read again
    EXPECT_FALSE(w.btnMode->isVisible());
    EXPECT_FALSE(w.lblMode->isVisible());
    EXPECT_FALSE(w.grp2->isVisible());
}

TEST_F(MainWindowTest, SubGroupPageLeadsToAdvancedOrHidesTheModeButton) {
    TTestScheme scheme = Scheme(3, 2);
    Printer(scheme);
    TfrmMainView2& w = Start("128");
    ShowMainWindow();
    EXPECT_TRUE(w.btnMode->isVisible());
    EXPECT_EQ(w.lblMode->text(), "Advanced");
    DestroyMainWindow();

    TTestScheme noAdvanced;
    noAdvanced.Index(99, "99_MAINTENANCE", "Maintenance");
    noAdvanced.Page(99, TTestScheme::NumberedItems(2));
    m_Dir.Write("schemes/dev_Settings.Dat", noAdvanced.Text());
    TfrmMainView2& again = Start("128");
    again.show();
    EXPECT_FALSE(again.btnMode->isVisible());
    EXPECT_FALSE(again.grp2->isVisible());
}

TEST_F(MainWindowTest, MaintenancePageOfSixItemsPutsTheLastAloneInTheNextRow) {
    Printer(Scheme(3, 6));
    TfrmMainView2& w = Start("99");
    ShowMainWindow();
    EXPECT_EQ(w.btn[0]->geometry(), QRect(12, 15, 52, 44));
    EXPECT_EQ(w.btn[1]->geometry(), QRect(210, 15, 52, 44));
    EXPECT_EQ(w.btn[2]->y() - w.btn[0]->y(), kPitch);
    EXPECT_EQ(w.btn[4]->geometry(), QRect(12, 2 * kPitch + 15, 52, 44));
    EXPECT_EQ(w.btn[5]->geometry(), QRect(12, 3 * kPitch + 15, 52, 44));  // item 6
    EXPECT_EQ(w.height(), 4 * kPitch + 110);
    EXPECT_EQ(w.width(), 440);
    // Title right of its button, value line under the title.
    EXPECT_EQ(w.lbl[1]->x(), 210 + 52 + 10);
    EXPECT_EQ(w.lbl[1]->y(), 15 + 3);
    EXPECT_EQ(w.lblValue[1]->y(), w.lbl[1]->y() + w.lbl[1]->height() + 5);
    EXPECT_EQ(w.lblValue[1]->size(), QSize(130, 50));
}

TEST_F(MainWindowTest, SixteenItemsShowFifteenAndAdvancedPageHeightFollowsTheRows) {
    Printer(Scheme(16, 2));
    TfrmMainView2& w = Start("0");
    ShowMainWindow();
    for (int i = 0; i < ui::kGridSlots; ++i) {
        EXPECT_TRUE(w.btn[i]->isVisible()) << i;
        EXPECT_EQ(w.lbl[i]->text().toStdString(), "Item " + std::to_string(i + 1));
    }
    EXPECT_EQ(w.height(), kPitch * ((16 + 1) / 2) + 110);
}

TEST_F(MainWindowTest, InkPageReadsNothingAndShowsNoValueLinesOrWarning) {
    TTestScheme scheme = Scheme(2, 0);
    auto ink = TTestScheme::NumberedItems(3, 0x30);
    ink[0].icon = "Ink_Clean";
    ink[1].icon = "Ink_Deepclean";
    ink[2].icon = "12_QUIET_MODE";
    scheme.Page(99, ink);
    // Even a printer that never answers gives no read warning on an ink page.
    Printer(scheme, "32=1");
    m_Builder.Device("dev").Set("Mute", "1");
    TfrmMainView2& w = Start("99");
    EXPECT_EQ(CountRoute(Commands("dev"), "usb"), 0u);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(w.lblValue[i]->text(), "") << i;
    EXPECT_EQ(w.lbl[0]->text(), "Item 1");
}

TEST_F(MainWindowTest, PageNotReadOnUsbWarnsAtCreationOnly) {
    Printer(Scheme(3, 2));
    m_Builder.Device("dev").Set("Mute", "1");
    Install();
    m_Boxes.Expect(g_GlobalString.HintTitle, g_GlobalString.ReadTimeout, TMessageIcon::Warning);
    TfrmMainView2& w = Start("0");
    m_Boxes.VerifyAllShown();
    EXPECT_EQ(w.lblValue[0]->text(), "");
    ShowMainWindow();
    Click(w.btnMode);  // page change: read again, no warning
    EXPECT_EQ(CountRoute(Commands("dev"), "usb"), 2u);
}

TEST_F(MainWindowTest, AffirmReadDisableSilencesTheReadWarning) {
    TTestScheme scheme = Scheme(3, 2);
    scheme.Global("AffirmReadDisable", "1");
    Printer(scheme);
    m_Builder.Device("dev").Set("Mute", "1");
    Start("0");
    EXPECT_EQ(m_Boxes.shown.size(), 0u);
}

TEST_F(MainWindowTest, ValueLineChangesAfterTheItemDialogWroteAValue) {
    Printer(Scheme(3, 2), "10=0");
    TfrmMainView2& w = Start("0");
    ShowMainWindow();
    EXPECT_EQ(w.lblValue[0]->text().toStdString(), g_GlobalString.CurrentValue + "Off");
    int opened = 0;
    // A stand-in for the item setting dialog: writes 2 to the current item as it would.
    ui::RegisterItemDialog("TfrmSetItem", [&](QWidget* parent) {
        ++opened;
        EXPECT_FALSE(parent->isVisible());
        TSettingItem item;
        EXPECT_TRUE(g_SchemeOptions->GetItem(g_CurrentPage, g_CurrentItem, item));
        const TBytes command = SpacedHexToBytes(g_SchemeOptions->m_Sections.EnterInstruction + " " +
                                                g_SchemeOptions->WriteCommandOf(item, 2) + " " +
                                                g_SchemeOptions->m_Sections.SaveInstruction);
        std::int32_t none = 0;
        EXPECT_TRUE(PortMonitorExchange(g_PrinterName, command.data(),
                                        static_cast<std::int32_t>(command.size()), nullptr, none));
        auto dialog = std::make_unique<QDialog>(parent);
        QTimer::singleShot(0, dialog.get(), &QDialog::accept);
        return dialog;
    });
    Click(w.btn[0]);
    ui::RegisterItemDialog("TfrmSetItem", {});
    EXPECT_EQ(opened, 1);
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.lblValue[0]->text().toStdString(), g_GlobalString.CurrentValue + "Auto");
    EXPECT_EQ(CountRoute(Commands("dev"), "usb"), 2u);  // the grid was read again
}

TEST_F(MainWindowTest, DialogThatFailsShowsItsErrorAndTheWindowComesBack) {
    Printer(Scheme(3, 2));
    TfrmMainView2& w = Start("0");
    ShowMainWindow();
    ui::RegisterItemDialog("TfrmSetItem", [](QWidget*) -> std::unique_ptr<QDialog> {
        SpacedHexToBytes("1B 1D ZZ");  // a scheme text that is not hex
        return nullptr;
    });
    m_Boxes.Expect(kPrinter, "'$ZZ' is not a valid integer value", TMessageIcon::Error);
    Click(w.btn[0]);
    ui::RegisterItemDialog("TfrmSetItem", {});
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.lbl[0]->text(), "Item 1");
}

TEST_F(MainWindowTest, DiagnosticLabelsNeedTheDiagnosticFileNotAFolder) {
    Printer(Scheme(3, 2));
    fs::create_directories(Dir() / "drives/C/RORirad");
    TfrmMainView2& folder = Start("0");
    folder.show();
    EXPECT_FALSE(folder.lblPort->isVisible());
    EXPECT_FALSE(folder.lblPrinter->isVisible());
    DestroyMainWindow();

    fs::remove(Dir() / "drives/C/RORirad");
    m_Dir.Write("drives/C/RORirad", "");
    TfrmMainView2& file = Start("0");
    file.show();
    EXPECT_TRUE(file.lblPort->isVisible());
    EXPECT_EQ(file.lblPort->text(), "USB001");
    EXPECT_EQ(file.lblPrinter->text().toStdString(), std::string(kPrinter) + " 0 ");
}

TEST_F(MainWindowTest, OfflinePrinterIsShownInRedAndNotRead) {
    Printer(Scheme(3, 2));
    m_Builder.Printer(kPrinter, "USB001").Set("WorkOffline", "1");
    Install();
    m_Boxes.Expect(g_GlobalString.HintTitle, g_GlobalString.ReadTimeout, TMessageIcon::Warning);
    TfrmMainView2& w = Start("0");
    EXPECT_EQ(w.lblPort->text().toStdString(), g_GlobalString.PrinterNotOnline);
    EXPECT_TRUE(w.lblPort->styleSheet().contains("red"));
    EXPECT_EQ(CountRoute(Commands("dev"), "usb"), 0u);
    ASSERT_EQ(m_Boxes.shown.size(), 1u);  // the port is a USB port: not read, warned
}

TEST_F(MainWindowTest, SecondStartWhileTheWindowIsOpenEndsSilently) {
    Printer(Scheme(3, 2));
    Start("0");
    EXPECT_TRUE(Platform().SingleInstance().FindWindowClass(kMainWindowClass));
    ui::TQtWindowFactory windows;
    EXPECT_EQ(RunStartUp({kPrinter, "99"}, windows), kExitSecondInstance);
    DestroyMainWindow();
    EXPECT_FALSE(Platform().SingleInstance().FindWindowClass(kMainWindowClass));
}

TEST_F(MainWindowTest, RunMode99WritesTheValuesReportWhenDestroyed) {
    TTestScheme scheme = Scheme(3, 2);
    Printer(scheme, "50=1");
    Start("99");
    EXPECT_FALSE(fs::exists(CacheBase(kPrinter)));
    DestroyMainWindow();
    EXPECT_TRUE(fs::exists(CacheBase(kPrinter)));
}

TEST_F(MainWindowTest, EscClosesAndTabFollowsTheGrid) {
    Printer(Scheme(3, 2));
    TfrmMainView2& w = Start("0");
    ShowMainWindow();
    bool closed = false;
    QObject::connect(&w, &TfrmMainView2::closed, [&] { closed = true; });
    // Tab goes along the grid row by row, then to the mode and close buttons.
    EXPECT_EQ(NextTabStop(w.btn[0]), w.btn[1]);
    EXPECT_EQ(NextTabStop(w.btn[1]), w.btn[2]);
    EXPECT_EQ(NextTabStop(w.btn[2]), w.btnMode);
    EXPECT_EQ(NextTabStop(w.btnMode), w.btnClose);
    EXPECT_EQ(w.btnClose->text().toStdString(), g_GlobalString.ParametersBtnReturn);
    QTest::keyClick(&w, Qt::Key_Escape);
    EXPECT_TRUE(closed);
    EXPECT_FALSE(w.isVisible());
}

}  // namespace
}  // namespace ps::test
