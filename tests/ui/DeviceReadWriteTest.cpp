// SPDX-License-Identifier: MIT
// The counters, drying time and alignment dialogs against the emulated inkjet: the values
// decoded from the printer's bytes, the exact writes, the read-backs and the refusals.
#include <gtest/gtest.h>

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "DeviceDialogTest.h"
#include "localisation/Scheme.h"
#include "platform/Platform.h"
#include "ui/device/uHorizontal.h"
#include "ui/device/uInkDry.h"
#include "ui/device/uInquiry.h"
#include "ui/device/uInquiry2.h"

namespace ps::test {
namespace {

using ui::THorizontal;
using ui::TInkDry;
using ui::TInquiry;
using ui::TInquiry2;

const std::string kInkBoxQuery = Monitor("1B 1D 1E 12 07 02 1B 1D 1F");
const std::string kTotalQuery = Monitor("1B 1D 1E 12 07 05 1B 1D 1F");
const std::string kCommit = "1B 1D 1E 10 00 01 1B 1D 1F";

class CountersTest : public DeviceDialogTest {};

TEST_F(CountersTest, TotalPagesOnlyForThreeSetsBothQueriesForTheOthers) {
    for (const char* set : {"6B21", "5C90", "7E40", "6A3C"}) {
        SCOPED_TRACE(set);
        Printer({.settingCommand = set});
        Device().Set("TotalPages", "12345").Set("InkBoxPages", "77");
        Restart();
        const std::uint64_t start = Platform().Clock().NowMs();
        auto d = Open<TInquiry>(kInquiry);
        // Both 500 ms waits and the waits before each read.
        EXPECT_GE(Platform().Clock().NowMs() - start, 1000u);
        EXPECT_EQ(d->edtTPage->text(), "12345");
        EXPECT_FALSE(d->edtBoxPage->isVisible());
        if (std::string(set) == "6A3C") {
            EXPECT_EQ(Sent(), (std::vector<std::string>{kInkBoxQuery, kTotalQuery}));
            EXPECT_EQ(d->edtBoxPage->text(), "77");
        } else {
            EXPECT_EQ(Sent(), std::vector<std::string>{kTotalQuery});
        }
        EXPECT_TRUE(d->lblWeb->isVisible());
        EXPECT_EQ(d->lblWeb->accessibleName().toStdString(), "https://www.talvenor.example");
    }
}

TEST_F(CountersTest, CountersAreUnsignedAndShortRepliesAreFailedReads) {
    Printer({.settingCommand = "6B21"});
    Device().Set("TotalPages", "4000000000");
    auto d = Open<TInquiry>(kInquiry);
    EXPECT_EQ(d->edtTPage->text(), "4000000000");
    d.reset();
    auto d2 = Open<TInquiry2>(kInquiry2);
    EXPECT_EQ(d2->edtTPage->text(), "4000000000");
    d2.reset();

    // Nine reply bytes hold no count: the read fails and the box stays empty.
    Device().Set("Answer.120705", "1B 1D 1E 12 07 05 D2 04 00");
    Restart();
    ExpectBox(g_GlobalString.ErrorTitle, g_GlobalString.PrinterStatusError, TMessageIcon::Warning);
    auto shortReply = Open<TInquiry>(kInquiry);
    EXPECT_TRUE(shortReply->edtTPage->text().isEmpty());
    shortReply.reset();
    auto shortReply2 = Open<TInquiry2>(kInquiry2);  // no message, nothing shown
    EXPECT_TRUE(shortReply2->edtTPage->text().isEmpty());
}

TEST_F(CountersTest, OfflineLptBusyAndMutePrinters) {
    Printer({.settingCommand = "6B21"}).Set("WorkOffline", "1");
    ExpectBox(g_GlobalString.HintTitle, g_GlobalString.PrinterNotFound, TMessageIcon::Error);
    Open<TInquiry>(kInquiry);
    ExpectBox(g_GlobalString.HintTitle, g_GlobalString.PrinterNotFound, TMessageIcon::Error);
    Open<TInquiry2>(kInquiry2);

    MovePrinter("LPT1").Set("WorkOffline", "0");
    Restart();
    ExpectBox(g_GlobalString.HintTitle, g_GlobalString.PortNotSupport, TMessageIcon::Error);
    Open<TInquiry>(kInquiry);
    ExpectBox(g_GlobalString.HintTitle, g_GlobalString.PortNotSupport, TMessageIcon::Error);
    Open<TInquiry2>(kInquiry2);
    EXPECT_TRUE(Sent().empty());

    // At work: refused before the exchange, so the read fails.
    MovePrinter("USB001");
    Device().Set("Busy", "1");
    Restart();
    ExpectBox(g_GlobalString.HintTitle, g_GlobalString.WaitingForPrinterWork, TMessageIcon::Error);
    ExpectBox(g_GlobalString.ErrorTitle, g_GlobalString.PrinterStatusError, TMessageIcon::Warning);
    Open<TInquiry>(kInquiry);
    EXPECT_TRUE(Sent().empty());

    Device().Set("Busy", "0").Set("Mute", "1");
    Restart();
    ExpectBox(g_GlobalString.ErrorTitle, g_GlobalString.PrinterStatusError, TMessageIcon::Warning);
    Open<TInquiry>(kInquiry);
    EXPECT_EQ(Sent(), std::vector<std::string>{kTotalQuery});
}

class DryingTimeTest : public DeviceDialogTest {};

TEST_F(DryingTimeTest, StepsOfFiftyOrPlainStepsWrittenAndReadBack) {
    Printer({.settingCommand = "6A3C"});
    Device().Set("DryingTime", "100");  // 64 00: position 2
    auto d = Open<TInkDry>(kDry);
    EXPECT_EQ(d->lblTitle->text(), "Drying time heading");
    EXPECT_EQ(d->trckbrTime->value(), 2);
    EXPECT_EQ(Sent(), std::vector<std::string>{Monitor("1B 1D 1E 12 09 1B 1D 1F")});
    Key(d->trckbrTime, Qt::Key_Right);
    ExpectBox(g_GlobalString.HintTitle, g_GlobalString.InkFinish, TMessageIcon::Information);
    TUiFixture::Click(d->btnSet);
    const auto log = Sent();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[1], Monitor("1B 1D 1E 11 1D 96 00 1B 1D 1F " + kCommit));
    EXPECT_EQ(log[2], Monitor("1B 1D 1E 12 09 1B 1D 1F"));
    d.reset();

