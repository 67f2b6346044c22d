// SPDX-License-Identifier: MIT
// The head and ink box change wizard against the printer emulator: every variant through its
// steps, the serial number dialog, the execute with its waiting and box, the aborts from the
// confirmation, from Cancel, Esc and the title bar (also of a printer set off-line), and the
// change mode never left open.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <optional>

#include "InkFixture.h"
#include "maintenance/InkChange.h"
#include "ui/common/Artwork.h"
#include "ui/setting/uHeadsn.h"

namespace ps::test {
namespace {

using ui::TfrmSetItem;

const std::string kHeadStart = "monitor 1B 1D 1E 11 13 00 1B 1D 1F 1B 1D 1E 10 03 1B 1D 1F";
const std::string kHeadAbort = "monitor 1B 1D 1E 10 08 1B 1D 1F 1B 1D 1E 11 13 01 1B 1D 1F";
const std::string kHeadExecute = "monitor 1B 1D 1E 10 07 1B 1D 1F";
const std::string kBox05 = "monitor 1B 1D 1E 10 05 1B 1D 1F";
const std::string kBox07 = "monitor 1B 1D 1E 10 07 1B 1D 1F";
const std::string kBoxAbort = "monitor 1B 1D 1E 10 08 1B 1D 1F";

// The execute with a serial number: the number blank-padded to 16 characters, eight zeros.
std::string HeadExecuteWith(std::string number) {
    number.resize(16, ' ');
    return "monitor 1B 1D 1E 11 33 04 " +
           BytesToSpacedHex(reinterpret_cast<const std::uint8_t*>(number.data()), 16) +
           " 00 00 00 00 00 00 00 00 1B 1D 1F 1B 1D 1E 10 07 1B 1D 1F";
}

using TSent = std::vector<std::string>;

class InkChangeTest : public TInkFixture {
protected:
    // Every wizard variant and the plain ChangeboxE page, in this order.
    TEmulationDirBuilder::TSection& AllVariants(const std::string& commandSet = "6B22") {
        std::vector<TTestItem> items;
        for (const char* name : {"Ink_Changehead", "Ink_ChangeheadA", "Ink_ChangeheadB",
                                 "Ink_ChangeheadC", "Ink_ChangeheadD", "Ink_changeHEAD_qp7"})
            items.push_back(InkItem("Ink_Changehead", name));
        for (const char* name :
             {"Ink_Changebox", "Ink_ChangeboxA", "Ink_ChangeboxB", "Ink_ChangeboxC",
              "Ink_ChangeboxC_B", "Ink_ChangeboxD", "Ink_ChangeboxE"})
            items.push_back(InkItem("Ink_Changebox", name));
        return Printer(items, commandSet).Set("HeadChangeMs", "20000").Set("BoxChangeMs", "10000");
    }
    enum {
        kHead,
        kHeadA,
        kHeadB,
        kHeadC,
        kHeadD,
        kHeadQP7,
        kBox,
        kBoxA,
        kBoxB,
        kBoxC,
        kBoxC_B,
        kBoxD,
        kBoxE
    };

    // Answers the serial number dialog when it shows: types `number` and presses Enter, or
    // closes the dialog without a number (nullopt).
    static void AnswerSerialNumber(std::optional<std::string> number) {
        auto* timer = new QTimer(qApp);
        timer->setInterval(5);
        QObject::connect(timer, &QTimer::timeout, [timer, number] {
            for (QWidget* widget : QApplication::topLevelWidgets()) {
                auto* form = qobject_cast<ui::THeadSNForm*>(widget);
                if (!form || !form->isVisible()) continue;
                timer->stop();
                timer->deleteLater();
                if (!number) {
                    form->close();
                    return;
                }
                // Typed in (QTest types ASCII only; the text may hold any character). OK comes
                // on from 8 characters: a shorter number is typed with one more, and that one
                // taken back after the tick.
                const QString text = QString::fromUtf8(number->c_str());
                const bool shorter = text.size() < ui::THeadSNForm::kEnableFrom;
                form->edtSN->insert(shorter ? text + "_" : text);
                form->tmrEnBtnTimer();  // the second's tick that enables OK
                if (shorter) QTest::keyClick(form->edtSN, Qt::Key_Backspace);
                QTest::keyClick(form->edtSN, Qt::Key_Return);
                return;
            }
        });
        timer->start();
    }

