// SPDX-License-Identifier: MIT
// The scheme's value exchanges against the printer emulator: page reads through the worker,
// single-item reads and writes through the port monitor, raw commands by printer name, with
// the bytes the printer received checked in its commands.log.
#include <gtest/gtest.h>

#include <set>
#include <thread>

#include "base/IniWriter.h"
#include "base/Lib_String.h"
#include "localisation/Scheme.h"
#include "printer/Globals.h"
#include "printer/UtilPrinter.h"
#include "scheme/Scheme3.h"
#include "scheme/ValueCodec.h"
#include "support/EmulationFixture.h"
#include "transport/UtilDataSend.h"
#include "transport/WorkerThread.h"

namespace ps {
namespace {

// The program's scheme: five base items; `globals` come first, so they win. The printer's own
// scheme lacks item 40 and gives item 0C two value bytes where the program expects one.
std::string SchemeText(bool printerSide, const std::string& globals = {}) {
    std::string text =
        "[GlobalSettings]\r\n" + globals +
        "PrinterName=Test TP-1\r\nMenuVersion=0\r\nSleepBeforeRead=30\r\n"
        "TimeOutPage=3500\r\nReadOnLastFail=1\r\n"
        "[BaseSection]\r\nItemCount=" +
        (printerSide ? "4" : "5") +
        "\r\n"
        "[BaseItem01]\r\nName=Margin\r\nGetInstruction=0A\r\nSetInstruction=1B 1D 1E 00 0B\r\n"
        "ParameterCount=1\r\nDefault=2\r\n"
        "[BaseItem02]\r\nName=Offset\r\nGetInstruction=21\r\nSetInstruction=1B 1D 1E 00 22\r\n"
        "ParameterCount=2\r\nDefault=-5\r\n"
        "[BaseItem03]\r\nName=Sensors\r\nGetInstruction=2E\r\nSetInstruction=1B 1D 1E 00 2F\r\n"
        "ParameterCount=3\r\nDefault=0\r\n"
        "[BaseItem04]\r\nName=Narrow\r\nGetInstruction=0c\r\nSetInstruction=1B 1D 1E 00 0D\r\n"
        "ParameterCount=" +
        (printerSide ? "2" : "1") + "\r\nDefault=0\r\n";
    if (!printerSide)
        text +=
            "[BaseItem05]\r\nName=Unknown\r\nGetInstruction=40\r\nSetInstruction=1B 1D 1E 00 41"
            "\r\nParameterCount=1\r\nDefault=9\r\n";
    return text;
}

class ExchangeTest : public test::TEmulatedCoreTest {
protected:
    ExchangeTest() {
        m_Dir.Write("device.ini", SchemeText(true));
        m_Builder.Device("tp", "USB001", "MFG:Talvenor;MDL:TP-1;")
            .Set("Scheme", "device.ini")
            .Set("Values", "0A=-56, 21=-300, 2E=66051, 0C=1280");
        m_Builder.Printer("Inkjet", "USB001").Set("Device", "tp");
        m_Builder.Printer("Offline", "USB001").Set("Device", "tp").Set("WorkOffline", "1");
        m_Builder.Printer("Parallel", "LPT1").Set("Device", "tp");
        m_Builder.Printer("Guest", "USB001").Set("Device", "tp").Set("FullAccess", "0");
        g_GlobalString = BuiltInGlobalStrings();
        g_PrinterName = "Inkjet";
        g_PrinterIniFile = (m_Dir.Path() / "Inkjet.ini").string();
        g_CurrentPage = kPageBase;
    }
    TSchemeOptions2& Start(const std::string& globals = {}) {
        StartEmulator();
        auto path = m_Dir.Write("program.ini", SchemeText(false, globals)).string();
        g_SchemeOptions = std::make_unique<TSchemeOptions2>();
        g_SchemeOptions->LoadFromFile(path);
        g_SchemeOptions->LoadPrinterMenu(path);
        return *g_SchemeOptions;
    }
    std::vector<std::string> Log() { return m_Builder.CommandLog("tp"); }
    std::vector<std::int32_t> PageValues(TSchemeOptions2& scheme) {
        std::vector<std::int32_t> values;
        for (const TSettingItem& item : scheme.m_BaseItems) values.push_back(item.ValueCurrent);
        return values;
    }
    std::optional<std::int32_t> ReadItem(TSchemeOptions2& scheme, std::int32_t index) {
        g_CurrentItem = index;
        std::int32_t value = 12345;
        if (!scheme.GetItemValueFromPrinter(value)) return std::nullopt;
        return value;
    }
    bool WriteItem(TSchemeOptions2& scheme, std::int32_t index, std::int32_t value) {
        TSettingItem item;
        scheme.GetItem(kPageBase, index, item);
        TBytes command = SpacedHexToBytes(scheme.WriteCommandOf(item, value));
        std::int32_t noReply = 0;
        return PortMonitorExchange(g_PrinterName, command.data(),
                                   static_cast<std::int32_t>(command.size()), command.data(),
                                   noReply);
    }
};

TEST_F(ExchangeTest, PageReadThroughTheWorker) {
    auto& scheme = Start();
    const int index = FindUSBPrinterIndex("USB001");
    ASSERT_EQ(index, 0);
    ASSERT_TRUE(scheme.GetPrinterValues_ForPage(index, kPageBase));
    EXPECT_EQ(Log(), (std::vector<std::string>{"usb 1B 1D 1E 05 03 05 0A 21 2E 0C 40 1B 1D 1F"}));
    // One byte C8, two bytes 2C 81, three bytes 01 02 03, the one-byte item's second byte
    // alone, and the item the printer does not know.
    EXPECT_EQ(PageValues(scheme), (std::vector<std::int32_t>{-56, -300, 66051, 5, ValueAbsent}));
    EXPECT_EQ(TIniFile::FromFile(g_PrinterIniFile).ReadString("ReadPrinter", "Last", ""), "-1");
    EXPECT_EQ(m_pPlatform->OpenHandleCount(), 0u);
}

TEST_F(ExchangeTest, PageReplyIsAlignedOnTheReturnPrefix) {
    // Another frame and stray bytes come before the value reply.
    m_Builder.Device("tp").Set("NoiseHex", "00 1B 1D 1E 07 01 00 1B 1D 1F 05 03");
    auto& scheme = Start();
    ASSERT_TRUE(scheme.GetPrinterValues_ForPage(0, kPageBase));
    EXPECT_EQ(PageValues(scheme), (std::vector<std::int32_t>{-56, -300, 66051, 5, ValueAbsent}));

    // A reply without the prefix changes nothing.
    auto& other = Start("ReturnPrefix=1B 1D 1E 05 04\r\n");
    EXPECT_FALSE(other.GetPrinterValues_ForPage(0, kPageBase));
    EXPECT_EQ(PageValues(other), (std::vector<std::int32_t>{2, -5, 0, 0, 9}));
}

TEST_F(ExchangeTest, SingleItemsThroughThePortMonitor) {
    auto& scheme = Start();
    EXPECT_EQ(ReadItem(scheme, 0), -56);
    EXPECT_EQ(ReadItem(scheme, 1), -300);
    EXPECT_EQ(ReadItem(scheme, 2), 66051);
    EXPECT_EQ(ReadItem(scheme, 3), 5);
    // The printer answers item 40 with no entry: the exchange works, the value is not set.
    EXPECT_EQ(ReadItem(scheme, 4), 12345);
    EXPECT_FALSE(ReadItem(scheme, 5));  // no such item: nothing is sent
    auto log = Log();
    ASSERT_EQ(log.size(), 5u);
    EXPECT_EQ(log[0], "monitor 1B 1D 1E 05 03 01 0A 1B 1D 1F");
    EXPECT_EQ(log[4], "monitor 1B 1D 1E 05 03 01 40 1B 1D 1F");

    // Writes framed by enter and save, read back.
    ASSERT_TRUE(WriteItem(scheme, 0, -20));
    ASSERT_TRUE(WriteItem(scheme, 1, -5));
    ASSERT_TRUE(WriteItem(scheme, 2, 0xFC0001));
    log = Log();
    EXPECT_EQ(log[5],
              "monitor 1B 1D 1E 05 01 1B 1D 1F 1B 1D 1E 00 0B EC 1B 1D 1F 1B 1D 1E 05 02 1B 1D 1F");
    EXPECT_EQ(log[6],
              "monitor 1B 1D 1E 05 01 1B 1D 1F 1B 1D 1E 00 22 05 80 1B 1D 1F 1B 1D 1E 05 02 1B 1D "
              "1F");
    EXPECT_EQ(ReadItem(scheme, 0), -20);
    EXPECT_EQ(ReadItem(scheme, 1), -5);
    EXPECT_EQ(ReadItem(scheme, 2), 0xFC0001);

    // A GetInstruction that is not spaced hex stops the read before anything is sent.
    scheme.m_BaseItems[0].GetInstruction = "0A  ";
    g_CurrentItem = 0;
    std::int32_t value = 0;
    EXPECT_THROW(scheme.GetItemValueFromPrinter(value), EConvertError);
    EXPECT_EQ(Log().size(), log.size() + 3);
}

TEST_F(ExchangeTest, MonitorFaults) {
    // Bytes before the value reply (noise, the end of an earlier reply): its fixed offsets
    // hold no value, so the read fails rather than decode them.
    m_Builder.Device("tp").Set("NoiseHex", "0A 01 05 1B 1D 1F 00 01 2A");
    auto& noisy = Start();
    EXPECT_FALSE(ReadItem(noisy, 0));

    m_Builder.Device("tp").Set("NoiseHex", "").Set("Mute", "1");
    auto& scheme = Start();
    EXPECT_FALSE(ReadItem(scheme, 0));
    EXPECT_EQ(Log().size(), 2u);
    g_PrinterName = "Guest";  // no right to administer the printer: nothing reaches it
    EXPECT_FALSE(ReadItem(scheme, 0));
    EXPECT_EQ(Log().size(), 2u);
}

TEST_F(ExchangeTest, PrinterNameFormRefusesUnusablePrinters) {
    auto& scheme = Start();
    test::TScopedRecorder ui;
    std::vector<std::uint8_t> buffer(1024, 0);
    const std::string read0A = "1B 1D 1E 05 03 01 0A 1B 1D 1F";
    std::int32_t nRead = 1024;
    EXPECT_FALSE(scheme.DoWriteAndReadPrinter("Offline", read0A, buffer.data(), 1023, nRead, true,
                                              false, 0, true));
    EXPECT_FALSE(scheme.DoWriteAndReadPrinter("Parallel", read0A, buffer.data(), 1023, nRead, true,
                                              false, 0, true));
    EXPECT_FALSE(scheme.DoWriteAndReadPrinter("Missing", read0A, buffer.data(), 1023, nRead, true,
                                              false, 0, true));
    EXPECT_EQ(nRead, 1024);
    ASSERT_TRUE(scheme.DoWriteAndReadPrinter("Inkjet", read0A, buffer.data(), 1023, nRead, true,
                                             false, 0, true));
    EXPECT_EQ(nRead, 12);
    EXPECT_EQ(Log().size(), 1u);
    EXPECT_TRUE(ui->messages.empty());

    const TBytes enter = {0x1B, 0x1D, 0x1E, 0x05, 0x01, 0x1B, 0x1D, 0x1F};
    g_PrinterName = "Offline";
    ui->ExpectBoxes(1);
    EXPECT_FALSE(scheme.WritePrinter(enter.data(), 8));
    ASSERT_EQ(ui->messages.size(), 1u);
    EXPECT_EQ(ui->messages[0].caption, g_GlobalString.HintTitle);
    EXPECT_EQ(ui->messages[0].text, g_GlobalString.PrinterNotFound);
    EXPECT_FALSE(g_GlobalString.PrinterNotFound.empty());
    EXPECT_EQ(ui->messages[0].icon, TMessageIcon::Error);
    g_PrinterName = "Parallel";  // usable, but not on USB: false without a message
    std::vector<std::uint8_t> command(enter.begin(), enter.end());
    command.resize(512);
    nRead = 512;
    EXPECT_FALSE(scheme.WriteAndReadPrinter(command.data(), 8, command.data(), 511, nRead, true));
    EXPECT_EQ(ui->messages.size(), 1u);
    EXPECT_EQ(Log().size(), 1u);
}

TEST_F(ExchangeTest, RawCommandsByPrinterName) {
    auto& scheme = Start();
    test::TScopedRecorder ui;
    // Enter, write item 0A = 7, save: then the command buffer is also the reply buffer.
    TBytes write = SpacedHexToBytes(scheme.WriteCommandOf(scheme.m_BaseItems[0], 7));
    ASSERT_TRUE(scheme.WritePrinter(write.data(), static_cast<std::int32_t>(write.size())));
    std::vector<std::uint8_t> buffer(512, 0);
    const TBytes read = {0x1B, 0x1D, 0x1E, 0x05, 0x03, 0x01, 0x0A, 0x1B, 0x1D, 0x1F};
    std::copy(read.begin(), read.end(), buffer.begin());
    std::int32_t nRead = 512;
    ASSERT_TRUE(scheme.WriteAndReadPrinter(buffer.data(), 10, buffer.data(), 511, nRead, true));
    EXPECT_EQ(TBytes(buffer.begin(), buffer.begin() + nRead),
              (TBytes{0x1B, 0x1D, 0x1E, 0x05, 0x03, 0x01, 0x0A, 0x01, 0x07, 0x1B, 0x1D, 0x1F}));
    auto log = Log();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0], "usb " + BytesToSpacedHex(write));
    EXPECT_EQ(log[1], "usb 1B 1D 1E 05 03 01 0A 1B 1D 1F");
    EXPECT_TRUE(ui->messages.empty());
}

