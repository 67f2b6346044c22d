// SPDX-License-Identifier: MIT
// Setting items by page and name, values named by title or number, reads of chosen items and
// writes of several values in one enter/save bracket, against the printer emulator.
#include <gtest/gtest.h>

#include "base/IniFile.h"
#include "batch/RuleLookup.h"
#include "batch/SettingBatch.h"
#include "localisation/Scheme.h"
#include "printer/Globals.h"
#include "scheme/Scheme3.h"
#include "support/EmulationFixture.h"

namespace ps {
namespace {

// Base: an ENUM in two languages, a two-byte SERIAL with millimetres, three flags and an ink
// function; advanced: one ENUM the printer's own scheme lacks.
std::string SchemeText(bool printerSide, const std::string& globals = {}) {
    std::string text =
        "[GlobalSettings]\r\n" + globals +
        "PrinterName=Test TP-2\r\nMenuVersion=0\r\nSleepBeforeRead=30\r\n"
        "[BaseSection]\r\nItemCount=4\r\n"
        "[BaseItem01]\r\nName=Quality\r\nGetInstruction=11\r\nSetInstruction=1B 1D 1E 05 04 11\r\n"
        "RuleType=ENUM\r\nRule.EN=0=Draft,1=Letter quality\r\nRule.CN=0=草稿,1=高质量\r\n"
        "[BaseItem02]\r\nName=Offset\r\nGetInstruction=21\r\nSetInstruction=1B 1D 1E 05 04 21\r\n"
        "ParameterCount=2\r\nRuleType=SERIAL\r\n"
        "Rule.EN=Min=-300,Max=300,Step=10,DisplayAdd=0,mmMultiply=0.1,Title=dots\r\n"
        "[BaseItem03]\r\nName=Sensors\r\nGetInstruction=2E\r\nSetInstruction=1B 1D 1E 05 04 2E\r\n"
        "ParameterCount=3\r\nRuleType=ENUM\r\nRule.EN=1=Paper,2=Cover,3=Edge\r\n"
        "[BaseItem04]\r\nName=Ink_Clean\r\nIcon=Ink_Clean\r\nGetInstruction=60\r\n"
        "SetInstruction=1B 1D 1E 05 04 60\r\nRuleType=ENUM\r\nRule.EN=0=Clean\r\n";
    if (!printerSide)
        text +=
            "[AdvanceSection]\r\nItemCount=1\r\n"
            "[AdvanceItem01]\r\nName=Pitch\r\nGetInstruction=23\r\n"
            "SetInstruction=1B 1D 1E 05 04 23\r\nRuleType=ENUM\r\nRule.EN=0=10 cpi,1=12 cpi\r\n";
    return text;
}

constexpr TItemRef kQuality{kPageBase, 0}, kOffset{kPageBase, 1}, kSensors{kPageBase, 2},
    kPitch{kPageAdvance, 0};

class SettingBatchTest : public test::TEmulatedCoreTest {
protected:
    SettingBatchTest() {
        m_Dir.Write("device.ini", SchemeText(true));
        m_Builder.Device("tp", "USB001", "MFG:Talvenor;MDL:TP-2;")
            .Set("Scheme", "device.ini")
            .Set("Values", "11=1, 21=-300, 2E=0");
        m_Builder.Printer("Usb", "USB001").Set("Device", "tp");
        m_Builder.Printer("Parallel", "LPT1").Set("Device", "tp");
        g_GlobalString = BuiltInGlobalStrings();
        g_PrinterIniFile = (m_Dir.Path() / "printer.ini").string();
    }
    TSchemeOptions2& Start(const std::string& printer, const std::string& globals = {}) {
        StartEmulator();
        g_PrinterName = printer;
        m_strMenu = m_Dir.Write("program.ini", SchemeText(false, globals)).string();
        g_SchemeOptions = std::make_unique<TSchemeOptions2>();
        g_SchemeOptions->LoadFromFile(m_strMenu);
        g_SchemeOptions->LoadPrinterMenu(m_strMenu);
        return *g_SchemeOptions;
    }
    std::optional<std::int32_t> Lookup(const TItemRef& ref, std::string_view text) {
        const TIniFile menu = TIniFile::FromFile(m_strMenu);
        return RuleValueFromText(*g_SchemeOptions, ref, &menu, text);
    }
    std::vector<std::string> Log() { return m_Builder.CommandLog("tp"); }
    std::string m_strMenu;
};

TEST_F(SettingBatchTest, SettingItemsPagesAndRules) {
    auto& scheme = Start("Usb");
    // The ink function holds no value; pages list in their order, base first.
    EXPECT_EQ(SettingItems(scheme), (std::vector<TItemRef>{kQuality, kOffset, kSensors, kPitch}));
    EXPECT_EQ(SettingItems(scheme, kPageBaseReport).size(), 3u);
    EXPECT_EQ(PageFromText("Base"), kPageBase);
    EXPECT_EQ(PageFromText("101"), kPageBase);
    EXPECT_EQ(PageFromText("subgroup64"), kPageSubGroup64);
    EXPECT_EQ(PageFromText("5"), std::nullopt);
    EXPECT_EQ(PageFromText("0x64"), std::nullopt);
    EXPECT_EQ(PageName(kPageBaseItem), "base");

    TSettingItem sensors, offset;
    scheme.GetItem(kPageBase, 2, sensors);
    scheme.GetItem(kPageBase, 1, offset);
    EXPECT_TRUE(ValueInRule(sensors, 0xA00000));  // flags 1 and 3
    EXPECT_TRUE(ValueInRule(sensors, 0));
    EXPECT_FALSE(ValueInRule(sensors, 0x100000));  // a fourth flag the rule does not name
    EXPECT_TRUE(ValueInRule(offset, -300));
    EXPECT_FALSE(ValueInRule(offset, -295));  // between two steps
}

TEST_F(SettingBatchTest, ValuesByTitleInAnyLanguageOrByNumber) {
    Start("Usb");
    EXPECT_EQ(Lookup(kQuality, "letter QUALITY"), 1);
    EXPECT_EQ(Lookup(kQuality, " 草稿 "), 0);  // a title of the other language
    EXPECT_EQ(Lookup(kQuality, "1"), 1);
    EXPECT_EQ(Lookup(kQuality, "2"), std::nullopt);
    EXPECT_EQ(Lookup(kQuality, "Best"), std::nullopt);
    // The millimetre suffix may be left out; a number must lie on a step.
    EXPECT_EQ(Lookup(kOffset, "-300dots"), -300);
    EXPECT_EQ(Lookup(kOffset, "0x14"), 20);
    EXPECT_EQ(Lookup(kOffset, "25"), std::nullopt);
    // Flags by their titles joined by "+", or the mask.
    EXPECT_EQ(Lookup(kSensors, "Paper + edge"), 0xA00000);
    EXPECT_EQ(Lookup(kSensors, "Paper+Skew"), std::nullopt);
    EXPECT_EQ(Lookup(kSensors, "12582912"), 0xC00000);
    EXPECT_EQ(Lookup(kSensors, "3"), std::nullopt);  // bits that name no flag
    EXPECT_EQ(Lookup(kPitch, "12 CPI"), 1);
}

TEST_F(SettingBatchTest, OneBracketConfirmedByPageReadOverUsb) {
    auto& scheme = Start("Usb");
    const std::vector<TBatchValue> values = {{kQuality, 0}, {kOffset, -20}, {kSensors, 0xA00000}};
    EXPECT_EQ(BatchWriteCommandOf(scheme, values),
              "1B 1D 1E 05 01 1B 1D 1F 1B 1D 1E 05 04 11 00 1B 1D 1F 1B 1D 1E 05 04 21 14 80 "
              "1B 1D 1F 1B 1D 1E 05 04 2E A0 00 00 1B 1D 1F 1B 1D 1E 05 02 1B 1D 1F");
    // One value is exactly the item dialog's write.
    TSettingItem quality;
    scheme.GetItem(kPageBase, 0, quality);
    EXPECT_EQ(BatchWriteCommandOf(scheme, {{kQuality, 1}}), scheme.WriteCommandOf(quality, 1));

    std::vector<std::size_t> progress;
    const auto results = WriteValuesAndConfirm(
        scheme, values, ChooseReadRoute("Usb"),
        [&](std::size_t done, std::size_t total) { progress.push_back(done * 10 + total); });
    ASSERT_EQ(results.size(), 3u);
    for (const TBatchItemResult& r : results) EXPECT_EQ(r.outcome, TWriteOutcome::Confirmed);
    EXPECT_EQ(results[1].readBack, -20);
    EXPECT_EQ(progress, (std::vector<std::size_t>{11}));  // one page read for all three
    const auto log = Log();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0], "monitor " + BatchWriteCommandOf(scheme, values));
    EXPECT_EQ(log[1], "usb 1B 1D 1E 05 03 04 11 21 2E 60 1B 1D 1F");
    EXPECT_NE(test::ReadFileBytes(m_Builder.DeviceDir("tp") / "state.ini").find("21=-20"),
              std::string::npos);

