// SPDX-License-Identifier: MIT
// printer-settings run whole against emulation directories: the file-only run modes and the
// ways start-up ends early.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>

#include "ProgramRunner.h"
#include "support/EmulationDirBuilder.h"
#include "support/TestSupport.h"

namespace ps::test {
namespace {

namespace fs = std::filesystem;

// Base page of four items: an ENUM, one the printer does not know, a SERIAL with a
// millimetre suffix and a three-byte flag item.
std::string SchemeText(int menuVersion, bool withUnknownItem = true) {
    std::string text =
        "[GlobalSettings]\r\nPrinterName=Talvenor Test\r\nMenuVersion=" +
        std::to_string(menuVersion) +
        "\r\nTimeOutPage=800\r\n"
        "[BaseItemME]\r\nName=Base\r\nIcon=100_SETTINGS\r\nTitle.EN=Base\r\n"
        "[BaseSection]\r\nItemCount=" +
        std::string(withUnknownItem ? "4" : "3") +
        "\r\n"
        "[BaseItem01]\r\nName=Quiet\r\nGetInstruction=10\r\nSetInstruction=1B 1D 1E 05 04 10\r\n"
        "RuleType=ENUM\r\nRule.EN=0=Off,1=On\r\n";
    int n = 2;
    if (withUnknownItem) {
        text +=
            "[BaseItem02]\r\nName=Feed\r\nGetInstruction=11\r\nSetInstruction=1B 1D 1E 05 04 11\r\n"
            "RuleType=ENUM\r\nRule.EN=0=Auto,1=Manual\r\n";
        n = 3;
    }
    text += "[BaseItem0" + std::to_string(n) +
            "]\r\nName=Tear\r\nGetInstruction=12\r\nSetInstruction=1B 1D 1E 05 04 12\r\n"
            "RuleType=SERIAL\r\nRule.EN=Min=0,Max=30,Step=1,DisplayAdd=0,mmMultiply=0.423333,"
            "Title=/60 inch\r\n";
    text += "[BaseItem0" + std::to_string(n + 1) +
            "]\r\nName=Sensors\r\nGetInstruction=13\r\nSetInstruction=1B 1D 1E 05 04 13\r\n"
            "ParameterCount=3\r\nRuleType=ENUM\r\nRule.EN=1=Paper,2=Cover,3=Edge\r\n";
    return text;
}

// Base page of seven items with one-, two- and three-byte values, to show first values.
std::string ValuesSchemeText() {
    struct TItem {
        const char* name;
        const char* code;
        int bytes;
        const char* rule;
    };
    const TItem items[] = {
        {"Quiet", "11", 1, "RuleType=ENUM\r\nRule.EN=0=Off,1=On"},
        {"Pitch", "23", 1, "RuleType=SERIAL\r\nRule.EN=Min=0,Max=10,Step=1,DisplayAdd=0,Title=cpi"},
        {"Beep", "0C", 1, "RuleType=ENUM\r\nRule.EN=0=Off,1=On"},
        {"Offset", "2E", 2,
         "RuleType=SERIAL\r\nRule.EN=Min=-500,Max=500,Step=1,DisplayAdd=0,Title=dots"},
        {"Adjust", "4A", 1,
         "RuleType=SERIAL\r\nRule.EN=Min=-64,Max=63,Step=1,DisplayAdd=0,Title=steps"},
        {"Sensors", "5C", 3, "RuleType=ENUM\r\nRule.EN=1=Paper,2=Cover,3=Edge,4=Skew"},
        {"Mode", "61", 1, "RuleType=ENUM\r\nRule.EN=0=A,7=Seven"}};
    std::string text =
        "[GlobalSettings]\r\nPrinterName=Talvenor Test\r\nMenuVersion=0\r\nTimeOutPage=800\r\n"
        "[BaseItemME]\r\nName=Base\r\nIcon=100_SETTINGS\r\nTitle.EN=Base\r\n"
        "[BaseSection]\r\nItemCount=7\r\n";
    int n = 0;
    for (const TItem& item : items) {
        text += "[BaseItem0" + std::to_string(++n) + "]\r\nName=" + item.name +
                "\r\nGetInstruction=" + item.code + "\r\nSetInstruction=1B 1D 1E 05 04 " +
                item.code + "\r\nParameterCount=" + std::to_string(item.bytes) + "\r\n" +
                item.rule + "\r\n";
    }
    return text;
}

// The report lines of ValuesSchemeText() for the first values
// 11:1,23:6,0C:0,2E:-300,4A:-56,5C:11534337,61:7 (5C is 0xB00001: flags 1, 3 and 4 of the
// four, bit 0 names none).
constexpr const char* kValuesReportItems =
    "0 = Current :On\r\n"
    "1 = Current :6cpi\r\n"
    "2 = Current :Off\r\n"
    "3 = Current :-300dots\r\n"
    "4 = Current :-56steps\r\n"
    "5 = Current :1, 3, 4\r\n"
    "6 = Current :Seven\r\n";

// The item lines of a values report (after its time line).
std::string ReportItems(const std::string& report) {
    const std::size_t time = report.find("\r\nTime = ");
    if (time == std::string::npos) return "no report: " + report;
    return report.substr(report.find("\r\n", time + 2) + 2);
}

class StartUpE2E : public ::testing::Test {
protected:
    StartUpE2E() : m_Builder(m_Dir.Path()) {
        m_Builder.Kernel("LangId", "0x0409").VirtualClock();
        m_Dir.Write("drivers/3/Test_Settings.Dat", SchemeText(0));
        m_Dir.Write("device.dat", SchemeText(0, false));
    }

