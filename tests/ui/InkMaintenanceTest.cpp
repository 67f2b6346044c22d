// SPDX-License-Identifier: MIT
// The ink maintenance page against the printer emulator: the picture page, the checks and
// their refusals, head, deep and roller cleaning with the "TimeData" record, the nozzle check
// of every variant, the clean button, the waits and what the buttons do while they run.
#include <gtest/gtest.h>

#include <QLabel>
#include <QScrollArea>
#include <QTest>
#include <filesystem>
#include <optional>

#include "InkFixture.h"
#include "maintenance/InkMaintenance.h"
#include "maintenance/NozzlePatterns.h"
#include "transport/UtilDataSend.h"

namespace ps::test {
namespace {

namespace fs = std::filesystem;
using ui::TfrmSetItem;

std::string Job(std::string_view pattern) {
    const auto data = NozzlePatternData(pattern);
    return "job Print test " + BytesToSpacedHex(data.data(), data.size());
}

class InkMaintenanceTest : public TInkFixture {
protected:
    // The maintenance page of every action; indexes as the constants below.
    TEmulationDirBuilder::TSection& AllItems() {
        return Printer({InkItem("Ink_Clean", "Ink_Clean"),
                        InkItem("Ink_Deepclean", "Ink_Deepclean"),
                        InkItem("Ink_Bearing_Clean", "Ink_Bearing_Clean"),
                        InkItem("Ink_Holecheck", "Ink_Holecheck6A3C"),
                        InkItem("Ink_Holecheck", "Ink_Holecheck7D05"),
                        InkItem("Ink_Holecheck", "Ink_Holecheck4D00"),
                        InkItem("Ink_Holecheck", "Ink_Holecheck4E17"),
                        InkItem("Ink_Holecheck", "Ink_Holecheck5C90"),
                        InkItem("Ink_Holecheck", "Ink_Holecheck6B22"),
                        InkItem("Ink_Holecheck", "Ink_HolecheckQ1")});
    }
    static constexpr int kClean = 0, kDeep = 1, kRoller = 2, k6A3C = 3, k7D05 = 4, k4D00 = 5,
                         k4E17 = 6, k5C90 = 7, k6B22 = 8, kNoPattern = 9;