    // A value its width cannot carry stops the batch before anything is sent.
    EXPECT_THROW(
        WriteValuesAndConfirm(scheme, {{kQuality, 1}, {kOffset, 40000}}, ChooseReadRoute("Usb")),
        EConvertError);
    EXPECT_EQ(Log().size(), 2u);
}

TEST_F(SettingBatchTest, PrinterThatStopsAnsweringIsAskedOnceAndLeftSaved) {
    // Single reads through the port monitor; the printer answers one read-back, then no more.
    m_Builder.Device("tp").Set("MuteAfterReplies", "1");
    auto& scheme = Start("Parallel");
    const auto results = WriteValuesAndConfirm(
        scheme, {{kQuality, 0}, {kOffset, 100}, {kSensors, 0x400000}}, ChooseReadRoute("Parallel"));
    ASSERT_EQ(results.size(), 3u);
    EXPECT_EQ(results[0].outcome, TWriteOutcome::Confirmed);
    EXPECT_EQ(results[1].outcome, TWriteOutcome::NotConfirmed);
    EXPECT_FALSE(results[1].readBack);
    EXPECT_EQ(results[2].outcome, TWriteOutcome::NotConfirmed);
    // The write, the answered read and the one unanswered: the third is never asked.
    const auto log = Log();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[1], "monitor 1B 1D 1E 05 03 01 11 1B 1D 1F");
    EXPECT_EQ(log[2], "monitor 1B 1D 1E 05 03 01 21 1B 1D 1F");
    // The bracket ended with its save: every value was committed, none is left pending.
    const std::string events = test::ReadFileBytes(m_Builder.DeviceDir("tp") / "events.log");
    EXPECT_NE(events.find("save: 3 value(s) committed"), std::string::npos) << events;
    EXPECT_GT(events.rfind("save:"), events.rfind("enter setting mode"));
}