    // Start where no serial number is asked.
    static void Start(TfrmSetItem& d) { Click(d.btnNext); }
    // Start where the serial number dialog comes up and gets `number`.
    static void Start(TfrmSetItem& d, const std::string& number) {
        AnswerSerialNumber(number);
        Click(d.btnNext);
    }
    // Start where the serial number dialog comes up and is closed without a number.
    static void StartWithoutNumber(TfrmSetItem& d) {
        AnswerSerialNumber(std::nullopt);
        Click(d.btnNext);
    }

    static std::string Picture(const TfrmSetItem& d) {
        return d.imgPicture->property("picture").toString().toStdString();
    }

    // The page of step `step`: its picture, its text, and OK only on the last step.
    void ExpectStep(const TfrmSetItem& d, const std::string& variant, int step, int steps,
                    const std::string& text) {
        SCOPED_TRACE(variant + " step " + std::to_string(step));
        EXPECT_EQ(d.m_count, step);
        EXPECT_EQ(Picture(d), variant + std::to_string(step));
        EXPECT_TRUE(ui::HasPicture(Picture(d)));
        EXPECT_EQ(d.lblInfo->text().toStdString(), text);
        EXPECT_EQ(d.btnInkset->isEnabled(), step == steps);
        EXPECT_EQ(d.btnNext->isEnabled(), step != steps);
        EXPECT_EQ(d.btnNext->text().toStdString(), g_GlobalString.Next);
    }

    void ExpectStartPage(const TfrmSetItem& d, const std::string& variant) {
        EXPECT_EQ(d.m_count, 0);
        // The item's own spelling; pictures are found without regard to letter case.
        EXPECT_EQ(QString::fromStdString(Picture(d)).toUpper().toStdString(),
                  QString::fromStdString("Img_" + variant).toUpper().toStdString());
        EXPECT_TRUE(ui::HasPicture(Picture(d)));
        EXPECT_TRUE(d.btnBack->isVisible());
        EXPECT_FALSE(d.btnBack->isEnabled());
        EXPECT_TRUE(d.btnNext->isEnabled());
        EXPECT_EQ(d.btnNext->text().toStdString(), g_GlobalString.btnInkset);
        EXPECT_FALSE(d.btnInkset->isEnabled());
        EXPECT_EQ(d.btnInkset->text().toStdString(), g_GlobalString.ParametersBtnOK);
        EXPECT_TRUE(d.btnCancel->isVisible());
    }