TEST_F(ExchangeTest, TimeOutsFollowTheScheme) {
    m_Builder.Device("tp").Set("ReplyDelayMs", "20000");
    auto& scheme = Start("TimeOutPage=30000\r\nReadOnLastFail=0\r\n");
    ASSERT_TRUE(scheme.GetPrinterValues_ForPage(0, kPageBase));
    EXPECT_EQ(scheme.m_BaseItems[0].ValueCurrent, -56);

    // Unconfirmed-read mode waits 1500 ms, whatever TimeOutPage says; the values stay.
    scheme.m_BaseItems[0].ValueCurrent = 1;
    scheme.SetAffirmReadDisableStatus(true);
    EXPECT_FALSE(scheme.GetPrinterValues_ForPage(0, kPageBase));
    EXPECT_EQ(scheme.m_BaseItems[0].ValueCurrent, 1);
}

TEST_F(ExchangeTest, FailedReadSwitchesToUnconfirmedReads) {
    m_Builder.Device("tp").Set("Mute", "1");
    auto& scheme = Start("ReadOnLastFail=0\r\n");
    EXPECT_FALSE(scheme.GetPrinterValues_ForPage(0, kPageBase));
    EXPECT_TRUE(scheme.m_Sections.AffirmReadDisable);
    EXPECT_EQ(PageValues(scheme), (std::vector<std::int32_t>{2, -5, 0, 0, 9}));
    EXPECT_EQ(TIniFile::FromFile(g_PrinterIniFile).ReadString("ReadPrinter", "Last", ""), "0");
}

