// SPDX-License-Identifier: MIT
// The emulated spooler: printers of an emulation directory, printer data, jobs and faults.
#include <gtest/gtest.h>

#include <thread>

#include "base/PathText.h"
#include "platform/Platform.h"
#include "support/EmulationFixture.h"

namespace ps {
namespace {

using test::TTestBytes;

class EmulatedSpoolerTest : public test::TEmulationTest {
protected:
    emu::TEmulatedPlatform& Start() { return StartScripted(); }
    std::unique_ptr<TPrinterHandle> Open(const std::string& name,
                                         TPrinterAccess access = TPrinterAccess::Default) {
        return Platform().Spooler().Open(name, access);
    }
    static bool SendJob(TPrinterHandle& printer, const std::string& name, const TTestBytes& data) {
        if (printer.StartDocument(name, "", "RAW") == 0) return false;
        printer.StartPage();
        std::uint32_t written = 0;
        bool ok = printer.WriteData(data, written);
        printer.EndPage();
        printer.EndDocument();
        return ok && written == data.size();
    }
};

TEST_F(EmulatedSpoolerTest, OpensPrintersByNameAndDescribesThem) {
    m_Builder.Section("Spooler").Set("DriverDirectory", "drv\\x64");
    m_Builder.Printer("QR-520 Passbook", "USB001")
        .Set("DriverName", "Talvenor QR-520")
        .Set("DependentFiles", "drv\\x64\\3\\qr520.dll | ..\\shared/QR-520_Settings.Dat|/abs/f.ini")
        .Set("Device", "passbook");
    m_Builder.Printer("Office", "VODAV_10.0.0.7").Set("WorkOffline", "1");
    m_Builder.Device("passbook", "USB001");
    auto& platform = Start();
    EXPECT_TRUE(platform.Problems().empty());

    // Names compare without regard to case; unknown names fail with the spooler's code.
    auto printer = Open("qr-520 PASSBOOK");
    ASSERT_TRUE(printer);
    auto info = printer->GetInfo2();
    ASSERT_TRUE(info);
    EXPECT_EQ(info->printerName, "QR-520 Passbook");
    EXPECT_EQ(info->portName, "USB001");
    EXPECT_EQ(info->driverName, "Talvenor QR-520");
    EXPECT_EQ(info->attributes & kPrinterAttributeWorkOffline, 0u);

    auto driver = printer->GetDriverInfo6("");
    ASSERT_TRUE(driver);
    auto dir = m_Dir.Path();
    ASSERT_EQ(driver->dependentFiles.size(), 3u);
    EXPECT_EQ(driver->dependentFiles[0], (dir / "drv" / "x64" / "3" / "qr520.dll").string());
    EXPECT_EQ(driver->dependentFiles[1],
              (dir.parent_path() / "shared" / "QR-520_Settings.Dat").lexically_normal().string());
    // An absolute path stays as it is (on Windows, on the directory's drive).
    EXPECT_EQ(driver->dependentFiles[2],
              PathToUtf8((dir / PathFromUtf8("/abs/f.ini").make_preferred()).lexically_normal()));
    EXPECT_EQ(Platform().Spooler().GetDriverDirectory(""), (dir / "drv" / "x64").string());

    auto office = Open("Office");
    ASSERT_TRUE(office);
    EXPECT_EQ(office->GetInfo2()->attributes & kPrinterAttributeWorkOffline,
              kPrinterAttributeWorkOffline);
    // No driver installed: level 6 fails, level 2 still answers.
    EXPECT_FALSE(office->GetDriverInfo6(""));
    EXPECT_EQ(GetThreadLastError(), kErrorUnknownPrinterDriver);

    SetThreadLastError(0);
    EXPECT_FALSE(Open("Nobody"));
    EXPECT_EQ(GetThreadLastError(), kErrorInvalidPrinterName);

    // The empty name is the print server: it opens, but describes no printer and lists no jobs.
    auto server = Open("");
    ASSERT_TRUE(server);
    EXPECT_FALSE(server->GetInfo2());
    EXPECT_FALSE(server->GetJobs(0, 10));
    EXPECT_EQ(server->StartDocument("x", "", "RAW"), 0u);
}

TEST_F(EmulatedSpoolerTest, FullAccessAndPrinterDataPersistAcrossRuns) {
    m_Builder.Printer("Passbook", "USB001").Set("Data.Preset", "3 0102");
    m_Builder.Printer("Locked", "USB002").Set("FullAccess", "0");
    Start();

    const TTestBytes text = {'2', 0, '0', 0, '1', 0, '7', 0};
    {
        // Default access may read printer data but not write it.
        auto user = Open("Passbook");
        ASSERT_TRUE(user);
        EXPECT_EQ(user->SetData("TimeData", kRegSz, text), kErrorAccessDenied);
        auto admin = Open("Passbook", TPrinterAccess::Full);
        ASSERT_TRUE(admin);
        EXPECT_EQ(admin->SetData("TimeData", kRegSz, text), kErrorSuccess);

        std::uint8_t buffer[16] = {};
        std::uint32_t type = 0, needed = 0;
        EXPECT_EQ(user->GetData("timedata", type, std::span(buffer, 4), needed), kErrorMoreData);
        EXPECT_EQ(needed, 8u);
        EXPECT_EQ(user->GetData("TimeData", type, buffer, needed), kErrorSuccess);
        EXPECT_EQ(type, kRegSz);
        EXPECT_EQ(TTestBytes(buffer, buffer + needed), text);
        EXPECT_EQ(user->GetData("Missing", type, buffer, needed), kErrorFileNotFound);
        EXPECT_EQ(user->GetData("Preset", type, buffer, needed), kErrorSuccess);
        EXPECT_EQ(type, kRegBinary);
        EXPECT_EQ(TTestBytes(buffer, buffer + needed), (TTestBytes{0x01, 0x02}));
    }
    EXPECT_NE(m_Builder.StateText().find("[Printer:Passbook]"), std::string::npos);

    // A printer whose user may not administer it refuses full access, and writes nothing.
    SetThreadLastError(0);
    EXPECT_FALSE(Open("Locked", TPrinterAccess::Full));
    EXPECT_EQ(GetThreadLastError(), kErrorAccessDenied);
    EXPECT_TRUE(Open("Locked"));

    // A second run on the same directory sees the stored value.
    Start();
    auto again = Open("Passbook");
    std::uint8_t buffer[16] = {};
    std::uint32_t type = 0, needed = 0;
    ASSERT_EQ(again->GetData("TimeData", type, buffer, needed), kErrorSuccess);
    EXPECT_EQ(TTestBytes(buffer, buffer + needed), text);
    EXPECT_EQ(m_Builder.StateText().find("Locked"), std::string::npos);
}

TEST_F(EmulatedSpoolerTest, TwoProgramsStoreTheDataOfTheirPrintersAtOnce) {
    m_Builder.Printer("Left", "USB001");
    m_Builder.Printer("Right", "USB002");
    const std::filesystem::path dir = m_Builder.Write();
    // Two programs' spoolers on one directory rewrite its one state.ini.
    auto program = [&](const std::string& printer) {
        emu::TEmulatedPlatform platform(dir);
        auto handle = platform.Spooler().Open(printer, TPrinterAccess::Full);
        for (std::uint8_t i = 0; handle && i < 20; ++i)
            handle->SetData("Value" + std::to_string(i), kRegBinary, TTestBytes{i});
    };
    std::thread left(program, "Left");
    std::thread right(program, "Right");
    left.join();
    right.join();
    const std::string state = m_Builder.StateText();
    std::size_t stored = 0;
    for (std::size_t at = state.find("Data.Value"); at != std::string::npos;
         at = state.find("Data.Value", at + 1))
        ++stored;
    EXPECT_EQ(stored, 40u) << state;
}

TEST_F(EmulatedSpoolerTest, RawJobsReachTheDeviceOrWaitInTheQueue) {
    m_Builder.Printer("Passbook", "USB001").Set("Device", "pb");
    m_Builder.Printer("Offline", "USB001").Set("Device", "pb").Set("WorkOffline", "1");
    m_Builder.Printer("Busy", "LPT1").Set("Device", "pb").Set("QueuedJobs", "3");
    m_Builder.Printer("Unplugged", "LPT2");
    m_Builder.Device("pb", "USB001");
    Start();

    auto printer = Open("Passbook");
    EXPECT_TRUE(SendJob(*printer, "Printer setting job", {0x1B, 0x40}));
    EXPECT_EQ(printer->GetJobs(0, 10)->size(), 0u);
    ASSERT_TRUE(m_Devices["pb"]);
    auto received = m_Devices["pb"]->Received();
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].first, "job Printer setting job");
    EXPECT_EQ(received[0].second, (TTestBytes{0x1B, 0x40}));