    void ExpectBox(const std::string& text, TMessageIcon icon,
                   TMessageResult answer = TMessageResult::Ok) {
        m_Boxes.Expect(g_GlobalString.HintTitle, text, icon, answer);
    }
    void Confirm(bool ok) {
        ExpectBox(g_GlobalString.StarorCancel, TMessageIcon::Information,
                  ok ? TMessageResult::Ok : TMessageResult::Cancel);
    }
};

TEST_F(InkChangeTest, ChangeheadAAsksTheSerialNumberWalksFourStepsAndSendsItPadded) {
    AllVariants("6A3C");
    auto d = Open(kHeadA);
    ExpectStartPage(*d, "ChangeheadA");
    EXPECT_EQ(d->lblInfo->text(), "Ink_ChangeheadA explained");

    // The serial number dialog closed without a number: the page stays at its start.
    ExpectBox(g_GlobalString.HeadSNError, TMessageIcon::Error);
    StartWithoutNumber(*d);
    m_Boxes.VerifyAllShown();
    ExpectStartPage(*d, "ChangeheadA");
    // A number that is not plain characters cannot be sent: refused the same way.
    ExpectBox(g_GlobalString.HeadSNError, TMessageIcon::Error);
    Start(*d,
          "QJ760\xE5\xA4\xB4"
          "1234");
    ExpectStartPage(*d, "ChangeheadA");
    EXPECT_TRUE(Sent().empty());

    Start(*d, "QJ76012345");
    EXPECT_EQ(g_HeadSN, "QJ76012345");
    EXPECT_EQ(Sent(), TSent{kHeadStart});
    EXPECT_TRUE(InChangeMode());
    ExpectStep(*d, "ChangeheadA", 1, 4, g_GlobalString.A4Step1);
    EXPECT_TRUE(d->btnBack->isEnabled());
    // Back from step 1 keeps step 1 and turns Back and OK off, Next on.
    Click(d->btnBack);
    ExpectStep(*d, "ChangeheadA", 1, 4, g_GlobalString.A4Step1);
    EXPECT_FALSE(d->btnBack->isEnabled());
    Click(d->btnNext);
    ExpectStep(*d, "ChangeheadA", 2, 4, g_GlobalString.A4Step2);
    Click(d->btnNext);
    Click(d->btnNext);
    ExpectStep(*d, "ChangeheadA", 4, 4, g_GlobalString.A4Step4);
    Click(d->btnBack);
    ExpectStep(*d, "ChangeheadA", 3, 4, g_GlobalString.A4Step3);
    Click(d->btnNext);
    EXPECT_TRUE(Sent().empty());  // steps send nothing

    TWaitWatch watch;
    Confirm(true);
    ExpectBox(g_GlobalString.InkFinish, TMessageIcon::Information);
    Click(d->btnInkset);
    EXPECT_FALSE(d->isVisible());
    const TSent sent = Sent();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0], HeadExecuteWith("QJ76012345"));
    EXPECT_EQ(sent[0].size(), std::string("monitor").size() + 41 * 3);
    // The waiting window stays up while the printer reports 0x2C (20 s), then goes.
    EXPECT_NEAR(static_cast<double>(watch.UpMs()), 20000.0, 1000.0);
    EXPECT_EQ(ui::TQtUserInterface::Installed()->WaitingWindow(), nullptr);
    EXPECT_FALSE(InChangeMode());
    EXPECT_NE(DeviceState().find("HeadSerial=\"QJ76012345\""), std::string::npos);
}

TEST_F(InkChangeTest, CommandSet5C90AsksButSendsTheExecuteWithoutTheNumber) {
    AllVariants("5C90");
    auto d = Open(kHeadA);
    Start(*d, "SN5C90A");  // seven characters are enough
    for (int step = 2; step <= 4; ++step) Click(d->btnNext);
    Confirm(true);
    ExpectBox(g_GlobalString.InkFinish, TMessageIcon::Information);
    Click(d->btnInkset);
    EXPECT_EQ(Sent(), (TSent{kHeadStart, kHeadExecute}));

    // A command set that does not ask: no dialog, and no number to check at the last step of
    // ChangeheadA, so the sequence ends there, and the printer is taken out of change mode.
    g_HeadSN.clear();
    g_SchemeOptions->m_Sections.SettingCommand = "4E17";
    auto plain = Open(kHeadA);
    Start(*plain);
    Click(plain->btnNext);
    Click(plain->btnNext);
    ExpectBox(g_GlobalString.HeadSNError, TMessageIcon::Error);
    Click(plain->btnNext);
    EXPECT_FALSE(plain->isVisible());
    EXPECT_EQ(Sent(), (TSent{kHeadStart, kHeadAbort}));
    EXPECT_FALSE(InChangeMode());

    // Changehead has no such check: its execute goes without the number.
    auto head = Open(kHead);
    Start(*head);
    for (int step = 2; step <= 5; ++step) Click(head->btnNext);
    Confirm(true);
    ExpectBox(g_GlobalString.InkFinish, TMessageIcon::Information);
    Click(head->btnInkset);
    EXPECT_EQ(Sent(), (TSent{kHeadStart, kHeadExecute}));
}