TEST_F(ExchangeTest, PagesBeyondOneCountByteAreNotSent) {
    auto& scheme = Start();
    scheme.m_BaseItems.resize(256, scheme.m_BaseItems[0]);
    EXPECT_FALSE(scheme.GetPrinterValues_ForPage(0, kPageBase));
    EXPECT_TRUE(Log().empty());
    scheme.m_BaseItems.resize(255);
    EXPECT_TRUE(scheme.GetPrinterValues_ForPage(0, kPageBase));
    ASSERT_EQ(Log().size(), 1u);
    EXPECT_EQ(Log()[0].substr(0, 25), "usb 1B 1D 1E 05 03 FF 0A ");
}

// The windows' situation: paint and timer events, pumped while the worker talks to the printer,
// read the process state. The worker must leave it alone (this test runs under ThreadSanitizer
// too): the pumped reads see the record as it stood, the owner updates it after the join.
TEST_F(ExchangeTest, PumpedEventsReadTheStateWhileTheWorkerRuns) {
    // Real time has to pass for the owner to pump: a sped-up clock, not a virtual one.
    m_Builder.Section("Clock").Set("Virtual", "0").Set("Speed", "1000");
    m_Builder.Device("tp").Set("ReplyDelayMs", "50000");
    auto& scheme = Start("TimeOutPage=600000\r\nReadOnLastFail=0\r\n");
    WriteIniString(g_PrinterIniFile, "ReadPrinter", "Count", "4");
    WriteIniString(g_PrinterIniFile, "ReadPrinter", "Last", "0");
    g_ReadCount = 4;
    g_LastReadOk = false;

    test::TScopedRecorder ui;
    int pumped = 0;
    std::set<std::string> seen;
    ui->onProcessMessages = [&] {
        ++pumped;
        const TIniFile record = TIniFile::FromFile(g_PrinterIniFile);
        seen.insert(std::to_string(g_ReadCount) + (g_LastReadOk ? " ok" : " failed") +
                    (g_SchemeOptions->m_Sections.AffirmReadDisable ? " unconfirmed" : "") + " | " +
                    record.ReadString("ReadPrinter", "Count", "-") + " " +
                    record.ReadString("ReadPrinter", "Last", "-") + " | " +
                    std::to_string(g_SchemeOptions->m_BaseItems[0].ValueCurrent) +
                    (WorkerExchangeInProgress() ? " busy" : " idle"));
    };
    ASSERT_TRUE(scheme.GetPrinterValues_ForPage(0, kPageBase));
    EXPECT_GT(pumped, 1);
    EXPECT_EQ(seen, (std::set<std::string>{"4 failed | 4 0 | 2 busy"}));
    EXPECT_FALSE(WorkerExchangeInProgress());
    EXPECT_EQ(g_ReadCount, 5);
    EXPECT_TRUE(g_LastReadOk);
    EXPECT_EQ(TIniFile::FromFile(g_PrinterIniFile).ReadString("ReadPrinter", "Count", ""), "5");
    EXPECT_EQ(scheme.m_BaseItems[0].ValueCurrent, -56);
}

