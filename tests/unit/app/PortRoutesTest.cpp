// SPDX-License-Identifier: MIT
// Port lists, USB printer numbering and the raw sends by spooler job, port device and vendor
// library, on the emulated platform.
#include <gtest/gtest.h>

#include "platform/emulated/EmulatedKernel.h"
#include "printer/UtilPrinter.h"
#include "support/EmulationFixture.h"

namespace ps {
namespace {

using test::TTestBytes;
using TList = std::vector<std::string>;

const std::string kJobData = "\x1B\x1D\x1E\x05\x01\x1B\x1D\x1F";
const TTestBytes kJobBytes(kJobData.begin(), kJobData.end());

class PortRoutesTest : public test::TEmulationTest {
protected:
    PortRoutesTest() {
        m_Builder.Device("qr", "USB001", "MFG:Talvenor;CMD:ESC;MDL:QR-520;CLS:PRINTER;");
        m_Builder.Device("bare", "USB002", "MFG:Talvenor;CMD:ESC;");
        m_Builder.Device("qj", "USB003", "MDL:QJ-760;");
        m_Builder.Device("lp");
        m_Builder.Printer("Impact", "LPT1").Set("Device", "lp");
        m_Builder.Printer("Serial", "COM1").Set("Device", "lp");
        m_Builder.Printer("Inkjet", "USB003").Set("Device", "qj");
    }
    emu::TEmulatedPlatform& Start() {
        auto& platform = StartScripted();
        for (const char* id : {"qr", "bare", "qj", "lp"}) platform.Device(id);
        return platform;
    }
    std::vector<std::pair<std::string, TTestBytes>> Received(const std::string& id) {
        return m_Devices[id]->Received();
    }
};

TEST_F(PortRoutesTest, PortListExpandsTheUsbPrintersThatReportAModel) {
    Start();
    TList names = {"stale"}, values = {"stale"};
    EXPECT_EQ(BuildPortList("LPT1  COM1  _USB", &names, &values), 4);
    EXPECT_EQ(names, (TList{"LPT1", "COM1", "TalvenorQR-520 - USB001", "QJ-760 - USB003"}));
    EXPECT_EQ(values, (TList{"LPT1", "COM1", emu::UsbDevicePath("qr"), emu::UsbDevicePath("qj")}));

    EXPECT_EQ(BuildPortList("LPT1,COM2", &names, &values), 2);
    EXPECT_EQ(names, (TList{"LPT1", "COM2"}));
    EXPECT_EQ(BuildPortList("\"My \"\"Port\"\"\" ,,\tLPT2\r\n", &names, &values), 2);
    EXPECT_EQ(names, (TList{"My \"Port\"", "LPT2"}));
    EXPECT_EQ(BuildPortList("_NET", &names, &values), 0);
    EXPECT_TRUE(names.empty());
    EXPECT_EQ(BuildPortList("LPT1", nullptr, &values), -1);
    EXPECT_EQ(BuildPortList("LPT1", &names, nullptr), -1);

    // Enumeration appends without clearing.
    TList more = {"x"}, paths = {"y"};
    EXPECT_EQ(EnumUSBPrinters(more, paths, "="), 3);
    EXPECT_EQ(more, (TList{"x", "TalvenorQR-520=USB001", "QJ-760=USB003"}));
}

TEST_F(PortRoutesTest, UsbIndexIsTheLibrarysOwnAndSkipsPrintersWithoutAModel) {
    m_Builder.Device("twin", "USB003", "MFG:Other;MDL:Twin;");
    Start();
    EXPECT_EQ(FindUSBPrinterIndex("USB001"), 0);
    // The printer without a model on USB002 is library index 1: it is never found, and it does
    // not shift the printers after it. The last of the two on USB003 is index 3.
    EXPECT_EQ(FindUSBPrinterIndex("USB003"), 3);
    EXPECT_EQ(FindUSBPrinterIndex("USB002"), -1);
    EXPECT_EQ(FindUSBPrinterIndex("usb001"), -1);
    EXPECT_EQ(FindUSBPrinterIndex("LPT1"), -1);
}

TEST(DeviceIdFieldTest, FieldValuesEndAtASemicolonWithinFiftyCharacters) {
    EXPECT_EQ(DeviceIdField("MFG:Talvenor;MDL:QR-520;", "MDL:"), "QR-520");
    EXPECT_EQ(DeviceIdField("MFG:Talvenor;MDL:QR-520", "MDL:"), "");
    EXPECT_EQ(DeviceIdField("MDL:" + std::string(49, 'x') + ";", "MDL:"), std::string(49, 'x'));
    EXPECT_EQ(DeviceIdField("MDL:" + std::string(50, 'x') + ";", "MDL:"), "");
    EXPECT_EQ(DeviceIdField("MDL:;", "MDL:"), "");
    EXPECT_EQ(DeviceIdField("CMD:ESC;", "MFG:"), "");
}

TEST_F(PortRoutesTest, RawJobs) {
    m_Builder.Printer("Offline", "LPT1").Set("Device", "lp").Set("WorkOffline", "1");
    m_Builder.Printer("Busy", "LPT1").Set("Device", "lp").Set("QueuedJobs", "2");
    m_Builder.Printer("NoStart", "LPT1").Set("Device", "lp").Set("JobFault", "StartDoc");
    m_Builder.Printer("NoPage", "LPT1").Set("Device", "lp").Set("JobFault", "StartPage");
    m_Builder.Printer("NoWrite", "LPT1").Set("Device", "lp").Set("JobFault", "Write");
    m_Builder.Printer("Guest", "LPT1").Set("Device", "lp").Set("FullAccess", "0");
    auto& platform = Start();

    EXPECT_TRUE(SendRawJob("Impact", kJobData, "Printer setting job"));
    EXPECT_TRUE(SendRawJob("Busy", kJobData, "Printer setting job"));
    EXPECT_TRUE(SendRawJob("NoPage", kJobData, "Printer setting job"));
    EXPECT_TRUE(SendRawJob("Guest", kJobData, "Printer setting job"));  // default access
    auto received = Received("lp");
    ASSERT_EQ(received.size(), 4u);
    for (const auto& [route, bytes] : received) {
        EXPECT_EQ(route, "job Printer setting job");
        EXPECT_EQ(bytes, kJobBytes);
    }

    // An off-line printer keeps the job: the write succeeded, the printer got nothing.
    EXPECT_TRUE(SendRawJob("Offline", kJobData, "Printer setting job"));
    EXPECT_FALSE(SendRawJob("NoStart", kJobData, "Printer setting job"));
    EXPECT_FALSE(SendRawJob("NoWrite", kJobData, "Printer setting job"));
    EXPECT_FALSE(SendRawJob("Missing", kJobData, "Printer setting job"));
    EXPECT_EQ(Received("lp").size(), 4u);
    auto offline = platform.Spooler().Open("Offline", TPrinterAccess::Default);
    ASSERT_TRUE(offline);
    auto jobs = offline->GetJobs(0, 10);
    ASSERT_TRUE(jobs);
    ASSERT_EQ(jobs->size(), 1u);
    EXPECT_EQ((*jobs)[0].document, "Printer setting job");
}

TEST_F(PortRoutesTest, PortDeviceWrites) {
    auto& platform = Start();
    EXPECT_TRUE(WritePortDevice(kJobBytes.data(), 8, "LPT1"));
    EXPECT_TRUE(WritePortDevice(kJobBytes.data(), 3, "\\\\.\\COM1"));
    EXPECT_FALSE(WritePortDevice(kJobBytes.data(), 8, "LPT9"));
    auto received = Received("lp");
    ASSERT_EQ(received.size(), 2u);
    EXPECT_EQ(received[0].first, "port");
    EXPECT_EQ(received[0].second, kJobBytes);
    EXPECT_EQ(received[1].second, TTestBytes(kJobBytes.begin(), kJobBytes.begin() + 3));

    // A drive path is a file: created, then truncated by the next write.
    auto file = emu::EmulatedFilePath(m_Dir.Path(), "C:\\temp\\out.prn");
    std::filesystem::create_directories(file.parent_path());
    EXPECT_TRUE(WritePortDevice(kJobBytes.data(), 8, "C:\\temp\\out.prn"));
    EXPECT_TRUE(WritePortDevice(kJobBytes.data() + 5, 3, "C:\\temp\\out.prn"));
    EXPECT_EQ(test::ReadFileBytes(file), kJobData.substr(5));
    // Without ":\" nothing is created.
    EXPECT_FALSE(WritePortDevice(kJobBytes.data(), 8, "relative.prn"));
    EXPECT_EQ(platform.OpenHandleCount(), 0u);
}

TEST_F(PortRoutesTest, UsbWrites) {
    m_Builder.Device("qj").Set("ShortWrite", "1");
    auto& platform = Start();
    EXPECT_TRUE(SendUSBBytes(kJobData, 0));
    EXPECT_FALSE(SendUSBBytes(kJobData, 2));  // one byte short
    EXPECT_FALSE(SendUSBBytes(kJobData, 7));
    EXPECT_FALSE(SendUSBBytes(kJobData, -1));
    ASSERT_EQ(Received("qr").size(), 1u);
    EXPECT_EQ(Received("qr")[0].first, "usb");
    EXPECT_EQ(Received("qr")[0].second, kJobBytes);
    EXPECT_EQ(Received("qj")[0].second, TTestBytes(kJobBytes.begin(), kJobBytes.end() - 1));
    EXPECT_EQ(platform.OpenHandleCount(), 0u);
}

}  // namespace
}  // namespace ps
