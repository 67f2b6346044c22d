// SPDX-License-Identifier: MIT
// The ink maintenance core: the pattern data, the "TimeData" texts, the change commands and
// serial number, and the checks and waits against the printer emulator.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "base/Lib_String.h"
#include "localisation/Scheme.h"
#include "maintenance/ActionChecks.h"
#include "maintenance/InkChange.h"
#include "maintenance/InkMaintenance.h"
#include "maintenance/NozzlePatterns.h"
#include "maintenance/PrinterWaits.h"
#include "platform/Platform.h"
#include "printer/Globals.h"
#include "support/EmulationFixture.h"
#include "transport/USBPrinterPort.h"
#include "transport/UtilDataSend.h"

namespace ps {
namespace {

std::string Hex(std::span<const std::uint8_t> bytes) {
    return BytesToSpacedHex(bytes.data(), bytes.size());
}

TEST(NozzlePatternData, TextTestLineIsExactAndRasterPagesAreWholePages) {
    // The printer's own test line, byte for byte.
    std::string expected = "1B 1D 1E 10 09 81 1B 1D 1F 0D 1B 4A D0 1B 1D 1E 10 15 4C 00";
    const std::string text =
        std::string(20, ' ') + "--  PRINTER HEAD HOLE TEST    END --" + std::string(20, ' ');
    ASSERT_EQ(text.size(), 76u);
    for (char c : text)
        expected += " " + BytesToHexText(reinterpret_cast<const std::uint8_t*>(&c), 1);
    expected += " 1B 1D 1F 0D 1B 4A 10 0C 1B 40";
    const auto line = NozzlePatternData("HoleCheck4D00");
    EXPECT_EQ(line.size(), 106u);
    EXPECT_EQ(Hex(line), expected);

    // Every other pattern is a page: reset first, form feed last, and no framed command that
    // the printer would obey inside the picture data.
    for (const TNozzlePattern& pattern : kNozzlePatterns) {
        if (std::string_view(pattern.resource) == "HoleCheck4D00") continue;
        const auto data = NozzlePatternData(pattern.resource);
        SCOPED_TRACE(pattern.resource);
        ASSERT_GT(data.size(), 1000u);
        EXPECT_EQ(data[0], 0x1B);
        EXPECT_EQ(data[1], 0x40);
        EXPECT_EQ(data.back(), 0x0C);
        const std::uint8_t frameStart[] = {0x1B, 0x1D, 0x1E};
        EXPECT_EQ(FindMem(frameStart, data.data(), 3, static_cast<int>(data.size())), -1);
    }
    EXPECT_TRUE(NozzlePatternData("HoleCheckXX").empty());
}

TEST(TimeDataRecord, CounterAndTheTextsWrittenBack) {
    const std::u16string seed = u"2017/08/09 10:10:33 0";
    EXPECT_EQ(TimeDataCounter(seed), 0);
    // A cleaning keeps the date and counts one; a deep cleaning puts today's date and counts two.
    EXPECT_EQ(TimeDataAfterCleaning(seed, 0), u"2017/08/09 10:10:33 1");
    EXPECT_EQ(TimeDataAfterDeepCleaning("2024/05/01 08:09:10", 0), u"2024/05/01 08:09:10 2");
    // Nine and one make "10"; only its first digit is read back.
    const std::u16string ten = TimeDataAfterCleaning(u"2017/08/09 10:10:33 9", 9);
    EXPECT_EQ(ten, u"2017/08/09 10:10:33 10");
    EXPECT_EQ(TimeDataCounter(ten), 1);
    // No record: counter 0, and a cleaning writes a blank and 1.
    EXPECT_EQ(TimeDataCounter(u""), 0);
    EXPECT_EQ(TimeDataAfterCleaning(u"", 0), u" 1");
    // Anything but a digit at the 21st character stops with a conversion error.
    EXPECT_THROW(TimeDataCounter(u"2017/08/09 10:10:33 x"), EConvertError);
    EXPECT_THROW(TimeDataCounter(u"2017.08.09  10.10.33 1"), EConvertError);
}

// A kernel with a fixed local time and chosen separators.
class TSeparatorKernel : public TKernel {
public:
    TSeparatorKernel(char date, char time) : m_cDate(date), m_cTime(time) {}
    std::uint16_t GetSystemDefaultLangID() override { return 0x0409; }
    std::string GetTempPath() override { return {}; }
    std::optional<std::string> DecodeLegacyText(std::string_view, std::uint16_t) override {
        return std::nullopt;
    }
    std::optional<TLocalTime> GetLocalTime() override {
        TLocalTime t;
        t.year = 2024;
        t.month = 5;
        t.day = 1;
        t.hour = 8;
        t.minute = 9;
        t.second = 10;
        return t;
    }
    char GetDateSeparator() override { return m_cDate; }
    char GetTimeSeparator() override { return m_cTime; }

private:
    char m_cDate, m_cTime;
};

class TSeparatorPlatform : public TPlatform {
public:
    TSeparatorPlatform(char date, char time) : m_Kernel(date, time) {}
    TKernel& Kernel() override { return m_Kernel; }
    TClock& Clock() override { return m_Clock; }

private:
    TSeparatorKernel m_Kernel;
    TVirtualClock m_Clock;
};

TEST(TimeDataRecord, DateTakesTheUserSeparatorsButAlwaysNineteenCharacters) {
    const struct {
        char date, time;
        const char* text;
    } cases[] = {
        {'/', ':', "2024/05/01 08:09:10"},
        {'.', '-', "2024.05.01 08-09-10"},
        {'5', ':', "2024/05/01 08:09:10"},   // a digit would read as part of the date
        {' ', '\0', "2024/05/01 08:09:10"},  // a blank or a zero would move or cut the counter
        {static_cast<char>(0xE5), '.', "2024/05/01 08.09.10"},  // part of a longer character
    };
    for (const auto& c : cases) {
        InstallPlatform(std::make_unique<TSeparatorPlatform>(c.date, c.time));
        const std::string now = TimeDataDateNow();
        EXPECT_EQ(now, c.text);
        EXPECT_EQ(TimeDataCounter(TimeDataAfterDeepCleaning(now, 7)), 9);
    }
    test::InstallTestPlatform();
}

TEST(HeadChange, CommandsAndTheSerialNumber) {
    EXPECT_EQ(BytesToSpacedHex(HeadChangeStartCommand()),
              "1B 1D 1E 11 13 00 1B 1D 1F 1B 1D 1E 10 03 1B 1D 1F");
    EXPECT_EQ(BytesToSpacedHex(HeadChangeAbortCommand()),
              "1B 1D 1E 10 08 1B 1D 1F 1B 1D 1E 11 13 01 1B 1D 1F");
    EXPECT_EQ(BytesToSpacedHex(HeadChangeExecuteCommand()), "1B 1D 1E 10 07 1B 1D 1F");
    EXPECT_EQ(BytesToSpacedHex(BoxChangeStartCommand()), "1B 1D 1E 10 05 1B 1D 1F");
    EXPECT_EQ(BytesToSpacedHex(BoxChangeExecuteCommand("ChangeboxA")), "1B 1D 1E 10 07 1B 1D 1F");
    EXPECT_EQ(BytesToSpacedHex(BoxChangeExecuteCommand("ChangeboxB")), "1B 1D 1E 10 07 1B 1D 1F");
    EXPECT_EQ(BytesToSpacedHex(BoxChangeExecuteCommand("ChangeboxC")), "1B 1D 1E 10 05 1B 1D 1F");
    EXPECT_EQ(BytesToSpacedHex(BoxChangeAbortCommand()), "1B 1D 1E 10 08 1B 1D 1F");

    // Ten characters padded by six blanks: 41 bytes.
    const auto ten = HeadChangeExecuteCommand("QJ76012345");
    ASSERT_TRUE(ten);
    EXPECT_EQ(BytesToSpacedHex(*ten),
              "1B 1D 1E 11 33 04 51 4A 37 36 30 31 32 33 34 35 20 20 20 20 20 20 "
              "00 00 00 00 00 00 00 00 1B 1D 1F 1B 1D 1E 10 07 1B 1D 1F");
    EXPECT_EQ(HeadChangeExecuteCommand("ABCDEFG")->size(), 41u);
    EXPECT_EQ(HeadChangeExecuteCommand("ABCDEFGHIJKLMNOP")->size(), 41u);
    // Too short, too long, or characters that are not one byte each: no command at all.
    EXPECT_FALSE(HeadChangeExecuteCommand("ABCDEF"));
    EXPECT_FALSE(HeadChangeExecuteCommand("ABCDEFGHIJKLMNOPQ"));
    EXPECT_FALSE(
        HeadChangeExecuteCommand("QJ760\xE5\xA4\xB4"
                                 "12345678"));  // 14 characters
    EXPECT_FALSE(HeadSerialNumberValid("QJ760\t1234"));

    EXPECT_TRUE(AsksHeadSerialNumber("5C90"));
    EXPECT_FALSE(SendsHeadSerialNumber("5C90"));
    for (const char* set : {"6A3C", "6B21", "7D05", "7E40", "6B22"}) {
        EXPECT_TRUE(AsksHeadSerialNumber(set)) << set;
        EXPECT_TRUE(SendsHeadSerialNumber(set)) << set;
    }
    EXPECT_FALSE(AsksHeadSerialNumber("4E17"));
    EXPECT_FALSE(AsksHeadSerialNumber("6a3c"));
}

TEST(HeadChange, VariantsByItemName) {
    const TChangeVariant* qp7 = FindChangeVariant("Ink_CHANGEHEAD_qp7");
    ASSERT_NE(qp7, nullptr);
    EXPECT_EQ(qp7->Steps(), 9);
    EXPECT_EQ(qp7->StepPicture(9), "Changehead_QP79");
    EXPECT_EQ(FindChangeVariant("Ink_changeheadA"), nullptr);  // only QP7 ignores letter case
    EXPECT_EQ(FindChangeVariant("Ink_ChangeboxE"), nullptr);   // a plain picture page
    EXPECT_EQ(FindChangeVariant("ChangeheadA"), nullptr);
    const struct {
        const char* name;
        int steps;
        TChangeKind kind;
        TChangeStartCommand start;
    } table[] = {
        {"Ink_Changehead", 5, TChangeKind::Head, TChangeStartCommand::Head},
        {"Ink_ChangeheadA", 4, TChangeKind::Head, TChangeStartCommand::Head},
        {"Ink_ChangeheadB", 10, TChangeKind::Head, TChangeStartCommand::Head},
        {"Ink_ChangeheadC", 1, TChangeKind::Head, TChangeStartCommand::Head},
        {"Ink_ChangeheadD", 5, TChangeKind::Head, TChangeStartCommand::Head},
        {"Ink_Changebox", 5, TChangeKind::Box, TChangeStartCommand::None},
        {"Ink_ChangeboxA", 1, TChangeKind::Box, TChangeStartCommand::Box},
        {"Ink_ChangeboxB", 1, TChangeKind::Box, TChangeStartCommand::Box},
        {"Ink_ChangeboxC", 5, TChangeKind::Box, TChangeStartCommand::Box},
        {"Ink_ChangeboxC_B", 5, TChangeKind::Box, TChangeStartCommand::Box},
        {"Ink_ChangeboxD", 1, TChangeKind::Box, TChangeStartCommand::Box},
    };
    for (const auto& row : table) {
        const TChangeVariant* v = FindChangeVariant(row.name);
        ASSERT_NE(v, nullptr) << row.name;
        EXPECT_EQ(v->Steps(), row.steps) << row.name;
        EXPECT_EQ(v->kind, row.kind) << row.name;
        EXPECT_EQ(v->start, row.start) << row.name;
    }
    g_GlobalString = BuiltInGlobalStrings();
    EXPECT_EQ(FindChangeVariant("Ink_ChangeboxD")->StepText(1), g_GlobalString.A4Step5);
    EXPECT_EQ(FindChangeVariant("Ink_ChangeheadB")->StepText(10), g_GlobalString.CStep10);
    EXPECT_EQ(FindChangeVariant("Ink_ChangeheadB")->StepText(11), "");
}

class InkCoreTest : public test::TEmulatedCoreTest {
protected:
    InkCoreTest() {
        m_Dir.Write("device.ini", "[GlobalSettings]\r\nPrinterName=Ink\r\n");
        m_Builder.Device("ink", "USB001", "MFG:Talvenor;MDL:Ink;")
            .Set("Scheme", "device.ini")
            .Set("CleanMs", "20000");
        m_Builder.Printer("Ink", "USB001").Set("Device", "ink");
        m_Builder.Kernel("TempDir", "temp").Kernel("ProgramPath", "program\\printer-settings.exe");
        g_GlobalString = BuiltInGlobalStrings();
        g_PrinterName = "Ink";
    }
    TActionCheck Check(const std::string& printer, TActionCheckSet set = TActionCheckSet::Full()) {
        TUSBPrinterPort port(true);
        return CheckBeforeAction(printer, &port, set);
    }
};

TEST_F(InkCoreTest, ChecksRefuseInOrderAndAQueueThatCannotBeListedIsNotEmpty) {
    m_Builder.Printer("Queued", "USB001").Set("Device", "ink").Set("QueuedJobs", "1");
    m_Builder.Printer("NoList", "USB001").Set("Device", "ink").Set("JobFault", "JobList");
    m_Builder.Printer("Offline", "USB001").Set("Device", "ink").Set("WorkOffline", "1");
    m_Builder.Printer("Parallel", "LPT1").Set("Device", "ink");
    m_Builder.Device("busy", "USB002", "MFG:Talvenor;MDL:Ink;").Set("Busy", "1");
    m_Builder.Printer("Busy", "USB002").Set("Device", "busy").Set("QueuedJobs", "1");
    m_Builder.Device("nobox", "USB003", "MFG:Talvenor;MDL:Ink;").Set("NoInkBox", "1");
    m_Builder.Printer("NoBox", "USB003").Set("Device", "nobox");
    StartEmulator();

    const TActionCheck ok = Check("Ink");
    EXPECT_TRUE(ok.Passed());
    EXPECT_TRUE(ok.bUsbPort);
    EXPECT_EQ(ok.portName, "USB001");
    EXPECT_EQ(ok.status, 0x00);
    EXPECT_EQ(Check("Missing").refusal, TActionRefusal::PrinterNotOpened);
    EXPECT_EQ(PrinterQueueState("Queued"), TQueueState::HasJobs);
    EXPECT_EQ(Check("Queued").refusal, TActionRefusal::JobsQueued);
    EXPECT_EQ(PrinterQueueState("NoList"), TQueueState::Unknown);
    EXPECT_EQ(Check("NoList").refusal, TActionRefusal::JobsQueued);
    EXPECT_EQ(Check("Offline").refusal, TActionRefusal::PrinterNotUsable);
    EXPECT_EQ(Check("Busy").refusal, TActionRefusal::JobsQueued);  // the queue comes first
    EXPECT_EQ(Check("NoBox").refusal, TActionRefusal::NoInkBox);
    const TActionCheck lpt = Check("Parallel");
    EXPECT_TRUE(lpt.Passed());
    EXPECT_FALSE(lpt.status);

    // The wizard's and the clean button's checks: usable and not at work.
    const TActionCheckSet light = TActionCheckSet::UsableNotBusy();
    EXPECT_TRUE(Check("Queued", light).Passed());
    EXPECT_TRUE(Check("NoBox", light).Passed());
    EXPECT_EQ(Check("Busy", light).refusal, TActionRefusal::PrinterAtWork);
    EXPECT_EQ(Check("Missing", light).refusal, TActionRefusal::PrinterNotUsable);
}

TEST_F(InkCoreTest, StatusWaitEndsWithTheCleaningOrRunsOut) {
    m_Builder.Device("long", "USB002", "MFG:Talvenor;MDL:Ink;").Set("CleanMs", "2000000");
    m_Builder.Printer("Long", "USB002").Set("Device", "long");
    m_Builder.Printer("Parallel", "LPT1").Set("Device", "ink");
    StartEmulator();
    TUSBPrinterPort port(true);
    TClock& clock = Platform().Clock();

    ASSERT_TRUE(SendInkCommand(kHeadCleaningCommand));
    const std::uint64_t start = clock.NowMs();
    const TStatusWait twenty = WaitWhileStatus(&port, "USB001", kStatusCleaning);
    EXPECT_FALSE(twenty.bTimedOut);
    EXPECT_EQ(twenty.passes, 20);
    EXPECT_EQ(twenty.lastStatus, 0x00);
    EXPECT_EQ(clock.NowMs() - start, 20000u);

    // A port without a status byte: one pass.
    const TStatusWait lpt = WaitWhileStatus(&port, "LPT1", kStatusCleaning);
    EXPECT_EQ(lpt.passes, 1);
    EXPECT_FALSE(lpt.bTimedOut);

    // Still cleaning after 901 passes: the wait runs out and says so.
    g_PrinterName = "Long";
    ASSERT_TRUE(SendInkCommand(kHeadCleaningCommand));
    const TStatusWait out = WaitWhileStatus(&port, "USB002", kStatusCleaning);
    EXPECT_TRUE(out.bTimedOut);
    EXPECT_EQ(out.passes, kStatusWaitPasses);
    EXPECT_EQ(out.lastStatus, kStatusCleaning);
}

TEST_F(InkCoreTest, PatternFilesAreWrittenWholeAndHalfAFileIsNeverRead) {
    StartEmulator();
    const std::string folder = NozzlePatternFolder();
    EXPECT_EQ(std::filesystem::path(folder).parent_path().filename(), "printer-settings");
    const auto paths = WriteNozzlePatternFiles();
    for (std::size_t i = 0; i < kNozzlePatterns.size(); ++i) {
        EXPECT_EQ(paths[i], folder + kNozzlePatterns[i].fileName);
        const auto bytes = ReadNozzlePatternFile(paths[i], kNozzlePatterns[i].resource);
        ASSERT_TRUE(bytes);
        const auto data = NozzlePatternData(kNozzlePatterns[i].resource);
        EXPECT_TRUE(std::equal(bytes->begin(), bytes->end(), data.begin(), data.end()));
    }
    // No temporary file is left beside them.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder),
                            std::filesystem::directory_iterator()),
              6);
    // Cut short or grown: refused.
    std::filesystem::resize_file(paths[0], 100);
    EXPECT_FALSE(ReadNozzlePatternFile(paths[0], "HoleCheck6A3C"));
    std::ofstream(paths[4], std::ios::app) << "x";
    EXPECT_FALSE(ReadNozzlePatternFile(paths[4], "HoleCheck4D00"));
    std::filesystem::remove(paths[5]);
    EXPECT_FALSE(ReadNozzlePatternFile(paths[5], "HoleCheck7D05"));
}

TEST_F(InkCoreTest, TestPrintIsSentOnlyWhenTheSpoolerTookAllOfIt) {
    m_Builder.Printer("Short", "USB001").Set("Device", "ink").Set("JobFault", "ShortWrite");
    StartEmulator();
    const std::uint8_t data[] = {0x1B, 0x40, 'A', 'B', 0x0C, 0x1B};
    EXPECT_TRUE(SendTestPrintJob("Ink", data, sizeof data));
    EXPECT_FALSE(SendTestPrintJob("Short", data, sizeof data));
    const auto log = m_Builder.CommandLog("ink");
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0], "job Print test 1B 40 41 42 0C 1B");
    EXPECT_EQ(log[1], "job Print test 1B 40 41");
}

}  // namespace
}  // namespace ps