// A click pumped during an exchange must not start a second one: it is refused, nothing else
// reaches the printer and the record counts the one exchange that ran.
TEST_F(ExchangeTest, NoSecondExchangeWhileOneIsPumping) {
    m_Builder.Section("Clock").Set("Virtual", "0").Set("Speed", "1000");
    m_Builder.Device("tp").Set("ReplyDelayMs", "50000");
    auto& scheme = Start("TimeOutPage=600000\r\n");
    test::TScopedRecorder ui;
    std::vector<bool> nested;
    int pumped = 0;
    ui->onProcessMessages = [&] {
        if (pumped++ > 0) return;  // one click, on the first pumped round
        nested.push_back(scheme.GetPrinterValues_ForPage(0, kPageBase));
        std::int32_t nRead = 64;
        std::vector<std::uint8_t> reply(64);
        const TBytes enter = {0x1B, 0x1D, 0x1E, 0x05, 0x01, 0x1B, 0x1D, 0x1F};
        nested.push_back(
            scheme.WriteAndReadPrinter(enter.data(), 8, reply.data(), 63, nRead, true));
    };
    ASSERT_TRUE(scheme.GetPrinterValues_ForPage(0, kPageBase));
    EXPECT_EQ(nested, (std::vector<bool>{false, false}));
    EXPECT_EQ(Log().size(), 1u);
    EXPECT_EQ(g_ReadCount, 1);
    EXPECT_EQ(scheme.m_BaseItems[0].ValueCurrent, -56);

    // Once the first has ended, the next exchange runs as usual.
    ui->onProcessMessages = nullptr;
    EXPECT_TRUE(scheme.GetPrinterValues_ForPage(0, kPageBase));
    EXPECT_EQ(Log().size(), 2u);
}

