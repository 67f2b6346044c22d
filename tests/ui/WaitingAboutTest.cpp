// SPDX-License-Identifier: MIT
// The waiting window (texts by printer name, dots on the clock, last-resort close, width by
// language) and the about box.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>

#include "localisation/Scheme.h"
#include "printer/Globals.h"
#include "support/EmulatedPlatformSupport.h"
#include "support/UiTestSupport.h"
#include "ui/common/ClockTimer.h"
#include "ui/main/uAbout.h"
#include "ui/main/uWaiting.h"

namespace ps::test {
namespace {

using ui::TfrmWaiting;

class WaitingWindow : public ::testing::Test {
protected:
    void SetUp() override {
        TEmulationDirBuilder builder(m_Dir.Path());
        builder.VirtualClock();
        builder.Write();
        InstallEmulation(m_Dir.Path());
        LoadGlobalStrings("RESSTRING", 0x0409);
    }
    void TearDown() override {
        g_PrinterName.clear();
        InstallTestPlatform();
    }
    TTempDir m_Dir;
};

TEST_F(WaitingWindow, TextsFollowTheIpRule) {
    g_PrinterName = "Talvenor IP-7";  // characters 10 and 11 are "IP"
    TfrmWaiting network;
    EXPECT_EQ(network.windowTitle().toStdString(), g_GlobalString.HintTitle);
    EXPECT_EQ(network.lblWaiting->text().toStdString(), g_GlobalString.WaitingForPrinterWork);

    for (const char* name : {"Talvenor QR-520", "Talvenor ", "Talvenor Ip-7", "IP"}) {
        g_PrinterName = name;
        TfrmWaiting local;
        EXPECT_EQ(local.windowTitle().toStdString(), g_GlobalString.ReadingPrinter) << name;
        EXPECT_EQ(local.lblWaiting->text().toStdString(), g_GlobalString.WaitingForPrinterRW);
    }
}

TEST_F(WaitingWindow, DotsGrowEveryHalfSecondOfTheClockAndStartAgain) {
    TfrmWaiting waiting;
    waiting.show();
    EXPECT_EQ(waiting.lblDot->text(), "");
    std::vector<std::string> rows;
    for (int tick = 0; tick < 8; ++tick) {
        Platform().Clock().Sleep(499);
        waiting.tmrWaiting->Poll();
        const std::string before = waiting.lblDot->text().toStdString();
        Platform().Clock().Sleep(1);
        waiting.tmrWaiting->Poll();
        EXPECT_NE(waiting.lblDot->text().toStdString(), before) << "tick " << tick;
        rows.push_back(waiting.lblDot->text().toStdString());
    }
    EXPECT_EQ(rows, (std::vector<std::string>{". ", ". . ", ". . . ", ". . . . ", ". . . . . ",
                                              ". . . . . . ", "", ". "}));
}

TEST_F(WaitingWindow, ClosesItselfAfter150Minutes) {
    TfrmWaiting waiting;
    waiting.show();
    Platform().Clock().Sleep(150 * 60 * 1000 - 1);
    waiting.tmrClose->Poll();
    EXPECT_TRUE(waiting.isVisible());
    Platform().Clock().Sleep(1);
    waiting.tmrClose->Poll();
    EXPECT_FALSE(waiting.isVisible());
    EXPECT_FALSE(waiting.tmrWaiting->Active());
}

TEST_F(WaitingWindow, IsTwentyPixelsWiderInEnglish) {
    TfrmWaiting english;
    LoadGlobalStrings("RESSTRING", 0x0804);
    TfrmWaiting chinese;
    EXPECT_EQ(chinese.width(), 334);
    EXPECT_EQ(english.width(), 354);
    EXPECT_EQ(chinese.height(), 135);
    EXPECT_EQ(chinese.windowTitle().toStdString(), g_GlobalString.ReadingPrinter);
}

TEST(AboutBox, IsADialogThatOnlyCloses) {
    ui::TAboutBox about;
    EXPECT_FALSE(about.isVisible());  // created hidden
    EXPECT_EQ(about.windowTitle(), "About");
    EXPECT_EQ(about.ProductName->text(), QString::fromUtf8("澜序打印机参数设置程序"));
    EXPECT_EQ(about.Version->text(), "Version 1.0");
    EXPECT_EQ(about.OKButton->text(), QString::fromUtf8("确定"));
    EXPECT_TRUE(about.OKButton->isDefault());
    about.show();
    about.OKButton->click();
    EXPECT_EQ(about.result(), QDialog::Accepted);
    EXPECT_FALSE(about.isVisible());
}

}  // namespace
}  // namespace ps::test
