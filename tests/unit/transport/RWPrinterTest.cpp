// SPDX-License-Identifier: MIT
// The write-then-read worker against scripted USB devices of the emulated platform: bytes on
// the wire, read-all continuations, time-outs, the per-printer read record and GetData bounds.
#include <gtest/gtest.h>

#include <fstream>

#include "base/IniFile.h"
#include "printer/Globals.h"
#include "scheme/ReadRecord.h"
#include "scheme/Scheme3.h"
#include "support/EmulationFixture.h"
#include "transport/ThreadRWPrinter.h"

namespace ps {
namespace {

using test::TTestBytes;

const TTestBytes kCommand = {0x1B, 0x1D, 0x1E, 0x05, 0x03, 0x01, 0x0A, 0x1B, 0x1D, 0x1F};
const TTestBytes kReply = {0x1B, 0x1D, 0x1E, 0x05, 0x03, 0x01, 0x0A, 0x01, 0xC8, 0x1B, 0x1D, 0x1F};

class RWPrinterTest : public test::TEmulatedCoreTest {
protected:
    RWPrinterTest() {
        m_Builder.Device("pr", "USB001", "MFG:Talvenor;MDL:QJ-760;");
        m_Builder.Printer("Inkjet", "USB001").Set("Device", "pr");
        g_PrinterIniFile = (m_Dir.Path() / "Inkjet.ini").string();
        g_SchemeOptions = std::make_unique<TSchemeOptions2>();
        g_SchemeOptions->m_Sections.ReadOnLastFail = 1;
    }
    test::TScriptedDevice& Start() {
        StartScripted().Device("pr");
        return *m_Devices["pr"];
    }