TEST(SetAllCurrentValues, MatchesEntriesByGetInstruction) {
    TSchemeOptions2 scheme;
    for (const char* code : {"0a", "0B", "0C", " 0D"}) {
        TSettingItem item;
        item.GetInstruction = code;
        item.nParameterByte = 1;
        item.ValueCurrent = 77;
        scheme.m_AdvanceItems.push_back(item);
    }
    const TBytes reply = {0x1B, 0x1D, 0x1E, 0x05, 0x03, 0x03, 0x0A, 0x01, 0x02,
                          0x0B, 0x01, 0xFF, 0x0D, 0x01, 0x04, 0x1B, 0x1D, 0x1F};
    scheme.SetAllCurrentValues_ForPage(reply.data(), 6, kPageAdvance);
    EXPECT_EQ(scheme.m_AdvanceItems[0].ValueCurrent, 77);
    scheme.SetAllCurrentValues_ForPage(reply.data(), static_cast<std::int32_t>(reply.size()),
                                       kPageAdvance);
    EXPECT_EQ(scheme.m_AdvanceItems[0].ValueCurrent, 2);
    EXPECT_EQ(scheme.m_AdvanceItems[1].ValueCurrent, -1);
    EXPECT_EQ(scheme.m_AdvanceItems[2].ValueCurrent, ValueAbsent);
    EXPECT_EQ(scheme.m_AdvanceItems[3].ValueCurrent, ValueAbsent);  // " 0D" is not "0D"
}

}  // namespace
}  // namespace ps