    // Off-line (and nothing on the port): the job is held and listed, the device gets nothing.
    auto offline = Open("Offline");
    EXPECT_TRUE(SendJob(*offline, "Print test", {0x01, 0x02, 0x03}));
    auto unplugged = Open("Unplugged");
    EXPECT_TRUE(SendJob(*unplugged, "Print test", {0x04}));
    EXPECT_EQ(m_Devices["pb"]->Received().size(), 1u);
    auto held = offline->GetJobs(0, 10);
    ASSERT_TRUE(held);
    ASSERT_EQ(held->size(), 1u);
    EXPECT_EQ((*held)[0].document, "Print test");
    EXPECT_EQ(offline->GetInfo2()->jobs, 1u);
    EXPECT_EQ(test::ReadFileBytes(m_Dir.Path() / "held" / "Offline-1.prn"), "\x01\x02\x03");

    // Queued jobs are listed from a start position, at most `count` of them.
    auto busy = Open("Busy");
    EXPECT_EQ(busy->GetJobs(0, 10)->size(), 3u);
    auto tail = busy->GetJobs(1, 1);
    ASSERT_EQ(tail->size(), 1u);
    EXPECT_EQ((*tail)[0].jobId, 2u);
    EXPECT_TRUE(busy->GetJobs(5, 10)->empty());

