// SPDX-License-Identifier: MIT
// The one-shot device dialogs against the emulated inkjet: locks, the printer clock, the
// direct option's three routes, feed precision and the firmware version; and the main
// window's way to every device dialog.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

#include "DeviceDialogTest.h"
#include "device/DeviceCodecs.h"
#include "localisation/Scheme.h"
#include "platform/Platform.h"
#include "ui/common/ItemDialogTable.h"
#include "ui/common/QtUserInterface.h"
#include "ui/device/ULock.h"
#include "ui/device/UNormalSet.h"
#include "ui/device/UTime.h"
#include "ui/device/frmFirewareVersion.h"
#include "ui/device/uFeedPrecision.h"
#include "ui/main/uMain2.h"

namespace ps::test {
namespace {

using namespace ui;

const std::string kCommit = "1B 1D 1E 10 00 01 1B 1D 1F";

std::string Le32(std::int64_t v) {
    char text[16];
    std::snprintf(text, sizeof text, "%02X %02X %02X %02X", static_cast<unsigned>(v & 0xFF),
                  static_cast<unsigned>((v >> 8) & 0xFF), static_cast<unsigned>((v >> 16) & 0xFF),
                  static_cast<unsigned>((v >> 24) & 0xFF));
    return text;
}

class LocksAndClockTest : public DeviceDialogTest {};

TEST_F(LocksAndClockTest, LockButtonsOnAnyPortAndTheirRefusals) {
    Printer({}, "LPT1");
    auto d = Open<TLock>(kLock);
    EXPECT_EQ(d->windowTitle(), QString::fromUtf8("屏幕与纸仓锁"));
    for (QPushButton* button : {d->btnMonitorLock, d->btnPaperLock, d->btnPaperBoxOpen}) {
        ExpectBox(g_GlobalString.HintTitle, g_GlobalString.InkFinish, TMessageIcon::Information);
        TUiFixture::Click(button);
    }
    EXPECT_EQ(Sent(), (std::vector<std::string>{Monitor("1B 1D 1E 10 38 02 05 1E 1B 1D 1F"),
                                                Monitor("1B 1D 1E 10 38 01 04 1B 1D 1F"),
                                                Monitor("1B 1D 1E 10 38 01 03 1B 1D 1F")}));
    d.reset();
    Restart();  // the paper box stays locked across runs
    EXPECT_NE(ReadFileBytes(m_Builder.DeviceDir("jet") / "state.ini").find("PaperBoxLocked=1"),
              std::string::npos);

    MovePrinter("USB001");
    m_Builder.Device("jet", "USB001").Set("Busy", "1");
    Restart();
    auto busy = Open<TLock>(kLock);
    ExpectBox(g_GlobalString.HintTitle, g_GlobalString.WaitingForPrinterWork, TMessageIcon::Error);
    TUiFixture::Click(busy->btnMonitorLock);
    busy.reset();
    MovePrinter("USB001").Set("WorkOffline", "1");
    Restart();
    auto offline = Open<TLock>(kLock);
    ExpectBox(g_GlobalString.HintTitle, g_GlobalString.PrinterNotFound, TMessageIcon::Error);
    TUiFixture::Click(offline->btnPaperLock);
    EXPECT_TRUE(Sent().empty());
}

TEST_F(LocksAndClockTest, ClockReadsSecondsAndIsSetToTheLocalTimeOfAnEightHourZone) {
    Printer();
    Device().Set("ClockSeconds", "86400");  // 80 51 01 00
    m_Builder.Kernel("TimeZoneBias", "-480");
    m_Builder.Section("Clock").Set("LocalTime", "2024-05-01 08:00:00");
    auto d = Open<TTime>(kTimer);
    EXPECT_EQ(d->pnlDate->text(), "1970/01/02 00:00:00");
    EXPECT_EQ(Sent(), std::vector<std::string>{Monitor("1B 1D 1E 12 0E 1B 1D 1F")});

    const std::int64_t utc = SecondsSince1970(*Platform().Kernel().GetSystemTime());
    EXPECT_EQ(utc - 1714521600, static_cast<std::int64_t>(Platform().Clock().NowMs() / 1000));
    ExpectBox(g_GlobalString.HintTitle, g_GlobalString.mSetTime, TMessageIcon::Information);
    TUiFixture::Click(d->btnSetDate);
    EXPECT_EQ(LastSent(),
              Monitor("1B 1D 1E 10 1D " + Le32(utc + 28800) + " 1B 1D 1F 1B 1D 1E 11 01 1B 1D 1F"));
    EXPECT_EQ(d->pnlDate->text(), "1970/01/02 00:00:00");  // not refreshed by the write
    TUiFixture::Click(d->btnGetDate);
    EXPECT_EQ(d->pnlDate->text().left(16), "2024/05/01 08:00");
}

TEST_F(LocksAndClockTest, HalfHourZoneKeepsItsHalfHourAndMutePrinterKeepsThePanel) {
    Printer();
    m_Builder.Kernel("TimeZoneBias", "-330");
    m_Builder.Section("Clock").Set("LocalTime", "2024-05-01 05:30:00");
    auto d = Open<TTime>(kTimer);
    const std::int64_t utc = SecondsSince1970(*Platform().Kernel().GetSystemTime());
    ExpectBox(g_GlobalString.HintTitle, g_GlobalString.mSetTime, TMessageIcon::Information);
    TUiFixture::Click(d->btnSetDate);
    EXPECT_EQ(LastSent(),
              Monitor("1B 1D 1E 10 1D " + Le32(utc + 19800) + " 1B 1D 1F 1B 1D 1E 11 01 1B 1D 1F"));
    TUiFixture::Click(d->btnGetDate);
    EXPECT_EQ(d->pnlDate->text().left(16), "2024/05/01 05:30");
    d.reset();

    Device().Set("Mute", "1");
    Restart();
    auto mute = Open<TTime>(kTimer);
    EXPECT_EQ(mute->pnlDate->text(), TTime::kNoTime);  // no message, panel unchanged
}

class DirectOptionTest : public DeviceDialogTest {};

TEST_F(DirectOptionTest, UsbRouteShowsTheAnswerBytesAlignedOnTheFrame) {
    Printer();
    Device().Set("Answer.1077", "1B 1D 1E 05 01 00 AB 0C 1B 1D 1F").Set("NoiseHex", "00 01");
    auto d = Open<TNormalSet>(kNormalSet);
    EXPECT_EQ(d->lblInfo->text(), "Direct option heading");
    EXPECT_EQ(d->lblReturnInfo->text(), "Direct option explained");
    TUiFixture::Click(d->btnSet);
    EXPECT_EQ(d->lblReturn->text(), "AB 0C ");
    EXPECT_EQ(d->btnCancel->text().toStdString(), g_GlobalString.ParametersBtnReturn);
    // Written once, then once more with the read.
    EXPECT_EQ(Sent(), (std::vector<std::string>{"usb 1B 1D 1E 10 77 1B 1D 1F",
                                                "usb 1B 1D 1E 10 77 1B 1D 1F"}));
    TUiFixture::Click(d->btnSet);  // a new answer replaces the old one
    EXPECT_EQ(d->lblReturn->text(), "AB 0C ");
}

TEST_F(DirectOptionTest, AnswersThatCannotBeShown) {
    Printer({.normalSetRule = "0=6,1=20"});
    Device().Set("Answer.1077", "1B 1D 1E 05 01 00 AB 0C 1B 1D 1F");
    auto beyond = Open<TNormalSet>(kNormalSet);
    ExpectBox(g_GlobalString.HintTitle, g_GlobalString.SetPrinterTimeout, TMessageIcon::Error);
    TUiFixture::Click(beyond->btnSet);
    EXPECT_TRUE(beyond->lblReturn->text().isEmpty());
    beyond.reset();

    Printer({.normalSetRule = "0=six,1=2"});
    Restart();
    auto titles = Open<TNormalSet>(kNormalSet);
    const auto before = Sent().size();
    m_Boxes.Expect(ApplicationTitle(),
                   "The option was sent to the printer, but its answer cannot be shown: the "
                   "first two rule titles of the item must be the answer's offset and byte "
                   "count in decimal.",
                   TMessageIcon::Error);
    TUiFixture::Click(titles->btnSet);
    EXPECT_EQ(Sent().size(), before + 1);  // sent, not read
    titles.reset();

    // An answer without a frame start is no answer.
    Printer();
    Device().Set("Answer.1077", "AB 0C 00 00 00 00 00 00");
    Restart();
    auto frameless = Open<TNormalSet>(kNormalSet);
    ExpectBox(g_GlobalString.HintTitle, g_GlobalString.SetPrinterTimeout, TMessageIcon::Error);
    TUiFixture::Click(frameless->btnSet);
}

TEST_F(DirectOptionTest, SpoolerRoutePortDeviceRouteAndOfflinePrinter) {
    Printer({}, "VODAV_10.0.0.7");
    auto job = Open<TNormalSet>(kNormalSet);
    ExpectBox(g_GlobalString.HintTitle, g_GlobalString.SetPrinterCantAffirm,
              TMessageIcon::Information);
    TUiFixture::Click(job->btnSet);
    EXPECT_EQ(Sent(), std::vector<std::string>{"job Printer setting job 1B 1D 1E 10 77 1B 1D 1F"});
    job.reset();

    // On the base page the option goes to the port device, unread.
    Printer({.normalSetPage = kPageBase}, "USB001");
    Restart();
    auto port = Open<TNormalSet>(0, kPageBase);
    g_PrinterPort = "USB001";
    ExpectBox(g_GlobalString.HintTitle, g_GlobalString.SetPrinterSuccessI,
              TMessageIcon::Information);
    TUiFixture::Click(port->btnSet);
    EXPECT_EQ(LastSent(), "port 1B 1D 1E 10 77 1B 1D 1F");
    g_PrinterPort = "LPT9";
    ExpectBox(g_GlobalString.HintTitle, g_GlobalString.SetPrinterFail, TMessageIcon::Error);
    TUiFixture::Click(port->btnSet);
    port.reset();

    Printer().Set("WorkOffline", "1");
    Restart();
    auto offline = Open<TNormalSet>(kNormalSet);
    ExpectBox(g_GlobalString.HintTitle, g_GlobalString.PrinterNotFound, TMessageIcon::Error);
    TUiFixture::Click(offline->btnSet);
}

class FeedAndFirmwareTest : public DeviceDialogTest {};

TEST_F(FeedAndFirmwareTest, FourModesReadWrittenAndPrinted) {
    Printer({.settingCommand = "6B22"});
    Device().Set("FeedModes", "0:6,1:5,2:4,3:3");
    auto d = Open<TFormFeedPrecision>(kFeed);
    EXPECT_EQ(d->cbbDistance->count(), 4);
    EXPECT_EQ(d->trckbrAdjust->maximum(), 12);
    EXPECT_EQ(Sent().size(), 4u);
    EXPECT_EQ(Sent()[3], Monitor("1B 1D 1E 12 16 00 03 1B 1D 1F"));
    EXPECT_EQ(d->m_SubItemValue, (std::vector<std::int32_t>{6, 5, 4, 3}));
    d->cbbDistance->setCurrentIndex(2);
    EXPECT_EQ(d->trckbrAdjust->value(), 4);
    Key(d->trckbrAdjust, Qt::Key_Right, 3);
    ExpectBox("Notice", "设置打印机成功！", TMessageIcon::Information);
    TUiFixture::Click(d->btnSet);
    EXPECT_EQ(Sent()[4], Monitor("1B 1D 1E 11 31 00 02 07 1B 1D 1F " + kCommit));
    EXPECT_EQ(Sent()[5], Monitor("1B 1D 1E 12 16 00 02 1B 1D 1F"));
    ExpectBox("Notice", "指令发送成功，请检查打印机打印内容。", TMessageIcon::Information);
    TUiFixture::Click(d->btnPrn);
    EXPECT_EQ(LastSent(), Monitor("1B 1D 1E 10 25 00 02 1B 1D 1F"));
    TUiFixture::Click(d->btnDefault);
    EXPECT_EQ(d->trckbrAdjust->value(), 6);
    d.reset();

    // Mode 1 does not answer: named, and the read does not count as done.
    Device().Set("Answer.12160001", "1B 1D 1E 12 16 00 01");
    Restart();
    ExpectBox(g_GlobalString.ErrorTitle, g_GlobalString.PrinterStatusError + "\n" + "模式1",
              TMessageIcon::Warning);
    auto partial = Open<TFormFeedPrecision>(kFeed);
    EXPECT_EQ(partial->m_SubItemValue, (std::vector<std::int32_t>{6, -1, 7, 3}));
    ExpectBox(g_GlobalString.ErrorTitle, g_GlobalString.PrinterStatusError + "\n" + "模式1",
              TMessageIcon::Warning);
    EXPECT_FALSE(partial->GetSubItemValuesFromPrinter());
}

TEST_F(FeedAndFirmwareTest, SingleCorrectionCutsAboveTwoHundred) {
    Printer({.settingCommand = "6A3C"});
    Device().Set("Alignment", "-5");  // byte 6 FB
    auto d = Open<TFormFeedPrecision>(kFeed);
    EXPECT_FALSE(d->cbbDistance->isVisible());
    EXPECT_EQ(d->trckbrAdjust->minimum(), -5);
    EXPECT_EQ(d->trckbrAdjust->value(), -5);
    EXPECT_EQ(Sent(), std::vector<std::string>{Monitor("1B 1D 1E 12 14 00 1B 1D 1F")});
    Key(d->trckbrAdjust, Qt::Key_Right);
    ExpectBox("Notice", "设置打印机成功！", TMessageIcon::Information);
    TUiFixture::Click(d->btnSet);
    EXPECT_EQ(Sent()[1], Monitor("1B 1D 1E 11 31 00 FC 1B 1D 1F " + kCommit));
    Key(d->trckbrAdjust, Qt::Key_Home);
    ExpectBox("Notice", "设置打印机成功！", TMessageIcon::Information);
    TUiFixture::Click(d->btnSet);
    EXPECT_EQ(Sent()[3], Monitor("1B 1D 1E 11 31 00 FB 1B 1D 1F " + kCommit));
    d.reset();

    for (const auto& [byte, value] : {std::pair{"C9", -55}, std::pair{"C8", 200}}) {
        Device().Set("Answer.121400", std::string("1B 1D 1E 12 14 00 ") + byte + " 00");
        Restart();
        EXPECT_EQ(Open<TFormFeedPrecision>(kFeed)->m_SubItemValue[0], value) << byte;
    }

    // A printer that keeps answering -3 did not take the value: the track bar shows the -3.
    Device().Set("Answer.121400", "1B 1D 1E 12 14 00 FD 00");
    Restart();
    auto stuck = Open<TFormFeedPrecision>(kFeed);
    Key(stuck->trckbrAdjust, Qt::Key_End);
    ExpectBox(g_GlobalString.HintTitle, g_GlobalString.SetPrinterTimeout, TMessageIcon::Error);
    TUiFixture::Click(stuck->btnSet);
    EXPECT_EQ(stuck->trckbrAdjust->value(), -3);
    EXPECT_EQ(stuck->m_SubItemValue[0], -3);
}

TEST_F(FeedAndFirmwareTest, FirmwareVersionAndDateOrNothing) {
    Printer();
    auto d = Open<TFormFirewareVersion>(kFirmware);
    EXPECT_EQ(d->edtFirewareVersion->text(), "V0102.0001 2023-07-27");
    EXPECT_EQ(LastSent(), Monitor("1B 1D 1E 12 01 1B 1D 1F"));
    d.reset();
    for (const char* reply : {"01 00 02 01 27 07 23", "01 00 02 01"}) {
        Device().Set("FirmwareHex", reply);
        Restart();
        EXPECT_TRUE(Open<TFormFirewareVersion>(kFirmware)->edtFirewareVersion->text().isEmpty())
            << reply;
    }
}

TEST_F(FeedAndFirmwareTest, TheMainWindowOpensEveryDeviceDialog) {
    Printer();
    EXPECT_EQ(StartUp({kPrinter, "99"}), 0);
    for (const char* icon :
         {"Ink_Adjust", "Ink_Inquiry", "Ink_Inquiry2", "Ink_Dry", "Ink_Horizontal", "Ink_Timer",
          "Ink_Lock", "NormalSet", "InkJet_FeedPrecision", "Ink_FirewareVersion"})
        EXPECT_TRUE(FindItemDialog(icon).factory) << icon;
    ShowMainWindow();
    bool opened = false;
    QTimer::singleShot(0, [&] {
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* lock = qobject_cast<TLock*>(widget); lock && lock->isVisible()) {
                opened = true;
                lock->close();
            }
    });
    TUiFixture::Click(MainWindow()->btn[kLock]);
    EXPECT_TRUE(opened);
    EXPECT_TRUE(MainWindow()->isVisible());
}

}  // namespace
}  // namespace ps::test