    // A second run reads the written value back from the printer's state.
    Restart();
    auto again = Open<TInkDry>(kDry);
    EXPECT_EQ(again->trckbrTime->value(), 3);
}

TEST_F(DryingTimeTest, SixBTwentyTwoWritesTheStepAndAMismatchIsNotConfirmed) {
    Printer({.settingCommand = "6B22"});
    Device().Set("DryingTime", "2");
    auto d = Open<TInkDry>(kDry);
    EXPECT_EQ(d->trckbrTime->value(), 2);
    Key(d->trckbrTime, Qt::Key_Right);
    ExpectBox(g_GlobalString.HintTitle, g_GlobalString.InkFinish, TMessageIcon::Information);
    TUiFixture::Click(d->btnSet);
    EXPECT_EQ(Sent()[1], Monitor("1B 1D 1E 11 1D 03 00 1B 1D 1F " + kCommit));
    d.reset();

    // A printer that keeps answering 0 did not take the value: the track bar shows the 0.
    Device().Set("Answer.1209", "1B 1D 1E 12 09 00 00 1B 1D 1F");
    Restart();
    auto stuck = Open<TInkDry>(kDry);
    Key(stuck->trckbrTime, Qt::Key_End);
    ExpectBox(g_GlobalString.HintTitle, g_GlobalString.SetPrinterTimeout, TMessageIcon::Error);
    TUiFixture::Click(stuck->btnSet);
    EXPECT_EQ(stuck->trckbrTime->value(), 0);
    stuck.reset();

    // Busy: the read and the write are refused before sending.
    Device().Set("Busy", "1");
    Restart();
    ExpectBox(g_GlobalString.HintTitle, g_GlobalString.WaitingForPrinterWork, TMessageIcon::Error);
    ExpectBox(g_GlobalString.ErrorTitle, g_GlobalString.PrinterStatusError, TMessageIcon::Warning);
    auto busy = Open<TInkDry>(kDry);
    ExpectBox(g_GlobalString.HintTitle, g_GlobalString.WaitingForPrinterWork, TMessageIcon::Error);
    TUiFixture::Click(busy->btnSet);
    EXPECT_TRUE(Sent().empty());
}

class AlignmentTest : public DeviceDialogTest {};

TEST_F(AlignmentTest, SignedStepCutsAtTwoHundred) {
    Printer({.settingCommand = "6B22"});
    Device().Set("AlignmentByte", "0xFD");
    auto d = Open<THorizontal>(kHorizontal);
    EXPECT_TRUE(d->grpType1->isVisible());
    EXPECT_FALSE(d->grpType2->isVisible());
    EXPECT_EQ(d->trckbrpValue->value(), -3);
    EXPECT_EQ(Sent(), std::vector<std::string>{Monitor("1B 1D 1E 12 16 00 1B 1D 1F")});
    Key(d->trckbrpValue, Qt::Key_Home);
    ExpectBox(g_GlobalString.HintTitle, g_GlobalString.SetPrinterSuccessI,
              TMessageIcon::Information);
    TUiFixture::Click(d->btnSet);
    EXPECT_EQ(Sent()[1], Monitor("1B 1D 1E 11 31 00 FB 1B 1D 1F " + kCommit));
    EXPECT_EQ(d->btnReturn->text().toStdString(), g_GlobalString.ParametersBtnReturn);
    d.reset();

    for (const auto& [byte, value] : {std::pair{"C8", -56}, std::pair{"C7", 199}}) {
        Device().Set("Answer.121600", std::string("1B 1D 1E 12 16 00 ") + byte + " 1B 1D 1F");
        Restart();
        EXPECT_EQ(Open<THorizontal>(kHorizontal)->m_iPrinterItemValue, value) << byte;
    }

    // A printer that keeps answering 2 did not take the -5 written: not confirmed, and the
    // track bar shows the 2 it gave back, as after a read.
    Device().Set("Answer.121600", "1B 1D 1E 12 16 00 02 1B 1D 1F");
    Restart();
    auto stuck = Open<THorizontal>(kHorizontal);
    Key(stuck->trckbrpValue, Qt::Key_Home);
    ExpectBox(g_GlobalString.HintTitle, g_GlobalString.SetPrinterTimeout, TMessageIcon::Error);
    TUiFixture::Click(stuck->btnSet);
    EXPECT_EQ(LastSent(), Monitor("1B 1D 1E 12 16 00 1B 1D 1F"));
    EXPECT_EQ(Sent()[1], Monitor("1B 1D 1E 11 31 00 FB 1B 1D 1F " + kCommit));
    EXPECT_EQ(stuck->trckbrpValue->value(), 2);
}

TEST_F(AlignmentTest, TwelveStepsInUnitsOfThirtyAndTheTestPage) {
    Printer({.horizontalName = "Ink_Horizontal"});
    Device().Set("Alignment", "-150");  // 6A FF
    auto d = Open<THorizontal>(kHorizontal);
    EXPECT_TRUE(d->grpType2->isVisible());
    EXPECT_EQ(d->trckbrpValue2->value(), 1);
    EXPECT_EQ(Sent()[0], Monitor("1B 1D 1E 12 14 00 1B 1D 1F"));
    Key(d->trckbrpValue2, Qt::Key_End);
    ExpectBox(g_GlobalString.HintTitle, g_GlobalString.SetPrinterSuccessI,
              TMessageIcon::Information);
    TUiFixture::Click(d->btnSet);
    EXPECT_EQ(Sent()[1], Monitor("1B 1D 1E 11 31 00 B4 00 1B 1D 1F " + kCommit));
    Key(d->trckbrpValue2, Qt::Key_Home);
    ExpectBox(g_GlobalString.HintTitle, g_GlobalString.SetPrinterSuccessI,
              TMessageIcon::Information);
    TUiFixture::Click(d->btnSet);
    EXPECT_EQ(Sent()[3], Monitor("1B 1D 1E 11 31 00 6A FF 1B 1D 1F " + kCommit));

    const auto before = Sent().size();
    ExpectBox(g_GlobalString.HintTitle, g_GlobalString.Adjust, TMessageIcon::Question,
              TMessageResult::Cancel);
    TUiFixture::Click(d->btnPrn);
    EXPECT_EQ(Sent().size(), before);
    ExpectBox(g_GlobalString.HintTitle, g_GlobalString.Adjust, TMessageIcon::Question);
    TUiFixture::Click(d->btnPrn);
    EXPECT_EQ(LastSent(), Monitor("1B 1D 1E 10 25 00 1B 1D 1F"));
}

TEST_F(AlignmentTest, NetworkPortReadsOnRequestLptPortWritesWithoutConfirmation) {
    Printer({}, "VODAV_10.0.0.7");
    Device().Set("AlignmentByte", "2");
    auto d = Open<THorizontal>(kHorizontal);
    EXPECT_TRUE(Sent().empty());  // no read on show
    EXPECT_EQ(d->trckbrpValue->value(), 0);
    TUiFixture::Click(d->btnRead);
    EXPECT_EQ(d->trckbrpValue->value(), 2);
    d.reset();

    MovePrinter("LPT1");
    Restart();
    auto lpt = Open<THorizontal>(kHorizontal);
    Key(lpt->trckbrpValue, Qt::Key_Right);
    TUiFixture::Click(lpt->btnSet);  // sent, and not a word about it
    EXPECT_EQ(LastSent(), Monitor("1B 1D 1E 11 31 00 01 1B 1D 1F " + kCommit));
    lpt.reset();

    MovePrinter("USB001");
    m_Builder.Device("jet", "USB001").Set("Busy", "1");
    Restart();
    auto busy = Open<THorizontal>(kHorizontal);  // the read has no busy test
    const auto before = Sent().size();
    ExpectBox(g_GlobalString.HintTitle, g_GlobalString.WaitingForPrinterWork, TMessageIcon::Error);
    TUiFixture::Click(busy->btnSet);
    ExpectBox(g_GlobalString.HintTitle, g_GlobalString.WaitingForPrinterWork, TMessageIcon::Error);
    TUiFixture::Click(busy->btnPrn);
    EXPECT_EQ(Sent().size(), before);
}

}  // namespace
}  // namespace ps::test