TEST_F(SettingBatchTest, OutcomesWithoutAPortMonitorAndWithReadBackSwitchedOff) {
    m_Builder.Printer("NoMonitor", "LPT1").Set("Device", "tp").Set("Monitor", "0");
    auto& scheme = Start("NoMonitor");
    auto results = WriteValuesAndConfirm(scheme, {{kQuality, 0}}, ChooseReadRoute("NoMonitor"));
    EXPECT_EQ(results[0].outcome, TWriteOutcome::SendFailed);
    EXPECT_TRUE(Log().empty());

    // A printer that never answers, with confirmation switched off by the scheme.
    m_Builder.Device("tp").Set("Mute", "1");
    auto& quiet = Start("Parallel", "AffirmReadDisable=1\r\n");
    results = WriteValuesAndConfirm(quiet, {{kQuality, 0}}, ChooseReadRoute("Parallel"));
    EXPECT_EQ(results[0].outcome, TWriteOutcome::Confirmed);
    EXPECT_FALSE(results[0].readBack);
}

TEST_F(SettingBatchTest, ReadingChosenItems) {
    auto& scheme = Start("Parallel");
    // Single reads: the printer's scheme lacks Pitch, which it answers without a value.
    auto readings = ReadItemValues(scheme, {kPitch, kOffset}, ChooseReadRoute("Parallel"));
    EXPECT_EQ(readings[0].status, TReadStatus::Absent);
    EXPECT_EQ(readings[1].status, TReadStatus::Read);
    EXPECT_EQ(readings[1].value, -300);
    EXPECT_EQ(g_CurrentPage, kDefaultRunMode);  // the current item is left alone

    // Pages over USB: one read per page, in the order of the items.
    readings = ReadItemValues(scheme, {kPitch, kQuality}, ChooseReadRoute("Usb"));
    EXPECT_EQ(readings[0].status, TReadStatus::Absent);
    EXPECT_EQ(readings[1].value, 1);
    const auto log = Log();
    ASSERT_EQ(log.size(), 4u);
    EXPECT_EQ(log[2], "usb 1B 1D 1E 05 03 01 23 1B 1D 1F");
    EXPECT_EQ(log[3], "usb 1B 1D 1E 05 03 04 11 21 2E 60 1B 1D 1F");
}

}  // namespace
}  // namespace ps