    void ExpectBox(const std::string& text, TMessageIcon icon,
                   TMessageResult answer = TMessageResult::Ok) {
        m_Boxes.Expect(g_GlobalString.HintTitle, text, icon, answer);
    }
    void ExpectConfirmation(const std::string& text, bool ok) {
        ExpectBox(text, TMessageIcon::Information,
                  ok ? TMessageResult::Ok : TMessageResult::Cancel);
    }
};

TEST_F(InkMaintenanceTest, PicturePageShowsThePictureTheExplanationAndItsButtons) {
    AllItems();
    auto clean = Open(kClean);
    EXPECT_EQ(clean->m_iShowMode, 2);
    EXPECT_EQ(clean->m_iValueIndex, 0);
    EXPECT_EQ(clean->windowTitle(), "Ink_Clean title");
    EXPECT_EQ(clean->lblInfo->text(), "Ink_Clean explained");
    EXPECT_EQ(clean->imgPicture->property("picture").toString(), "Img_Clean");
    EXPECT_FALSE(clean->imgPicture->pixmap().isNull());
    EXPECT_TRUE(clean->pnlType3->isVisible());
    EXPECT_FALSE(clean->pnlType1->isVisible());
    EXPECT_FALSE(clean->pnlType2->isVisible());
    EXPECT_EQ(clean->tsb3->height(), 194);
    EXPECT_EQ(clean->height(), 390);
    EXPECT_TRUE(clean->btnInkset->isVisible());
    EXPECT_TRUE(clean->btnInkset->isEnabled());
    EXPECT_EQ(clean->btnInkset->text().toStdString(), g_GlobalString.ParametersBtnOK);
    for (QPushButton* hidden :
         {clean->btnDefault, clean->btnSet, clean->btnBack, clean->btnNext, clean->btnClean})
        EXPECT_FALSE(hidden->isVisible()) << hidden->objectName().toStdString();
    EXPECT_TRUE(Sent().empty());  // an ink page reads no current value

    auto check = Open(k6A3C);
    EXPECT_EQ(check->imgPicture->property("picture").toString(), "Img_Holecheck6A3C");
    EXPECT_EQ(check->btnInkset->text().toStdString(), g_GlobalString.btnInkPrn);
    EXPECT_TRUE(check->btnClean->isVisible());
    EXPECT_EQ(check->btnClean->text().toStdString(), g_GlobalString.BtnClean);
    // The pattern files are in the program's folder of the temporary folder.
    EXPECT_EQ(fs::path(check->m_Holecheck6A3C_2).filename(), "HoleCheck6A3C_2.prn");
    EXPECT_EQ(fs::path(check->m_Holecheck6A3C_2).parent_path().filename(), "printer-settings");
    for (const std::string* file :
         {&check->m_Holecheck6A3C, &check->m_Holecheck6A3C_2, &check->m_HolecheckKV,
          &check->m_Holecheck4E17, &check->m_Holecheck4D00, &check->m_Holecheck7D05})
        EXPECT_TRUE(fs::is_regular_file(*file)) << *file;
    EXPECT_EQ(fs::file_size(check->m_Holecheck4D00), 106u);
}

TEST_F(InkMaintenanceTest, HeadCleaningCountsInTheRecordAndWaitsWhileThePrinterCleans) {
    AllItems().Set("CleanMs", "8000");
    // No record yet: the counter is 0 and the cleaning writes a blank and 1.
    auto first = Open(kClean);
    TWaitWatch watch;
    ExpectBox(g_GlobalString.CleanFinish, TMessageIcon::Information);
    Click(first->btnInkset);
    EXPECT_FALSE(first->isVisible());
    EXPECT_EQ(Sent(), std::vector<std::string>{kHeadCleaning});
    EXPECT_EQ(TimeData(), u" 1");
    // The waiting window came after a second and stayed until the status left 0x2A (8 s).
    EXPECT_GE(watch.UpMs(), 6900u);
    EXPECT_LE(watch.UpMs(), 7100u);
    EXPECT_EQ(ui::TQtUserInterface::Installed()->WaitingWindow(), nullptr);

    // The seed text keeps its date and counts 1; a counter of 9 becomes "10", read as 1 next.
    ASSERT_TRUE(SetTimeData(kInkPrinter, u"2017/08/09 10:10:33 0", 42));
    ExpectBox(g_GlobalString.CleanFinish, TMessageIcon::Information);
    Click(Open(kClean)->btnInkset);
    EXPECT_EQ(TimeData(), u"2017/08/09 10:10:33 1");
    ASSERT_TRUE(SetTimeData(kInkPrinter, u"2017/08/09 10:10:33 9", 42));
    ExpectBox(g_GlobalString.CleanFinish, TMessageIcon::Information);
    Click(Open(kClean)->btnInkset);
    EXPECT_EQ(TimeData(), u"2017/08/09 10:10:33 10");
    ExpectBox(g_GlobalString.CleanFinish, TMessageIcon::Information);
    Click(Open(kClean)->btnInkset);
    EXPECT_EQ(TimeData(), u"2017/08/09 10:10:33 2");
    EXPECT_EQ(Sent(), std::vector<std::string>(3, kHeadCleaning));
}

TEST_F(InkMaintenanceTest, BothCleaningsRunWhateverTheRecordAndKeepOneThatCouldNotBeRead) {
    AllItems();
    const std::u16string kept = u"2017/08/09 10:10:33 3";
    const std::u16string tooLong(60, u'9');  // 120 bytes: more than the 100-byte buffer
    // Each way the read of the record can end, once for each cleaning, on a printer of its
    // own (all on the same device).
    const struct {
        const char* read;
        std::optional<std::u16string> record;  // what the printer starts with
        bool bReadFails;
        // Empty: nothing may be stored. A deep cleaning puts the time of the press first.
        std::u16string afterCleaning, afterDeepCleaning;
    } cases[] = {
        {"present", kept, false, u"2017/08/09 10:10:33 4", u" 5"},
        {"missing", std::nullopt, false, u" 1", u" 2"},
        {"too long", tooLong, false, {}, {}},
        {"failed", kept, true, {}, {}},
    };
    for (const auto& c : cases) {
        for (const char* cleaning : {" clean", " deep"}) {
            auto& printer = OtherPrinter(c.read + std::string(cleaning), "USB001", "ink");
            if (c.record) printer.Set("Data.TimeData", StringData(*c.record));
            if (c.bReadFails) printer.Set("DataReadFails", "1");
        }
    }
    ASSERT_EQ(StartUp({kInkPrinter, "99"}), kExitDone);
    for (const auto& c : cases) {
        for (const bool deep : {false, true}) {
            const std::string name = std::string(c.read) + (deep ? " deep" : " clean");
            SCOPED_TRACE(name);
            g_PrinterName = name;
            auto d = Open(deep ? kDeep : kClean);
            if (deep) ExpectConfirmation(g_GlobalString.DeepClean, true);
            ExpectBox(deep ? g_GlobalString.DeepCleanFinish : g_GlobalString.CleanFinish,
                      TMessageIcon::Information);
            const std::string now = TimeDataDateNow();
            Click(d->btnInkset);
            m_Boxes.VerifyAllShown();
            EXPECT_FALSE(d->isVisible());
            EXPECT_EQ(Sent(), std::vector<std::string>{deep ? kDeepCleaning : kHeadCleaning});
            std::u16string after = deep ? c.afterDeepCleaning : c.afterCleaning;
            if (deep && !after.empty()) after = std::u16string(now.begin(), now.end()) + after;
            EXPECT_EQ(StoredTimeData(name), after.empty() ? "" : StringData(after));
        }
    }
}

TEST_F(InkMaintenanceTest, DeepCleaningAsksFirstAndRecordsTheDate) {
    AllItems();
    m_Builder.Section("Clock").Set("LocalTime", "2024-05-01 08:09:10").Set("DateSeparator", ".");
    SeedTimeData(u"2017/08/09 10:10:33 0");
    auto deep = Open(kDeep);
    ExpectConfirmation(g_GlobalString.DeepClean, false);
    Click(deep->btnInkset);
    EXPECT_EQ(m_Boxes.shown.back().buttons, TMessageButtons::OkCancel);
    EXPECT_TRUE(deep->isVisible());  // Cancel: nothing sent, the page stays
    EXPECT_TRUE(Sent().empty());

    ExpectConfirmation(g_GlobalString.DeepClean, true);
    ExpectBox(g_GlobalString.DeepCleanFinish, TMessageIcon::Information);
    Click(deep->btnInkset);
    EXPECT_FALSE(deep->isVisible());
    EXPECT_EQ(Sent(), std::vector<std::string>{kDeepCleaning});
    // The date when the button was pressed, with the user's separators; the counter goes up 2.
    EXPECT_EQ(TimeData(), u"2024.05.01 08:09:10 2");
}

TEST_F(InkMaintenanceTest, RollerCleaningAsksAndClosesWithoutAMessage) {
    AllItems();
    auto roller = Open(kRoller);
    ExpectConfirmation(g_GlobalString.BearingClean, false);
    Click(roller->btnInkset);
    EXPECT_TRUE(roller->isVisible());
    EXPECT_TRUE(Sent().empty());
    ExpectConfirmation(g_GlobalString.BearingClean, true);
    Click(roller->btnInkset);
    EXPECT_FALSE(roller->isVisible());
    EXPECT_EQ(Sent(), std::vector<std::string>{kRollerCleaning});
    EXPECT_EQ(TimeData(), u"");  // only cleanings and deep cleanings count
}

TEST_F(InkMaintenanceTest, EveryCheckRefusesWithItsBoxAndSendsNothing) {
    AllItems();
    OtherPrinter("Queued", "USB001", "ink").Set("QueuedJobs", "1");
    OtherPrinter("Unlisted", "USB001", "ink").Set("JobFault", "JobList");
    OtherPrinter("Offline", "USB001", "ink").Set("WorkOffline", "1");
    OtherPrinter("Busy", "USB002", "busy");
    m_Builder.Device("busy").Set("Busy", "1");
    OtherPrinter("NoBox", "USB003", "nobox");
    m_Builder.Device("nobox").Set("NoInkBox", "1");
    ASSERT_EQ(StartUp({kInkPrinter, "99"}), kExitDone);
    const struct {
        const char* printer;
        const std::string& text;
    } refusals[] = {
        {"Missing", g_GlobalString.PrinterNotFound}, {"Queued", g_GlobalString.mPrintQueue},
        {"Unlisted", g_GlobalString.mPrintQueue},  // a queue it cannot list is not empty
        {"Offline", g_GlobalString.PrinterNotFound}, {"Busy", g_GlobalString.WaitingForPrinterWork},
        {"NoBox", g_GlobalString.mNoInkBox},
    };
    for (int item : {kClean, kDeep, kRoller, k6B22}) {
        for (const auto& refusal : refusals) {
            SCOPED_TRACE(std::string(refusal.printer) + " item " + std::to_string(item));
            g_PrinterName = refusal.printer;
            auto dialog = Open(item);
            ExpectBox(refusal.text, TMessageIcon::Error);
            Click(dialog->btnInkset);
            m_Boxes.VerifyAllShown();
            EXPECT_TRUE(dialog->isVisible());
        }
    }
    for (const char* device : {"ink", "busy", "nobox"}) EXPECT_TRUE(Sent(device).empty());

    // The clean button of a nozzle check page does not ask about the queue or the ink box.
    g_PrinterName = "Queued";
    auto check = Open(k6B22);
    ExpectConfirmation(g_GlobalString.Clean, true);
    ExpectBox(g_GlobalString.CleanFinish, TMessageIcon::Information);
    Click(check->btnClean);
    EXPECT_EQ(Sent(), std::vector<std::string>{kHeadCleaning});
    g_PrinterName = "Busy";
    auto busy = Open(k6B22);
    ExpectBox(g_GlobalString.WaitingForPrinterWork, TMessageIcon::Error);
    Click(busy->btnClean);
    EXPECT_TRUE(busy->isVisible());
    EXPECT_TRUE(Sent("busy").empty());
}

TEST_F(InkMaintenanceTest, NozzleCheckOfEveryVariant) {
    AllItems();
    const struct {
        int item;
        std::vector<std::string> sent;
        std::uint64_t waitMs;  // the pauses under the waiting window
    } checks[] = {
        {k6A3C,
         {Job("HoleCheck6A3C_2"), "monitor 1B 1D 1E 10 09 81 1B 1D 1F", "monitor 0C"},
         13000},
        {k7D05, {Job("HoleCheck7D05"), "monitor 1B 1D 1E 10 09 81 1B 1D 1F", "monitor 0C"}, 14000},
        {k4D00, {Job("HoleCheck4D00")}, 0},
        {k4E17, {Job("HoleCheck4E17")}, 0},
        {k5C90, {"monitor 1B 1D 1E 10 09 81 1B 1D 1F"}, 0},
        {k6B22, {"monitor 1B 1D 1E 10 09 00 1B 1D 1F"}, 0},
        {kNoPattern, {}, 0},  // an empty job: nothing reaches the printer
    };
    for (const auto& check : checks) {
        SCOPED_TRACE(check.item);
        auto dialog = Open(check.item);
        ExpectConfirmation(g_GlobalString.Holecheck, false);
        Click(dialog->btnInkset);
        EXPECT_TRUE(Sent().empty());
        EXPECT_TRUE(dialog->isVisible());

        TWaitWatch watch;
        ExpectConfirmation(g_GlobalString.Holecheck, true);
        Click(dialog->btnInkset);
        m_Boxes.VerifyAllShown();
        EXPECT_FALSE(dialog->isVisible());
        EXPECT_EQ(Sent(), check.sent);
        EXPECT_NEAR(static_cast<double>(watch.UpMs()), static_cast<double>(check.waitMs), 100);
    }
    // The printer printed the pages: 4D00 carries the nozzle check command itself.
    EXPECT_NE(DeviceState().find("NozzleChecks=5"), std::string::npos) << DeviceState();
}

TEST_F(InkMaintenanceTest, PatternThatCannotBeReadBackOrSentWholeIsAFailure) {
    AllItems();
    OtherPrinter("Short", "USB001", "ink").Set("JobFault", "ShortWrite");
    // A pattern file cut short on the disk: nothing is sent.
    auto cut = Open(k4E17);
    fs::resize_file(cut->m_Holecheck4E17, 1000);
    ExpectConfirmation(g_GlobalString.Holecheck, true);
    ExpectBox(g_GlobalString.SetPrinterFail, TMessageIcon::Warning);
    Click(cut->btnInkset);
    EXPECT_FALSE(cut->isVisible());
    EXPECT_TRUE(Sent().empty());

    // The spooler takes half of the job: a failure, and the nozzle check command does not follow.
    g_PrinterName = "Short";
    auto half = Open(k6A3C);
    ExpectConfirmation(g_GlobalString.Holecheck, true);
    ExpectBox(g_GlobalString.SetPrinterFail, TMessageIcon::Warning);
    Click(half->btnInkset);
    const auto sent = Sent();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_TRUE(sent[0].starts_with("job Print test 1B 40"));
}

TEST_F(InkMaintenanceTest, CleaningThatDoesNotEndInTimeIsReportedAsATimeOut) {
    AllItems().Set("CleanMs", "2000000");
    SeedTimeData(u"2017/08/09 10:10:33 4");
    auto clean = Open(kClean);
    TWaitWatch watch;
    ExpectBox(g_GlobalString.SetPrinterTimeout, TMessageIcon::Warning);
    Click(clean->btnInkset);
    // 4 s, then 901 one-second passes with the status still 0x2A.
    EXPECT_EQ(watch.UpMs(), 4000u + 901u * 1000u);
    EXPECT_EQ(TimeData(), u"2017/08/09 10:10:33 5");  // the cleaning was done all the same
}

TEST_F(InkMaintenanceTest, FailuresBeforeAndAroundTheCleaning) {
    AllItems();
    OtherPrinter("NoMonitor", "USB001", "ink").Set("Monitor", "0");
    OtherPrinter("Parallel", "LPT1", "lpt");
    SeedTimeData(u"2017/08/09 10:10:33 x");
    // A record whose counter is not a digit stops before anything is sent.
    auto bad = Open(kClean);
    m_Boxes.Expect(kInkPrinter, "'x' is not a valid integer value", TMessageIcon::Error);
    Click(bad->btnInkset);
    EXPECT_TRUE(bad->isVisible());
    EXPECT_TRUE(Sent().empty());
    EXPECT_TRUE(bad->btnInkset->isEnabled());  // the buttons are back after the error

    // The port monitor does not take the command: a warning, the record stays.
    g_PrinterName = "NoMonitor";
    auto refused = Open(kClean);
    ExpectBox(g_GlobalString.SetPrinterFail, TMessageIcon::Warning);
    Click(refused->btnInkset);
    EXPECT_FALSE(refused->isVisible());

    // A printer on LPT1 gives no status byte: one pass after the 4-second lead.
    g_PrinterName = "Parallel";
    auto check = Open(k6B22);
    TWaitWatch watch;
    ExpectConfirmation(g_GlobalString.Clean, true);
    ExpectBox(g_GlobalString.CleanFinish, TMessageIcon::Information);
    Click(check->btnClean);
    EXPECT_EQ(watch.UpMs(), 5000u);
    EXPECT_EQ(Sent("lpt"), std::vector<std::string>{kHeadCleaning});
}

TEST_F(InkMaintenanceTest, ButtonsTakeNoClicksWhileAWaitKeepsTheWindowAlive) {
    AllItems().Set("CleanMs", "8000");
    auto clean = Open(kClean);
    bool tried = false;
    QTimer poke;
    poke.setInterval(0);
    QObject::connect(&poke, &QTimer::timeout, [&] {
        const ui::TQtUserInterface* qt = ui::TQtUserInterface::Installed();
        if (tried || !qt->WaitingWindow()) return;
        tried = true;
        // A click on each button, a second start from code, Esc and the title bar's close.
        EXPECT_FALSE(clean->btnInkset->isEnabled());
        EXPECT_FALSE(clean->btnCancel->isEnabled());
        EXPECT_TRUE(clean->InkActionRunning());
        for (QPushButton* button : {clean->btnInkset, clean->btnCancel}) Click(button);
        clean->btnInksetClick();
        QTest::keyClick(clean.get(), Qt::Key_Escape);
        clean->close();
        EXPECT_TRUE(clean->isVisible());
    });
    poke.start();
    ExpectBox(g_GlobalString.CleanFinish, TMessageIcon::Information);
    Click(clean->btnInkset);
    EXPECT_TRUE(tried);
    EXPECT_EQ(Sent(), std::vector<std::string>{kHeadCleaning});
    EXPECT_FALSE(clean->isVisible());
}

}  // namespace
}  // namespace ps::test