TEST_F(InkChangeTest, EveryHeadVariantStepsThroughItsTextsAndPictures) {
    AllVariants();
    const struct {
        int item;
        const char* variant;
        std::vector<std::string TGlobalString::*> texts;
    } variants[] = {
        {kHead, "Changehead", {&TGlobalString::Step1, &TGlobalString::Step5}},
        {kHeadB, "ChangeheadB", {&TGlobalString::CStep1, &TGlobalString::CStep10}},
        {kHeadC, "ChangeheadC", {&TGlobalString::A4Step1}},
        {kHeadD, "ChangeheadD", {&TGlobalString::A4CStep1, &TGlobalString::A4CStep5}},
        {kHeadQP7, "Changehead_QP7", {&TGlobalString::QP7Step1, &TGlobalString::QP7Step9}},
    };
    const int steps[] = {5, 10, 1, 5, 9};
    int row = 0;
    for (const auto& v : variants) {
        SCOPED_TRACE(v.variant);
        const int count = steps[row++];
        auto d = Open(v.item);
        ExpectStartPage(*d, v.variant);
        Start(*d, "QJ76000001");
        ExpectStep(*d, v.variant, 1, count, g_GlobalString.*v.texts.front());
        for (int step = 2; step <= count; ++step) {
            Click(d->btnNext);
            EXPECT_EQ(Picture(*d), v.variant + std::to_string(step));
            EXPECT_FALSE(d->lblInfo->text().isEmpty());
        }
        ExpectStep(*d, v.variant, count, count, g_GlobalString.*v.texts.back());
        // Going back: ChangeheadC has no text on that way.
        Click(d->btnBack);
        EXPECT_EQ(d->lblInfo->text().isEmpty(), std::string(v.variant) == "ChangeheadC");
        Click(d->btnNext);
        // Cancel in the confirmation aborts the change and closes.
        Confirm(false);
        Click(d->btnInkset);
        EXPECT_FALSE(d->isVisible());
        EXPECT_EQ(Sent(), (TSent{kHeadStart, kHeadAbort}));
        EXPECT_FALSE(InChangeMode());
    }
}

TEST_F(InkChangeTest, EveryInkBoxVariantStartsExecutesAndAbortsByItsOwnCommands) {
    AllVariants();
    const struct {
        int item;
        const char* variant;
        int steps;
        const std::string& firstText;
        TSent start, execute, cancelInConfirmation;
    } variants[] = {
        {kBox, "Changebox", 5, g_GlobalString.bStep1, {}, {kBox05}, {}},
        {kBoxA, "ChangeboxA", 1, g_GlobalString.A4Step5, {kBox05}, {kBox07}, {kBoxAbort}},
        {kBoxB, "ChangeboxB", 1, g_GlobalString.A4Step5, {kBox05}, {kBox07}, {kBoxAbort}},
        // A started change is aborted, not left open behind the closed dialog.
        {kBoxC, "ChangeboxC", 5, g_GlobalString.bStep1, {kBox05}, {kBox05}, {kBoxAbort}},
        {kBoxC_B, "ChangeboxC_B", 5, g_GlobalString.bStep1, {kBox05}, {kBox05}, {kBoxAbort}},
        {kBoxD, "ChangeboxD", 1, g_GlobalString.A4Step5, {kBox05}, {kBox05}, {kBoxAbort}},
    };
    for (const auto& v : variants) {
        for (bool ok : {false, true}) {
            SCOPED_TRACE(std::string(v.variant) + (ok ? " OK" : " Cancel"));
            auto d = Open(v.item);
            ExpectStartPage(*d, v.variant);
            Start(*d);
            EXPECT_EQ(Sent(), v.start);
            ExpectStep(*d, v.variant, 1, v.steps, v.firstText);
            for (int step = 2; step <= v.steps; ++step) Click(d->btnNext);
            if (v.steps == 1) {
                Click(d->btnBack);  // ChangeboxD has no text on the way back
                EXPECT_EQ(d->lblInfo->text().isEmpty(), std::string(v.variant) == "ChangeboxD");
                EXPECT_FALSE(d->btnInkset->isEnabled());
                Click(d->btnNext);
            }
            TWaitWatch watch;
            Confirm(ok);
            if (ok) ExpectBox(g_GlobalString.InkFinish, TMessageIcon::Information);
            Click(d->btnInkset);
            EXPECT_FALSE(d->isVisible());
            EXPECT_EQ(Sent(), ok ? v.execute : v.cancelInConfirmation);
            if (ok) {
                EXPECT_NEAR(static_cast<double>(watch.UpMs()), 10000.0, 1000.0);
            }
            if (!ok) {
                EXPECT_FALSE(InChangeMode()) << DeviceState();
            }
        }
    }

    // ChangeboxE keeps the plain picture page: OK at once, 10 05; Cancel sends nothing.
    auto e = Open(kBoxE);
    EXPECT_FALSE(e->btnNext->isVisible());
    EXPECT_FALSE(e->btnBack->isVisible());
    EXPECT_TRUE(e->btnInkset->isEnabled());
    EXPECT_EQ(Picture(*e), "Img_ChangeboxE");
    Confirm(false);
    Click(e->btnInkset);
    EXPECT_TRUE(Sent().empty());
    auto e2 = Open(kBoxE);
    Confirm(true);
    ExpectBox(g_GlobalString.InkFinish, TMessageIcon::Information);
    Click(e2->btnInkset);
    EXPECT_EQ(Sent(), TSent{kBox05});
}