    struct TRun {
        std::string hex = "1B 1D 1E 05 03 01 0A 1B 1D 1F";
        bool read = true;
        std::int32_t timeOut = 3500;
        std::int32_t least = 0;
        bool reset = false;
        std::uint32_t wait = 30;
        std::uint32_t readData = 4096;
        std::int32_t index = 0;
    };
    std::unique_ptr<TRWPrinter> Run(const TRun& r) {
        auto worker = std::make_unique<TRWPrinter>();
        worker->SetParameters(r.index, r.hex, r.read, r.timeOut, r.least, r.reset, r.wait,
                              r.readData);
        worker->Start();
        WaitPumpingMessages(*worker);
        worker->WaitFor();
        // The owner records the read once the worker has finished, as the exchanges do.
        RecordWorkerExchange(*worker);
        return worker;
    }
    TTestBytes Reply(const TRWPrinter& worker) {
        return TTestBytes(worker.m_Buf.begin(), worker.m_Buf.begin() + worker.m_nRet);
    }
    std::string Record(const char* key) {
        return TIniFile::FromFile(g_PrinterIniFile).ReadString("ReadPrinter", key, "missing");
    }
};

TEST_F(RWPrinterTest, WritesTheCommandAndReadsTheReply) {
    auto& device = Start();
    device.Answer(kCommand, kReply);
    test::TScopedRecorder ui;

    auto worker = Run({});
    EXPECT_TRUE(worker->m_bResult);
    EXPECT_EQ(Reply(*worker), kReply);
    EXPECT_EQ(worker->m_iLastRead, 12);
    EXPECT_TRUE(worker->m_strWriteHex.empty());
    ASSERT_EQ(device.Received().size(), 1u);
    EXPECT_EQ(device.Received()[0].first, "usb");
    EXPECT_EQ(device.Received()[0].second, kCommand);
    EXPECT_EQ(Record("Count"), "1");
    EXPECT_EQ(Record("Last"), "-1");
    EXPECT_EQ(g_ReadCount, 1);
    EXPECT_TRUE(g_LastReadOk);

    // The same command with tabs or without separators; the count goes on from the file.
    worker = Run({.hex = "1B\t1D\t1E\t05\t03\t01\t0A\t1B\t1D\t1F"});
    EXPECT_TRUE(worker->m_bResult);
    worker = Run({.hex = "1B1D1E0503010A1B1D1F"});
    EXPECT_TRUE(worker->m_bResult);
    ASSERT_EQ(device.Received().size(), 3u);
    EXPECT_EQ(device.Received()[2].second, kCommand);
    EXPECT_EQ(Record("Count"), "3");

    // A write without a read counts nothing; the minimum length decides the outcome.
    worker = Run({.hex = "1B 1D 1E 05 01 1B 1D 1F", .read = false});
    EXPECT_TRUE(worker->m_bResult);
    EXPECT_EQ(Record("Count"), "3");
    worker = Run({.least = 13});
    EXPECT_FALSE(worker->m_bResult);
    EXPECT_EQ(Record("Last"), "0");
    EXPECT_FALSE(g_LastReadOk);
    EXPECT_EQ(m_pPlatform->OpenHandleCount(), 0u);
}

TEST_F(RWPrinterTest, OwnerKeepsTheWindowsAliveWhileWaiting) {
    // Real time has to pass for the owner to wait: a sped-up clock, not a virtual one.
    m_Builder.Section("Clock").Set("Virtual", "0").Set("Speed", "1000");
    m_Builder.Device("pr").Set("ReplyDelayMs", "100000");
    auto& device = Start();
    device.Answer(kCommand, kReply);
    test::TScopedRecorder ui;
    auto worker = Run({.timeOut = 200000});
    EXPECT_TRUE(worker->m_bResult);
    EXPECT_GT(ui->processCount, 0);
}

TEST_F(RWPrinterTest, EmptyCommandSendsNothingButStillReads) {
    auto& device = Start();
    device.Unsolicited({0x1B, 0x1D, 0x1E, 0x42});
    auto worker = Run({.hex = " \t "});
    EXPECT_TRUE(worker->m_bResult);
    EXPECT_TRUE(device.Received().empty());
    EXPECT_EQ(Reply(*worker), (TTestBytes{0x1B, 0x1D, 0x1E, 0x42}));
    EXPECT_EQ(Record("Count"), "1");

    worker = Run({.hex = "", .read = false});
    EXPECT_TRUE(worker->m_bResult);
    EXPECT_EQ(Record("Count"), "1");
}

TEST_F(RWPrinterTest, ReadAllModeDrainsFirstAndAppendsContinuations) {
    auto& device = Start();
    TTestBytes reply(15);
    for (std::size_t i = 0; i < reply.size(); ++i) reply[i] = static_cast<std::uint8_t>(0x30 + i);
    device.Answer(kCommand, reply);
    device.Unsolicited({0xEE, 0xEE, 0xEE});  // stale input from an earlier exchange

    auto worker = Run({.reset = true, .readData = 10});
    EXPECT_TRUE(worker->m_bResult);
    EXPECT_TRUE(worker->m_bMultiReadRetry);
    EXPECT_EQ(worker->m_nRet, 15);
    EXPECT_EQ(worker->m_iLastRead, 5);
    EXPECT_EQ(Reply(*worker), reply);

    // Without read-all mode nothing is drained and only the first read's bytes count.
    device.Unsolicited({0xEE});
    worker = Run({.readData = 10});
    TTestBytes expected = {0xEE};
    expected.insert(expected.end(), reply.begin(), reply.begin() + 9);
    EXPECT_EQ(Reply(*worker), expected);
}

TEST_F(RWPrinterTest, ReadAllNeverRunsPastTheBufferOrItsDeadline) {
    auto& device = Start();
    TTestBytes huge(kRWPrinterBufferSize + 5000);
    for (std::size_t i = 0; i < huge.size(); ++i) huge[i] = static_cast<std::uint8_t>(i * 7);
    device.AnswerAny(huge);

    auto worker = Run({.reset = true, .readData = 30000});
    EXPECT_TRUE(worker->m_bResult);
    EXPECT_EQ(worker->m_nRet, kRWPrinterBufferSize);
    EXPECT_EQ(worker->m_iLastRead, kRWPrinterBufferSize - 30000);
    EXPECT_EQ(Reply(*worker), TTestBytes(huge.begin(), huge.begin() + kRWPrinterBufferSize));

    // An owner asking for more than the buffer per read gets no more than the buffer.
    device.AnswerAny(huge);
    worker = Run({.reset = true, .readData = 100000});
    EXPECT_EQ(worker->m_nRet, kRWPrinterBufferSize);

    // A printer that keeps sending a byte now and then: the continuations end once they have
    // taken as long as the first read could wait, not when the printer stops.
    device.AnswerInParts(kCommand, std::vector<TTestBytes>(1000, TTestBytes{0x55}), 90);
    const std::uint64_t start = m_pPlatform->Clock().NowMs();
    worker = Run({.timeOut = 2000, .reset = true, .wait = 0});
    const std::uint64_t took = m_pPlatform->Clock().NowMs() - start;
    EXPECT_TRUE(worker->m_bResult);
    EXPECT_GE(worker->m_nRet, 20);
    EXPECT_LT(worker->m_nRet, 30);
    EXPECT_LT(took, 2000u + 500u);
}

TEST_F(RWPrinterTest, TimeOutsAndTheAffirmReadSwitch) {
    m_Builder.Device("pr").Set("Mute", "1");
    auto& device = Start();
    g_SchemeOptions->m_Sections.ReadOnLastFail = 0;

    // A read that times out still counts and records the failure.
    auto worker = Run({});
    EXPECT_FALSE(worker->m_bResult);
    EXPECT_EQ(worker->m_nRet, 0);
    EXPECT_EQ(device.Received().size(), 1u);
    EXPECT_EQ(Record("Count"), "1");
    EXPECT_EQ(Record("Last"), "0");
    EXPECT_TRUE(g_SchemeOptions->m_Sections.AffirmReadDisable);
}

TEST_F(RWPrinterTest, OpenFailureLeavesTheRecordAndSwitchesOnlyAfterEarlierReads) {
    Start();
    g_SchemeOptions->m_Sections.ReadOnLastFail = 0;
    g_LastReadOk = true;

    auto worker = Run({.index = 5});
    EXPECT_FALSE(worker->m_bResult);
    EXPECT_FALSE(g_LastReadOk);
    EXPECT_FALSE(std::filesystem::exists(g_PrinterIniFile));
    EXPECT_FALSE(g_SchemeOptions->m_Sections.AffirmReadDisable);

    std::ofstream(g_PrinterIniFile) << "[ReadPrinter]\r\nCount=3\r\nLast=-1\r\n";
    worker = Run({.index = 5});
    EXPECT_EQ(g_ReadCount, 3);
    EXPECT_EQ(Record("Count"), "3");
    EXPECT_EQ(Record("Last"), "-1");
    EXPECT_TRUE(g_SchemeOptions->m_Sections.AffirmReadDisable);

    // Any other ReadOnLastFail never switches.
    g_SchemeOptions->m_Sections.AffirmReadDisable = false;
    g_SchemeOptions->m_Sections.ReadOnLastFail = 2;
    worker = Run({.index = 5});
    EXPECT_FALSE(g_SchemeOptions->m_Sections.AffirmReadDisable);
}

TEST_F(RWPrinterTest, WriteFailures) {
    m_Builder.Device("pr").Set("ShortWrite", "2");
    m_Builder.Device("bad", "USB002", "MDL:X;").Set("UsbWriteFails", "1");
    auto& device = Start();
    device.AnswerAny(kReply);

    // A short write keeps the result it had: false, or the cancel's outcome after a drain.
    auto worker = Run({});
    EXPECT_FALSE(worker->m_bResult);
    EXPECT_EQ(worker->m_nRet, 8);
    worker = Run({.reset = true});
    EXPECT_TRUE(worker->m_bResult);
    EXPECT_EQ(Record("Count"), "0");  // no read was attempted
    ASSERT_EQ(device.Received().size(), 2u);
    EXPECT_EQ(device.Received()[0].second, TTestBytes(kCommand.begin(), kCommand.end() - 2));

    worker = Run({.reset = true, .index = 1});
    EXPECT_FALSE(worker->m_bResult);
    EXPECT_EQ(worker->m_nRet, -2);
    EXPECT_EQ(Record("Last"), "0");
}

TEST(RWPrinterData, GetDataBoundsAndFrameStart) {
    TRWPrinter worker;
    const TTestBytes reply = {0x00, 0x00, 0x1B, 0x1D, 0x1E, 0x12, 0x34, 0x1B, 0x1D, 0x1F};
    std::copy(reply.begin(), reply.end(), worker.m_Buf.begin());
    worker.m_nRet = worker.m_iLastRead = static_cast<std::int32_t>(reply.size());

    TTestBytes out(16, 0xAA);
    std::int32_t length = -7;
    ASSERT_TRUE(worker.GetData(out.data(), 15, length, false));
    EXPECT_EQ(length, 10);
    EXPECT_EQ(TTestBytes(out.begin(), out.begin() + 10), reply);

    std::fill(out.begin(), out.end(), 0xAA);
    ASSERT_TRUE(worker.GetData(out.data(), 15, length, true));
    EXPECT_EQ(length, 8);
    EXPECT_EQ(TTestBytes(out.begin(), out.begin() + 8), TTestBytes(reply.begin() + 2, reply.end()));
    EXPECT_EQ(out[8], 0xAA);

    // Capacity + 1 bytes fit exactly; one more does not and nothing is copied.
    std::fill(out.begin(), out.end(), 0xAA);
    EXPECT_TRUE(worker.GetData(out.data(), 9, length, false));
    EXPECT_EQ(length, 10);
    std::fill(out.begin(), out.end(), 0xAA);
    EXPECT_FALSE(worker.GetData(out.data(), 8, length, false));
    EXPECT_EQ(length, 0);
    EXPECT_EQ(out, TTestBytes(16, 0xAA));

    // Read-all replies: the whole reply counts, not just the last read.
    worker.m_iLastRead = 3;
    EXPECT_FALSE(worker.GetData(out.data(), 8, length, false));
    EXPECT_EQ(out, TTestBytes(16, 0xAA));

    // No frame start: false and the length stays.
    worker.m_Buf[2] = 0x00;
    length = 42;
    EXPECT_FALSE(worker.GetData(out.data(), 15, length, true));
    EXPECT_EQ(length, 42);
}

TEST(RWPrinterData, SetParametersConvertsTheHexText) {
    TRWPrinter worker;
    worker.SetParameters(2, "1B 1D 1E 05 01 1B 1D 1F", true, 1500, 4, true, 30, 512);
    EXPECT_EQ(worker.m_pBuf, (TTestBytes{0x1B, 0x1D, 0x1E, 0x05, 0x01, 0x1B, 0x1D, 0x1F}));
    EXPECT_TRUE(worker.m_bResetFirst);
    EXPECT_TRUE(worker.m_bMultiReadRetry);
    EXPECT_EQ(worker.m_iUSBPrinter, 2);
    EXPECT_EQ(worker.m_dwReadData, 512u);
    EXPECT_FALSE(worker.m_bResult);
}

}  // namespace
}  // namespace ps
