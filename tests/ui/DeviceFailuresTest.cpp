// SPDX-License-Identifier: MIT
// The device dialogs when the printer cannot be reached: a send the port monitor does not take,
// for every dialog that sends (its box, and whether the dialog stays), and a read asked for
// while the printer is off-line, which meets the device query's own box.
#include <gtest/gtest.h>

#include <QPushButton>
#include <functional>
#include <vector>

#include "DeviceDialogTest.h"
#include "localisation/Scheme.h"
#include "ui/device/ULock.h"
#include "ui/device/UTime.h"
#include "ui/device/uFeedPrecision.h"
#include "ui/device/uHorizontal.h"
#include "ui/device/uInkDry.h"
#include "ui/device/uInkSet.h"
#include "ui/device/uInquiry.h"

namespace ps::test {
namespace {

using namespace ui;

struct TBox {
    std::string caption;
    std::string text;
    TMessageIcon icon;
    TMessageResult answer = TMessageResult::Ok;
};

// One action of one dialog: how to open it, what the user does, and what must follow.
struct TCase {
    std::string what;
    std::string set = "6A3C";
    std::string port = "USB001";
    std::function<std::unique_ptr<TDeviceDialog>()> open;
    std::function<QPushButton*(TDeviceDialog&)> press;  // moves what must move; the button
    std::vector<TBox> boxes;
    bool bCloses = false;
};

class DeviceFailuresTest : public DeviceDialogTest {
protected:
    template <typename TDialog>
    TCase Case(std::string what, int slot, QPushButton* (*press)(TDialog&), std::vector<TBox> boxes,
               bool closes = false, std::string set = "6A3C", std::string port = "USB001") {
        return {std::move(what),
                std::move(set),
                std::move(port),
                [this, slot] { return std::unique_ptr<TDeviceDialog>(Open<TDialog>(slot)); },
                [press](TDeviceDialog& d) { return press(static_cast<TDialog&>(d)); },
                std::move(boxes),
                closes};
    }
    void Run(const TCase& c) {
        SCOPED_TRACE(c.what);
        auto d = c.open();
        ASSERT_TRUE(d->isVisible());
        QPushButton* button = c.press(*d);
        for (const TBox& box : c.boxes) ExpectBox(box.caption, box.text, box.icon, box.answer);
        TUiFixture::Click(button);
        m_Boxes.VerifyAllShown();
        EXPECT_EQ(d->isVisible(), !c.bCloses) << (c.bCloses ? "must close" : "must stay open");
    }
};

TEST_F(DeviceFailuresTest, SendThePortMonitorDoesNotTakeIsSaidAndClosesOnlyTheScaleWrites) {
    const TBox warning{g_GlobalString.HintTitle, g_GlobalString.SetPrinterFail,
                       TMessageIcon::Warning};
    const TBox error{g_GlobalString.HintTitle, g_GlobalString.SetPrinterFail, TMessageIcon::Error};
    const TBox adjust{g_GlobalString.HintTitle, g_GlobalString.Adjust, TMessageIcon::Question};
    const std::vector<TCase> cases = {
        Case<TfrmInkSet>(
            "adjustment write", kAdjust,
            [](TfrmInkSet& d) {
                Key(d.trckbrAdjust, Qt::Key_Right);
                return d.btnSet;
            },
            {warning}, true),
        Case<TfrmInkSet>("adjustment pattern", kAdjust, [](TfrmInkSet& d) { return d.btnPrn; },
                         {adjust, warning}),
        Case<TfrmInkSet>(
            "adjustment result pattern", kAdjust, [](TfrmInkSet& d) { return d.btnResult; },
            {adjust, warning}, false, "6B22"),
        Case<TInkDry>("drying time write", kDry, [](TInkDry& d) { return d.btnSet; }, {error}),
        Case<THorizontal>(
            "alignment write", kHorizontal, [](THorizontal& d) { return d.btnSet; }, {warning},
            true),
        Case<THorizontal>(
            "alignment write, port not read", kHorizontal, [](THorizontal& d) { return d.btnSet; },
            {warning}, true, "6A3C", "LPT1"),
        Case<THorizontal>("alignment test page", kHorizontal,
                          [](THorizontal& d) { return d.btnPrn; }, {adjust, warning}),
        Case<TLock>("lock", kLock, [](TLock& d) { return d.btnPaperLock; }, {error}),
        Case<TTime>("clock", kTimer, [](TTime& d) { return d.btnSetDate; }, {error}),
        Case<TFormFeedPrecision>("feed precision write", kFeed,
                                 [](TFormFeedPrecision& d) { return d.btnSet; },
                                 {{"Notice", "设置打印机失败！", TMessageIcon::Error}}),
        Case<TFormFeedPrecision>(
            "feed precision pattern", kFeed, [](TFormFeedPrecision& d) { return d.btnPrn; },
            {{"Notice", "发送失败！请确保打印机连接正常。", TMessageIcon::Error}}),
    };
    for (const TCase& c : cases) {
        Printer({.settingCommand = c.set}, c.port).Set("Monitor", "0");
        Restart();
        ASSERT_EQ(StartUp({kPrinter, "99"}), 0);
        // Failed reads are silent, so each case shows its send's box alone: switching the
        // read-back off must not make a send that failed count as done.
        g_SchemeOptions->m_Sections.AffirmReadDisable = true;
        Run(c);
        EXPECT_TRUE(Sent().empty()) << c.what;
    }
}

TEST_F(DeviceFailuresTest, ReadAskedForWhileOfflineMeetsTheQuerysOwnBox) {
    Printer().Set("WorkOffline", "1");
    const TBox showRefused{g_GlobalString.HintTitle, g_GlobalString.PrinterNotFound,
                           TMessageIcon::Error};
    const TBox queryRefused{kPrinter, g_GlobalString.PrinterNotFound, TMessageIcon::Warning};

    // The show handlers ask first and stop there; a read pressed afterwards asks again.
    ExpectBox(showRefused.caption, showRefused.text, showRefused.icon);
    auto counters = Open<TInquiry>(kInquiry);
    ExpectBox(queryRefused.caption, queryRefused.text, queryRefused.icon);
    TUiFixture::Click(counters->btnTPage);
    counters.reset();

    ExpectBox(showRefused.caption, showRefused.text, showRefused.icon);
    auto alignment = Open<THorizontal>(kHorizontal);
    ExpectBox(queryRefused.caption, queryRefused.text, queryRefused.icon);
    TUiFixture::Click(alignment->btnRead);
    alignment.reset();

    // The feed precision dialog reads when shown, through the query alone.
    ExpectBox(queryRefused.caption, queryRefused.text, queryRefused.icon);
    Open<TFormFeedPrecision>(kFeed);

    // The drying time dialog's query has a box of its own.
    ExpectBox(showRefused.caption, showRefused.text, showRefused.icon);
    auto dry = Open<TInkDry>(kDry);
    ExpectBox(showRefused.caption, showRefused.text, showRefused.icon);
    TUiFixture::Click(dry->btnRead);
    EXPECT_TRUE(Sent().empty());
}

}  // namespace
}  // namespace ps::test