    TEmulationDirBuilder::TSection& UsbPrinter(const std::string& name, const std::string& port,
                                               const std::string& device) {
        m_Builder.Device(device, port, "MFG:Talvenor;MDL:Test;")
            .Set("Scheme", "device.dat")
            .Set("Values", "10=1,12=12,13=0");
        return m_Builder.Printer(name, port)
            .Set("DriverName", "Talvenor Test")
            .Set("DependentFiles", "drivers/3/Test_Settings.Dat")
            .Set("Device", device);
    }

    TProgramResult Run(const std::vector<std::string>& args) {
        m_Builder.Write();
        return RunProgram(PRINTER_SETTINGS_BIN, args,
                          {{"PRINTER_SETTINGS_EMULATION", m_Dir.Path().string()}});
    }

    fs::path CacheBase(const std::string& fileName) const {
        return m_Dir.Path() / "temp" / "Talvenor Printer" / fileName;
    }

    TTempDir m_Dir;
    TEmulationDirBuilder m_Builder;
};

TEST_F(StartUpE2E, ValuesReportListsEveryItemOfTheBasePage) {
    // A USB printer without a model ahead in the library's list must not take the read.
    m_Builder.Device("bare", "USB000", "MFG:Talvenor;CMD:ESC;");
    UsbPrinter("Talvenor Test", "USB001", "dev");
    // The moment is the machine's local time with the user's separators.
    m_Builder.Section("Clock").Set("LocalTime", "2024-05-01 13:02:00").Set("DateSeparator", "-");
    auto result = Run({"Talvenor Test", "101"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.err, "");
    const std::string report = ReadFileBytes(CacheBase("Talvenor Test"));
    ASSERT_EQ(report.rfind("[CurrentValues]\r\nTime = 5-1-2024 1:02:", 0), 0u) << report;
    EXPECT_EQ(report.find(" PM\r\n"), 40u) << report;
    const std::string items = report.substr(report.find("\r\n", 20) + 2);
    EXPECT_EQ(items,
              "0 = Current :On\r\n"
              "1 = \r\n"
              "2 = Current :12/60 inch\t \r\n"
              "3 = Current :No\r\n");
    // The read went to the printer as one page command over USB.
    auto log = m_Builder.CommandLog("dev");
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.back(), "usb 1B 1D 1E 05 03 04 10 11 12 13 1B 1D 1F");
}

TEST_F(StartUpE2E, FirstValuesInEitherFormReachTheReport) {
    m_Dir.Write("drivers/3/Test_Settings.Dat", ValuesSchemeText());
    m_Dir.Write("device.dat", ValuesSchemeText());
    const std::string colon = "11:1,23:6,0C:0,2E:-300,4A:-56,5C:11534337,61:7";
    std::string equals = colon;
    std::replace(equals.begin(), equals.end(), ':', '=');
    UsbPrinter("Colon", "USB001", "colon");
    m_Builder.Device("colon").Set("Values", colon);
    UsbPrinter("Equals", "USB002", "equals");
    m_Builder.Device("equals").Set("Values", equals);
    for (const std::string name : {"Colon", "Equals"}) {
        auto result = Run({name, "101"});
        ASSERT_EQ(result.exitCode, 0) << name << result.err;
        EXPECT_EQ(result.err, "") << name;
        EXPECT_EQ(ReportItems(ReadFileBytes(CacheBase(name))), kValuesReportItems) << name;
    }
}

TEST_F(StartUpE2E, EveryMistakeInTheEmulationFileIsReportedAtStart) {
    m_Dir.Write("drivers/3/Test_Settings.Dat", ValuesSchemeText());
    m_Dir.Write("device.dat", ValuesSchemeText());
    // One mistake of each kind; the printer "Talvenor Test" must still give its report.
    m_Dir.Write("emulation.ini", R"(stray=1
[Spooler]
DriverDir=elsewhere
[Kernel]
LangId=0x0409
SessionId=one
[Clock]
Virtual=1
Speed=fast
[Clocks]
Speed=2
[Printer:Talvenor Test]
Port=USB001
DriverName=Talvenor Test
DependentFiles=drivers/3/Test_Settings.Dat
Device=dev
WorkOffline=yes
Mute=yes
JobFault=Sometimes
Data.TimeData=1 3Z
[printer:talvenor test]
Port=USB009
[Printer:Other]
Port=USB002
Device=devv
[Device:dev]
UsbPort=USB001
DeviceId=MFG:Talvenor;MDL:Test;
Scheme=device.dat
Values=11:1,23:6,0C=0,2E:-300,4A:-56,5C:11534337,61:7,4A-3
ReplyDelayMs=5O
Mute=yes
mute=1
StatusByte=0x100
CleanMs=soon
Colour=red
[Device:lost]
Scheme=missing.dat
)");
    auto result = RunProgram(PRINTER_SETTINGS_BIN, {"Talvenor Test", "101"},
                             {{"PRINTER_SETTINGS_EMULATION", m_Dir.Path().string()}});
    EXPECT_EQ(result.err,
              "emulation.ini: [Spooler] DriverDir=elsewhere: unknown key; ignored\n"
              "emulation.ini: [Kernel] SessionId=one: not a number; keeps 1\n"
              "emulation.ini: [Clock] Speed=fast: not a number above 0; keeps 1\n"
              "emulation.ini: [Printer:Talvenor Test] WorkOffline=yes: not a flag (0 or 1); "
              "keeps 0\n"
              "emulation.ini: [Printer:Talvenor Test] JobFault=Sometimes: not None, StartDoc, "
              "StartPage or Write; keeps None\n"
              "emulation.ini: [Printer:Talvenor Test] Data.TimeData=1 3Z: not a type and hex "
              "bytes (1 32003000); ignored\n"
              "emulation.ini: [Printer:Talvenor Test] Mute=yes: unknown key; ignored\n"
              "emulation.ini: [printer:talvenor test]: a second section of this printer; "
              "ignored\n"
              "emulation.ini: [Device:dev] Values entry \"4A-3\": neither CODE:VALUE nor "
              "CODE=VALUE (hex code, decimal value); skipped\n"
              "emulation.ini: [Device:dev] ReplyDelayMs=5O: not a number; keeps 0\n"
              "emulation.ini: [Device:dev] Mute=yes: not a flag (0 or 1); keeps 0\n"
              "emulation.ini: [Device:dev] StatusByte=0x100: not from 0 to 255; keeps 0\n"
              "emulation.ini: [Device:dev] CleanMs=soon: not a number; keeps 8000\n"
              "emulation.ini: [Device:dev] Colour=red: unknown key; ignored\n"
              "emulation.ini: [Device:dev] mute=1: repeated key; the first Mute counts\n"
              "emulation.ini: [Device:lost] Scheme=missing.dat: no such file; the printer "
              "knows no items\n"
              "emulation.ini: stray=1 (before any section): unknown key; ignored\n"
              "emulation.ini: [Clocks]: unknown section; ignored\n"
              "emulation.ini: [Printer:Other] Device=devv: no [Device:devv] section; nothing "
              "answers\n");
    // Everything understood is in force: the printer is on-line, its device answers with the
    // first values that could be read.
    ASSERT_EQ(result.exitCode, 0);
    EXPECT_EQ(ReportItems(ReadFileBytes(CacheBase("Talvenor Test"))), kValuesReportItems);
}

TEST_F(StartUpE2E, NoReportWhereThePageCannotBeRead) {
    UsbPrinter("Network", "VODAV_10.0.0.7", "net");
    UsbPrinter("Offline", "USB001", "off").Set("WorkOffline", "1");
    UsbPrinter("Mute", "USB002", "mute");
    m_Builder.Device("mute").Set("Mute", "1");
    for (const std::string name : {"Network", "Offline", "Mute"}) {
        m_Dir.Write("temp/Talvenor Printer/" + name, "old report");
        auto result = Run({name, "101"});
        EXPECT_EQ(result.exitCode, 2) << name;
        EXPECT_EQ(result.err, "") << name;  // no message, no window
        EXPECT_FALSE(fs::exists(CacheBase(name))) << name << ": the old report must go";
    }
}

TEST_F(StartUpE2E, MenuDownloadGivesTheSameMenuInlineAndSeparate) {
    const std::string menu = SchemeText(0);
    m_Dir.Write("menu.dat", menu);
    m_Dir.Write("drivers/3/Test_Settings.Dat", SchemeText(1));
    for (const std::string transfer : {"inline", "separate"}) {
        const std::string name = "Inkjet " + transfer;
        UsbPrinter(name, transfer == "inline" ? "USB001" : "USB002", transfer)
            .Set("Device", transfer);
        m_Builder.Device(transfer)
            .Set("Menu", "menu.dat")
            .Set("MenuTransfer", transfer)
            .Set("ModelName", "QJ-760");
        auto result = Run({name, "102"});
        ASSERT_EQ(result.exitCode, 0) << result.err;
        EXPECT_EQ(ReadFileBytes(CacheBase(name + ".DAT")), menu) << transfer;
        EXPECT_NE(ReadFileBytes(CacheBase(name + ".ini")).find("PrinterName=QJ-760"),
                  std::string::npos);
    }
}

TEST_F(StartUpE2E, MenuRefreshWithoutAMenuLeavesNoStaleFile) {
    m_Dir.Write("drivers/3/Test_Settings.Dat", SchemeText(1));
    UsbPrinter("Inkjet", "USB001", "dev");  // the device serves no menu: T = 0
    m_Dir.Write("temp/Talvenor Printer/Inkjet.DAT", SchemeText(0));
    auto result = Run({"Inkjet", "102"});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_NE(result.err.find("Error: Printer communication error"), std::string::npos)
        << result.err;
    EXPECT_FALSE(fs::exists(CacheBase("Inkjet.DAT")));
    // Nothing but the per-printer files and the devices' locks was left in the cache folder (no
    // temporaries).
    for (const auto& entry : fs::directory_iterator(CacheBase("").parent_path())) {
        if (entry.path().filename() == "locks") continue;
        EXPECT_EQ(entry.path().filename().string().rfind("Inkjet", 0), 0u) << entry.path();
    }
}

TEST_F(StartUpE2E, StartEndsWhenTheMenuCannotBeHad) {
    m_Dir.Write("drivers/3/Test_Settings.Dat", SchemeText(1));
    UsbPrinter("Inkjet", "USB001", "dev");
    m_Builder.Device("dev").Set("Mute", "1");
    auto result = Run({"Inkjet", "0"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err.find("[error] Error: Printer communication error, please make sure"),
              std::string::npos)
        << result.err;
    EXPECT_EQ(result.err.find("not available"), std::string::npos);  // no window either
}

TEST_F(StartUpE2E, QueuedJobsEndTheStart) {
    UsbPrinter("Busy", "USB001", "dev").Set("QueuedJobs", "2");
    // A queue that cannot be listed may hold jobs as well.
    UsbPrinter("Unlisted", "USB002", "dev2").Set("JobFault", "JobList");
    for (const std::string printer : {"Busy", "Unlisted"}) {
        auto result = Run({printer, "101"});
        EXPECT_EQ(result.exitCode, 1) << printer;
        EXPECT_NE(result.err.find("[error] Information: There are some print task in driver"),
                  std::string::npos)
            << printer << ": " << result.err;
        EXPECT_FALSE(fs::exists(CacheBase(printer))) << printer;
    }
}

TEST_F(StartUpE2E, RunModesAndMenuVersions) {
    UsbPrinter("Talvenor Test", "USB001", "dev");
    // 356 keeps its low 8 bits: run mode 100, the main window.
    auto main = Run({"Talvenor Test", "356"});
    EXPECT_EQ(main.exitCode, 3);
    EXPECT_NE(main.err.find("main window is not available"), std::string::npos) << main.err;
    auto item = Run({"Talvenor Test", "1", "2"});
    EXPECT_EQ(item.exitCode, 3);
    EXPECT_NE(item.err.find("item setting dialog is not available"), std::string::npos);

    m_Dir.Write("drivers/3/Test_Settings.Dat", SchemeText(2));
    auto unsupported = Run({"Talvenor Test", "101"});
    EXPECT_EQ(unsupported.exitCode, 1);
    EXPECT_NE(unsupported.err.find("\xE5\xBD\x93\xE5\x89\x8D\xE7\x89\x88\xE6\x9C\xAC"
                                   "\xE3\x80\x90"
                                   "2\xE3\x80\x91"),
              std::string::npos)
        << unsupported.err;
}

TEST_F(StartUpE2E, MistypedEmulationDirectoryStopsAtOnce) {
    auto result = RunProgram(PRINTER_SETTINGS_BIN, {"Talvenor Test", "101"},
                             {{"PRINTER_SETTINGS_EMULATION", (m_Dir.Path() / "nope").string()}});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err.find("holds no emulation.ini"), std::string::npos) << result.err;
    EXPECT_EQ(result.err.find("[waiting]"), std::string::npos);
}

TEST_F(StartUpE2E, NativeRunKeepsItsFilesInAPrivateFolderAndRefusesAPlantedLink) {
    // The machine's own platform: TMPDIR decides where the private folder goes.
    const std::map<std::string, std::string> native = {{"PRINTER_SETTINGS_EMULATION", ""},
                                                       {"XDG_RUNTIME_DIR", ""},
                                                       {"TMPDIR", m_Dir.Path().string()}};
    const fs::path folder = m_Dir.Path() / ("printer-settings-" + std::to_string(::geteuid()));
    RunProgram(PRINTER_SETTINGS_BIN, {"Talvenor Test", "101"}, native);
    ASSERT_TRUE(fs::is_directory(folder));
    EXPECT_FALSE(fs::is_symlink(folder));
    EXPECT_EQ(fs::status(folder).permissions() & fs::perms::all, fs::perms::owner_all);
    EXPECT_TRUE(fs::is_directory(folder / "Talvenor Printer"));

    // A link planted at the folder's name: start-up says why and stops, and writes nothing
    // where the link points.
    fs::remove_all(folder);
    const fs::path planted = m_Dir.Path() / "planted";
    fs::create_directory(planted);
    fs::create_directory_symlink(planted, folder);
    auto refused = RunProgram(PRINTER_SETTINGS_BIN, {"Talvenor Test", "101"}, native);
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.err.find(folder.string() + "\" is a symbolic link"), std::string::npos)
        << refused.err;
    EXPECT_TRUE(fs::is_empty(planted));
}

TEST_F(StartUpE2E, PrinterNamesNeverLeaveTheCacheFolder) {
    for (const std::string name : {"\\\\server\\queue", "../../escape"}) {
        UsbPrinter(name, "USB001", "dev");
        auto result = Run({name, "101"});
        EXPECT_EQ(result.exitCode, 0) << name << result.err;
    }
    EXPECT_TRUE(fs::exists(CacheBase("%5C%5Cserver%5Cqueue")));
    EXPECT_TRUE(fs::exists(CacheBase("..%2F..%2Fescape")));
    EXPECT_FALSE(fs::exists(m_Dir.Path() / "escape"));
    EXPECT_FALSE(fs::exists(m_Dir.Path() / "temp" / "escape"));
}

}  // namespace
}  // namespace ps::test