TEST_F(InkChangeTest, CancelAndTheTitleBarAbortEveryVariantStartedOrNot) {
    AllVariants();
    for (int item = kHead; item <= kBoxE; ++item) {
        for (bool started : {false, true}) {
            for (bool titleBar : {false, true}) {
                SCOPED_TRACE(std::to_string(item) + (started ? " started" : "") +
                             (titleBar ? " title bar" : ""));
                auto d = Open(item);
                const bool head = item <= kHeadQP7;
                const bool wizard = item != kBoxE;
                if (started && wizard) {
                    if (head)
                        Start(*d, "QJ76000002");
                    else
                        Start(*d);
                    Sent();
                }
                if (titleBar)
                    d->close();
                else
                    Click(d->btnCancel);
                EXPECT_FALSE(d->isVisible());
                EXPECT_EQ(Sent(), TSent{head ? kHeadAbort : kBoxAbort});
                EXPECT_FALSE(InChangeMode());
            }
        }
    }
}

TEST_F(InkChangeTest, EveryWayOutOfAStartedChangeAbortsItOnAPrinterSetOffline) {
    AllVariants();
    // The printer as the spooler shows it once the user has set it to work off-line: the port
    // monitor still reaches it, unless it has no monitor or the user may not administer it.
    OtherPrinter("Offline", "USB001", "ink").Set("WorkOffline", "1");
    OtherPrinter("Offline without monitor", "USB001", "ink")
        .Set("WorkOffline", "1")
        .Set("Monitor", "0");
    OtherPrinter("Offline for a user", "USB001", "ink")
        .Set("WorkOffline", "1")
        .Set("FullAccess", "0");
    ASSERT_EQ(StartUp({kInkPrinter, "99"}), kExitDone);
    // A change started while the printer was on-line, one step on.
    const auto started = [this](int item) {
        g_PrinterName = kInkPrinter;
        auto d = Open(item);
        if (item == kHeadA)
            Start(*d, "QJ76000007");
        else
            Start(*d);
        Click(d->btnNext);
        EXPECT_TRUE(InChangeMode());
        Sent();
        return d;
    };
    enum TWayOut { kCancelButton, kEscape, kTitleBar };
    for (int item : {kBoxC, kHeadA}) {
        for (TWayOut way : {kCancelButton, kEscape, kTitleBar}) {
            SCOPED_TRACE(std::to_string(item) + " way out " + std::to_string(way));
            auto d = started(item);
            g_PrinterName = "Offline";
            ExpectBox(g_GlobalString.PrinterNotFound, TMessageIcon::Error);
            if (way == kCancelButton)
                Click(d->btnCancel);
            else if (way == kEscape)
                QTest::keyClick(d.get(), Qt::Key_Escape);
            else
                d->close();
            m_Boxes.VerifyAllShown();
            EXPECT_FALSE(d->isVisible());
            EXPECT_EQ(Sent(), TSent{item == kHeadA ? kHeadAbort : kBoxAbort});
            EXPECT_FALSE(InChangeMode());
        }
    }

    // The abort went and was not taken: its warning, then the printer's box.
    auto refused = started(kBoxC);
    g_PrinterName = "Offline without monitor";
    ExpectBox(g_GlobalString.SetPrinterFail, TMessageIcon::Warning);
    ExpectBox(g_GlobalString.PrinterNotFound, TMessageIcon::Error);
    Click(refused->btnCancel);
    EXPECT_FALSE(refused->isVisible());
    EXPECT_TRUE(InChangeMode());
    g_PrinterName = kInkPrinter;
    Click(Open(kBoxC)->btnCancel);  // on-line again: Cancel takes it out
    EXPECT_FALSE(InChangeMode());
    // Without full access the channel cannot carry it: nothing is tried, the printer's box.
    auto locked = started(kBoxC);
    g_PrinterName = "Offline for a user";
    ExpectBox(g_GlobalString.PrinterNotFound, TMessageIcon::Error);
    Click(locked->btnCancel);
    EXPECT_FALSE(locked->isVisible());
    EXPECT_TRUE(InChangeMode());
    // Not started: the printer is in no change mode of this dialog's, so nothing is sent.
    g_PrinterName = "Offline";
    auto fresh = Open(kBoxC);
    ExpectBox(g_GlobalString.PrinterNotFound, TMessageIcon::Error);
    Click(fresh->btnCancel);
    EXPECT_FALSE(fresh->isVisible());
    EXPECT_TRUE(Sent().empty());
}

