// SPDX-License-Identifier: MIT
// The ink adjustment dialog against the emulated inkjet: the value of each mode and command
// set, the write with its value byte and read-back, the check and result patterns, and every
// refusal.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>

#include "DeviceDialogTest.h"
#include "localisation/Scheme.h"
#include "ui/common/QtUserInterface.h"
#include "ui/device/TickScale.h"
#include "ui/device/uInkSet.h"

namespace ps::test {
namespace {

using ui::TfrmInkSet;

const std::string kBegin = "1B 1D 1E 10 00 00 1B 1D 1F";
const std::string kCommit = "1B 1D 1E 10 00 01 1B 1D 1F";

std::string Write(const std::string& mode, const std::string& value) {
    return Monitor(kBegin + " 1B 1D 1E 11 02 " + mode + " " + value + " 1B 1D 1F " + kCommit);
}

std::string Read(const std::string& p) {
    return Monitor("1B 1D 1E 12 02 01 " + p + " 1B 1D 1F");
}

class InkAdjustTest : public DeviceDialogTest {};

TEST_F(InkAdjustTest, CommonScaleReadsWritesAndConfirmsPerMode) {
    Printer({.settingCommand = "6A3C"});
    Device().Set("InkAdjust", "0:-10,1:0");  // draft F6, normal 0
    auto d = Open<TfrmInkSet>(kAdjust);
    EXPECT_EQ(d->size(), QSize(TfrmInkSet::kClientWidth, TfrmInkSet::kClientHeight));
    EXPECT_EQ(d->windowTitle(), "Adjustment");
    EXPECT_EQ(d->lblInfo->text(), "Adjustment explained");
    EXPECT_EQ(d->lblAdjust->text(), TfrmInkSet::kCommonScale);
    EXPECT_TRUE(d->chkQuality->isVisible());
    EXPECT_FALSE(d->cbbDPI->isVisible());
    EXPECT_FALSE(d->btnResult->isVisible());
    EXPECT_EQ(TfrmInkSet::s_iMode, 2);
    EXPECT_EQ(d->trckbrAdjust->value(), 10);  // value 0
    EXPECT_FALSE(d->btnSet->isEnabled());
    EXPECT_EQ(Sent(), std::vector<std::string>{Read("01")});

    // Draft reads its own adjustment: F6 is -10, the scale's first position.
    d->chkDraft->click();
    EXPECT_FALSE(d->chkNormal->isChecked());
    EXPECT_EQ(TfrmInkSet::s_iMode, 1);
    EXPECT_EQ(LastSent(), Read("00"));
    EXPECT_EQ(d->trckbrAdjust->value(), 0);
    d->chkDraft->click();  // unchecking changes nothing
    EXPECT_EQ(Sent().size(), 2u);

    // Normal again, moved to -10 by the user: F6 with mode code 01, read back and confirmed.
    d->chkNormal->click();
    Key(d->trckbrAdjust, Qt::Key_Home);
    EXPECT_TRUE(d->btnSet->isEnabled());
    ExpectBox(g_GlobalString.HintTitle, g_GlobalString.SetPrinterSuccessI,
              TMessageIcon::Information);
    TUiFixture::Click(d->btnSet);
    const auto log = Sent();
    ASSERT_EQ(log.size(), 5u);
    EXPECT_EQ(log[3], Write("01", "F6"));
    EXPECT_EQ(log[4], Read("01"));
    EXPECT_EQ(d->trckbrAdjust->value(), 0);

    // The default button centres the scale and sends nothing.
    TUiFixture::Click(d->btnDefault);
    EXPECT_EQ(d->trckbrAdjust->value(), 10);
    EXPECT_EQ(Sent().size(), 5u);
}

TEST_F(InkAdjustTest, HalfStepSetsHalveTheReadAndDoubleTheWrite) {
    Printer({.settingCommand = "7E40"});
    Device().Set("InkAdjust", "2:-20,3:0");  // normal EC (mode parameter 2 of the other sets)
    auto d = Open<TfrmInkSet>(kAdjust);
    EXPECT_EQ(Sent().front(), Read("02"));
    EXPECT_EQ(d->m_iPrinterItemValue, -10);
    EXPECT_EQ(d->trckbrAdjust->value(), 0);

    d->chkQuality->click();  // quality: parameter 1 of the other sets
    EXPECT_EQ(LastSent(), Read("01"));
    d->chkDraft->click();  // draft: 3
    EXPECT_EQ(LastSent(), Read("03"));
    Key(d->trckbrAdjust, Qt::Key_Home);
    ExpectBox(g_GlobalString.HintTitle, g_GlobalString.SetPrinterSuccessI,
              TMessageIcon::Information);
    TUiFixture::Click(d->btnSet);
    EXPECT_EQ(Sent()[Sent().size() - 2], Write("03", "EC"));
}

TEST_F(InkAdjustTest, TwoModeAndFiveModeLayoutsAndTheirPatterns) {
    Printer({.settingCommand = "4E17"});
    auto two = Open<TfrmInkSet>(kAdjust);
    EXPECT_EQ(two->chkNormal->text().toStdString(), g_GlobalString.NormalPrint);
    EXPECT_FALSE(two->chkQuality->isVisible());
    two.reset();

    // 6B58 prints with the parameters of the 6A3C family but reads with the others'.
    g_SchemeOptions->m_Sections.SettingCommand = "6B58";
    auto d = Open<TfrmInkSet>(kAdjust);
    EXPECT_EQ(LastSent(), Read("02"));
    ExpectBox(g_GlobalString.HintTitle, g_GlobalString.Adjust, TMessageIcon::Question,
              TMessageResult::Cancel);
    TUiFixture::Click(d->btnPrn);  // cancelled: nothing printed
    ExpectBox(g_GlobalString.HintTitle, g_GlobalString.Adjust, TMessageIcon::Question);
    TUiFixture::Click(d->btnPrn);
    EXPECT_EQ(LastSent(), Monitor("1B 1D 1E 10 10 01 01 1B 1D 1F"));
    d.reset();

    g_SchemeOptions->m_Sections.SettingCommand = "6B22";
    auto five = Open<TfrmInkSet>(kAdjust);
    EXPECT_TRUE(five->cbbDPI->isVisible());
    EXPECT_EQ(five->cbbDPI->currentText(), QString::fromUtf8("标准"));
    EXPECT_FALSE(five->chkNormal->isVisible());
    EXPECT_TRUE(five->btnResult->isVisible());
    EXPECT_EQ(five->btnResult->text(), QString::fromUtf8("调整结果"));
    EXPECT_EQ(five->trckbrAdjust->maximum(), 12);
    EXPECT_EQ(five->lblAdjust->text(), TfrmInkSet::kScale12);
    five->cbbDPI->setCurrentIndex(4);  // vertical fine adjustment
    EXPECT_EQ(TfrmInkSet::s_iMode, 6);
    EXPECT_EQ(five->trckbrAdjust->maximum(), 16);
    EXPECT_EQ(LastSent(), Read("06"));
    ExpectBox(g_GlobalString.HintTitle, g_GlobalString.Adjust, TMessageIcon::Question);
    TUiFixture::Click(five->btnPrn);
    EXPECT_EQ(LastSent(), Monitor("1B 1D 1E 10 10 01 05 1B 1D 1F"));
    ExpectBox(g_GlobalString.HintTitle, g_GlobalString.Adjust, TMessageIcon::Question);
    TUiFixture::Click(five->btnResult);
    EXPECT_EQ(LastSent(), Monitor("1B 1D 1E 10 10 02 06 1B 1D 1F"));
    TUiFixture::Click(five->btnDefault);
    EXPECT_EQ(five->trckbrAdjust->value(), 8);

    // 6B22 writes the position itself, mode code 06.
    Key(five->trckbrAdjust, Qt::Key_End);
    ExpectBox(g_GlobalString.HintTitle, g_GlobalString.SetPrinterSuccessI,
              TMessageIcon::Information);
    TUiFixture::Click(five->btnSet);
    EXPECT_EQ(Sent()[Sent().size() - 2], Write("06", "10"));
}

TEST_F(InkAdjustTest, ARuleShorterThanTheScaleIsRefusedBeforeSending) {
    Printer({.adjustRule = "-2=a,-1=b,0=c,1=d,2=e"});
    auto d = Open<TfrmInkSet>(kAdjust);
    const auto before = Sent().size();
    Key(d->trckbrAdjust, Qt::Key_End);  // position 20: the rule has 5 values
    m_Boxes.Expect(ui::ApplicationTitle(),
                   "The item's rule has no value for position 20 of the scale (it lists 5); "
                   "nothing was sent.",
                   TMessageIcon::Error);
    TUiFixture::Click(d->btnSet);
    EXPECT_EQ(Sent().size(), before);
}

TEST_F(InkAdjustTest, RefusalsFailedReadsAndUnconfirmedWrites) {
    // Off-line: nothing is sent.
    Printer().Set("WorkOffline", "1");
    ExpectBox(g_GlobalString.HintTitle, g_GlobalString.PrinterNotFound, TMessageIcon::Error);
    Open<TfrmInkSet>(kAdjust);
    EXPECT_TRUE(Sent().empty());

    // An LPT port is not read; a network port passes that test but only USB is read.
    MovePrinter("LPT1").Set("WorkOffline", "0");
    Restart();
    ExpectBox(g_GlobalString.HintTitle, g_GlobalString.PortNotSupport, TMessageIcon::Error);
    Open<TfrmInkSet>(kAdjust);
    MovePrinter("VODAV_10.0.0.7");
    Restart();
    ExpectBox(g_GlobalString.ErrorTitle, g_GlobalString.PrinterStatusError, TMessageIcon::Warning);
    Open<TfrmInkSet>(kAdjust);
    EXPECT_TRUE(Sent().empty());

    // A printer at work: read, but no pattern and no write.
    MovePrinter("USB001");
    Device().Set("Busy", "1");
    Restart();
    auto busy = Open<TfrmInkSet>(kAdjust);
    EXPECT_EQ(Sent().size(), 1u);
    Key(busy->trckbrAdjust, Qt::Key_Home);
    ExpectBox(g_GlobalString.HintTitle, g_GlobalString.WaitingForPrinterWork, TMessageIcon::Error);
    TUiFixture::Click(busy->btnSet);
    ExpectBox(g_GlobalString.HintTitle, g_GlobalString.WaitingForPrinterWork, TMessageIcon::Error);
    TUiFixture::Click(busy->btnPrn);
    EXPECT_EQ(Sent().size(), 1u);
    busy.reset();

    // A reply too short to hold byte 7 is a failed read, not a value.
    Device().Set("Busy", "0").Set("Answer.12020101", "1B 1D 1E 12 02 01 01");
    Restart();
    ExpectBox(g_GlobalString.ErrorTitle, g_GlobalString.PrinterStatusError, TMessageIcon::Warning);
    auto shortReply = Open<TfrmInkSet>(kAdjust);
    EXPECT_EQ(shortReply->trckbrAdjust->value(), 0);  // untouched
    // A write that cannot be read back is not reported as done.
    Key(shortReply->trckbrAdjust, Qt::Key_End);
    ExpectBox(g_GlobalString.HintTitle, g_GlobalString.SetPrinterCantAffirm, TMessageIcon::Warning);
    TUiFixture::Click(shortReply->btnSet);
    EXPECT_EQ(Sent()[Sent().size() - 2], Write("01", "0A"));
    shortReply.reset();

    // A printer that keeps answering -3 did not take the 10 written: not confirmed, and the
    // track bar shows the -3 it gave back, as after a read.
    Device().Set("Answer.12020101", "1B 1D 1E 12 02 01 01 FD 1B 1D 1F");
    Restart();
    auto stuck = Open<TfrmInkSet>(kAdjust);
    EXPECT_EQ(stuck->trckbrAdjust->value(), 7);
    Key(stuck->trckbrAdjust, Qt::Key_End);
    ExpectBox(g_GlobalString.HintTitle, g_GlobalString.SetPrinterTimeout, TMessageIcon::Error);
    TUiFixture::Click(stuck->btnSet);
    EXPECT_EQ(Sent(), (std::vector<std::string>{Read("01"), Write("01", "0A"), Read("01")}));
    EXPECT_EQ(stuck->trckbrAdjust->value(), 7);
    stuck.reset();

    // A mute printer: failed read; with AffirmReadDisable the failures are silent.
    Device().Set("Mute", "1");
    Restart();
    ExpectBox(g_GlobalString.ErrorTitle, g_GlobalString.PrinterStatusError, TMessageIcon::Warning);
    Open<TfrmInkSet>(kAdjust);
    g_SchemeOptions->m_Sections.AffirmReadDisable = true;
    auto silent = Open<TfrmInkSet>(kAdjust);
    Key(silent->trckbrAdjust, Qt::Key_PageUp);
    ExpectBox(g_GlobalString.HintTitle, g_GlobalString.SetPrinterSuccessI,
              TMessageIcon::Information);
    TUiFixture::Click(silent->btnSet);
}

}  // namespace
}  // namespace ps::test