    // The held job is still there on the next run.
    Start();
    EXPECT_EQ(Open("Offline")->GetJobs(0, 10)->size(), 1u);
}

TEST_F(EmulatedSpoolerTest, JobFaultsFailTheRightCallAndPrintNothing) {
    m_Builder.Printer("NoDoc", "USB001").Set("Device", "pb").Set("JobFault", "StartDoc");
    m_Builder.Printer("NoPage", "USB001").Set("Device", "pb").Set("JobFault", "StartPage");
    m_Builder.Printer("NoWrite", "USB001").Set("Device", "pb").Set("JobFault", "Write");
    m_Builder.Printer("Bad", "USB001").Set("JobFault", "Sometimes").Set("QueuedJobs", "-1");
    m_Builder.Device("pb", "USB001");
    auto& platform = Start();
    EXPECT_EQ(platform.Problems().size(), 2u);

    auto noDoc = Open("NoDoc");
    EXPECT_EQ(noDoc->StartDocument("x", "", "RAW"), 0u);
    std::uint32_t written = 7;
    EXPECT_FALSE(noDoc->WriteData(TTestBytes{1}, written));
    EXPECT_EQ(written, 0u);
    EXPECT_EQ(GetThreadLastError(), kErrorSplNoStartDoc);
    EXPECT_FALSE(noDoc->EndDocument());

    auto noPage = Open("NoPage");
    EXPECT_NE(noPage->StartDocument("page", "", "RAW"), 0u);
    EXPECT_FALSE(noPage->StartPage());
    EXPECT_TRUE(noPage->WriteData(TTestBytes{9}, written));
    EXPECT_TRUE(noPage->EndDocument());

    auto noWrite = Open("NoWrite");
    EXPECT_FALSE(SendJob(*noWrite, "x", {1, 2}));

    // Only the job whose page failed to start still reached the printer.
    auto received = m_Devices["pb"]->Received();
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].first, "job page");
    EXPECT_EQ(platform.OpenHandleCount(), 0u);
}

}  // namespace
}  // namespace ps