TEST_F(InkChangeTest, RefusalsAndFailuresNeverLeaveTheChangeModeOpen) {
    AllVariants();
    OtherPrinter("NoMonitor", "USB001", "ink").Set("Monitor", "0");
    OtherPrinter("Busy", "USB002", "busy");
    m_Builder.Device("busy").Set("Busy", "1");
    ASSERT_EQ(StartUp({kInkPrinter, "99"}), kExitDone);

    // Start not accepted: the warning, and the page stays at its start.
    g_PrinterName = "NoMonitor";
    auto refused = Open(kBoxA);
    ExpectBox(g_GlobalString.SetPrinterFail, TMessageIcon::Warning);
    Start(*refused);
    ExpectStartPage(*refused, "ChangeboxA");
    // Cancel's abort not accepted either: the warning, then the dialog closes.
    ExpectBox(g_GlobalString.SetPrinterFail, TMessageIcon::Warning);
    Click(refused->btnCancel);
    EXPECT_FALSE(refused->isVisible());

    // A busy printer: Start, Next and Cancel refuse and the page stays.
    g_PrinterName = "Busy";
    auto busy = Open(kHead);
    ExpectBox(g_GlobalString.WaitingForPrinterWork, TMessageIcon::Error);
    Start(*busy);
    ExpectBox(g_GlobalString.WaitingForPrinterWork, TMessageIcon::Error);
    Click(busy->btnCancel);
    EXPECT_TRUE(busy->isVisible());
    EXPECT_TRUE(Sent("busy").empty());

    // The execute refused after Start: the warning, then the abort, so the printer leaves
    // change mode (here the port monitor is back by the time of the abort).
    g_PrinterName = kInkPrinter;
    auto head = Open(kHeadC);
    Start(*head, "QJ76000003");
    EXPECT_TRUE(InChangeMode());
    m_Boxes.OnNextBox([this](const ui::TShownMessage&) {
        g_PrinterName = "NoMonitor";
        m_Boxes.OnNextBox([](const ui::TShownMessage&) { g_PrinterName = kInkPrinter; });
    });
    Confirm(true);
    ExpectBox(g_GlobalString.SetPrinterFail, TMessageIcon::Warning);
    Click(head->btnInkset);
    EXPECT_FALSE(head->isVisible());
    EXPECT_EQ(Sent(), (TSent{kHeadStart, kHeadAbort}));
    EXPECT_FALSE(InChangeMode());

    // A number that cannot be sent by the time of OK: HeadSNError, the abort, closed.
    auto plain = Open(kHead);
    Start(*plain, "QJ76000005");
    for (int step = 2; step <= 5; ++step) Click(plain->btnNext);
    g_HeadSN =
        "QJ760\xE5\xA4\xB4"
        "0005";
    Confirm(true);
    ExpectBox(g_GlobalString.HeadSNError, TMessageIcon::Error);
    Click(plain->btnInkset);
    EXPECT_FALSE(plain->isVisible());
    EXPECT_EQ(Sent(), (TSent{kHeadStart, kHeadAbort}));
    EXPECT_FALSE(InChangeMode());
}

TEST_F(InkChangeTest, EndOfTheChangeNoInkBoxTimeOutAndTheButtonsDuringTheWait) {
    AllVariants().Set("NoInkBoxAfterChange", "1");
    m_Builder.Device("slow", "USB002", "MFG:Talvenor;MDL:ink;").Set("HeadChangeMs", "2000000");
    OtherPrinter("Slow", "USB002", "slow");
    ASSERT_EQ(StartUp({kInkPrinter, "99"}), kExitDone);

    // The change ends with status 0x39: no ink box, an error.
    auto box = Open(kBoxA);
    Start(*box);
    bool tried = false;
    QTimer poke;
    poke.setInterval(0);
    QObject::connect(&poke, &QTimer::timeout, [&] {
        if (tried || !ui::TQtUserInterface::Installed()->WaitingWindow()) return;
        tried = true;
        for (QPushButton* button : {box->btnBack, box->btnNext, box->btnInkset, box->btnCancel})
            Click(button);
        box->btnBackClick();
        box->btnNextClick();
        box->close();
        EXPECT_TRUE(box->isVisible());
        EXPECT_EQ(box->m_count, 1);
    });
    poke.start();
    Confirm(true);
    ExpectBox(g_GlobalString.mNoInkBox, TMessageIcon::Error);
    Click(box->btnInkset);
    poke.stop();
    EXPECT_TRUE(tried);
    EXPECT_EQ(Sent(), (TSent{kBox05, kBox07}));

    // Still changing after 901 passes: a time-out, not "finished".
    g_PrinterName = "Slow";
    auto slow = Open(kHead);
    Start(*slow, "QJ76000004");
    for (int step = 2; step <= 5; ++step) Click(slow->btnNext);
    TWaitWatch watch;
    Confirm(true);
    ExpectBox(g_GlobalString.SetPrinterTimeout, TMessageIcon::Warning);
    Click(slow->btnInkset);
    EXPECT_EQ(watch.UpMs(), 2000u + 901u * 1000u);
    EXPECT_EQ(Sent("slow"), (TSent{kHeadStart, HeadExecuteWith("QJ76000004")}));
}

}  // namespace
}  // namespace ps::test

namespace ps::test {
namespace {

// What a screen reader finds on the ink pages: every control that takes the focus has a name,
// the one its caption shows, on the picture page, the nozzle check page, the start page and a
// step of the change.
class InkPagesAccessibility : public TInkFixture,
                              public ::testing::WithParamInterface<std::uint16_t> {};

TEST_P(InkPagesAccessibility, EveryControlOfThePicturePagesHasAName) {
    Printer({InkItem("Ink_Clean", "Ink_Clean"), InkItem("Ink_Holecheck", "Ink_Holecheck6B22"),
             InkItem("Ink_Changebox", "Ink_ChangeboxC")});
    Install(GetParam());
    for (int item : {0, 1, 2}) {
        auto d = Open(item);
        EXPECT_EQ(ScreenReaderFaults(d.get()), std::vector<std::string>()) << item;
    }
    auto box = Open(2);
    Click(box->btnNext);
    Click(box->btnNext);
    EXPECT_EQ(box->m_count, 2);
    EXPECT_EQ(ScreenReaderFaults(box.get()), std::vector<std::string>());
}

INSTANTIATE_TEST_SUITE_P(Languages, InkPagesAccessibility, ::testing::Values(0x0409, 0x0804),
                         [](const auto& language) {
                             return language.param == 0x0409 ? "en" : "zh_CN";
                         });

}  // namespace
}  // namespace ps::test
