// SPDX-License-Identifier: MIT
// The port-monitor channel, "TimeData", test prints and the vendor library functions on the
// emulated platform, with faults injected.
#include <gtest/gtest.h>

#include "base/TextCodec.h"
#include "platform/Platform.h"
#include "support/EmulationFixture.h"
#include "transport/TVPCOMM.h"
#include "transport/UtilDataSend.h"

namespace ps {
namespace {

using test::TTestBytes;

const TTestBytes kReadCommand = {0x1B, 0x1D, 0x1E, 0x12, 0x0A, 0x1B, 0x1D, 0x1F};
const TTestBytes kReadReply = {0x1B, 0x1D, 0x1E, 0x12, 0x0A, 0x01, 0x03, 0x1B, 0x1D, 0x1F};

class UtilDataSendTest : public test::TEmulationTest {
protected:
    UtilDataSendTest() {
        m_Builder.Kernel("SessionId", "3");
        m_Builder.Device("pb", "USB001", "MFG:Talvenor;MDL:QR-520;");
        m_Builder.Printer("Passbook", "USB001").Set("Device", "pb");
    }
    emu::TEmulatedPlatform& Start() {
        auto& platform = StartScripted();
        // Make the device now, so the script can be set before the first exchange.
        platform.Device("pb");
        m_Devices["pb"]->Answer(kReadCommand, kReadReply);
        return platform;
    }
    // Exchanges `command` wanting `wanted` reply bytes; returns the result and fills `reply`.
    bool Exchange(const std::string& printer, const TTestBytes& command, std::int32_t wanted,
                  TTestBytes& reply) {
        TTestBytes buffer(std::max<std::size_t>(command.size(), 256), 0);
        std::copy(command.begin(), command.end(), buffer.begin());
        std::int32_t length = wanted;
        bool ok =
            PortMonitorExchange(printer, buffer.data(), static_cast<std::int32_t>(command.size()),
                                buffer.data(), length);
        reply.assign(buffer.begin(), buffer.begin() + length);
        return ok;
    }
    std::vector<std::pair<std::string, TTestBytes>> Received() {
        return m_Devices["pb"]->Received();
    }
};

TEST_F(UtilDataSendTest, ExchangesThroughTheEmulatedMonitor) {
    auto& platform = Start();
    TTestBytes reply;
    ASSERT_TRUE(Exchange("Passbook", kReadCommand, 64, reply));
    EXPECT_EQ(reply, kReadReply);
    ASSERT_EQ(Received().size(), 1u);
    EXPECT_EQ(Received()[0].first, "monitor");
    EXPECT_EQ(Received()[0].second, kReadCommand);

    // Capped at what the caller wants.
    ASSERT_TRUE(Exchange("Passbook", kReadCommand, 6, reply));
    EXPECT_EQ(reply, TTestBytes(kReadReply.begin(), kReadReply.begin() + 6));

    // Bytes the printer sent before the command are not taken as its reply.
    m_Devices["pb"]->Unsolicited({0x55, 0x55});
    ASSERT_TRUE(Exchange("Passbook", kReadCommand, 64, reply));
    EXPECT_EQ(reply, kReadReply);

    // A write wants no reply and succeeds once the printer has it.
    ASSERT_TRUE(Exchange("Passbook", {0x1B, 0x1D, 0x1E, 0x10, 0x01, 0x1B, 0x1D, 0x1F}, 0, reply));
    EXPECT_TRUE(reply.empty());
    EXPECT_EQ(Received().size(), 4u);
    EXPECT_EQ(platform.OpenHandleCount(), 0u);
}

TEST_F(UtilDataSendTest, MonitorFailuresAreFailures) {
    m_Builder.Printer("Hasty", "USB002").Set("Device", "slow1").Set("MonitorTimeoutMs", "200");
    m_Builder.Printer("Patient", "USB003").Set("Device", "slow2").Set("MonitorTimeoutMs", "1000");
    m_Builder.Device("slow1").Set("ReplyDelayMs", "500");
    m_Builder.Device("slow2").Set("ReplyDelayMs", "500");
    m_Builder.Printer("Mute", "USB009").Set("Device", "mute");
    m_Builder.Device("mute").Set("Mute", "1");
    m_Builder.Printer("NoMonitor", "USB001").Set("Device", "pb").Set("Monitor", "0");
    m_Builder.Printer("User", "USB001").Set("Device", "pb").Set("FullAccess", "0");
    m_Builder.Printer("Empty", "USB001");
    auto& platform = Start();
    for (const char* id : {"slow1", "slow2", "mute"}) {
        platform.Device(id);
        m_Devices[id]->AnswerAny(kReadReply);
    }
    TTestBytes reply;

    // The reply comes after the monitor has given up; a patient monitor gets it.
    EXPECT_FALSE(Exchange("Hasty", kReadCommand, 64, reply));
    EXPECT_TRUE(reply.empty());
    EXPECT_TRUE(Exchange("Patient", kReadCommand, 64, reply));
    EXPECT_EQ(reply, kReadReply);

    // A printer that never answers: a read fails, a write still gets through.
    EXPECT_FALSE(Exchange("Mute", kReadCommand, 64, reply));
    EXPECT_TRUE(Exchange("Mute", kReadCommand, 0, reply));
    EXPECT_EQ(m_Devices["mute"]->Received().size(), 2u);

    // No monitor, no full access, nothing behind the port, no printer: nothing is sent.
    SetThreadLastError(0);
    EXPECT_FALSE(Exchange("NoMonitor", kReadCommand, 64, reply));
    EXPECT_EQ(GetThreadLastError(), kErrorFileNotFound);
    EXPECT_FALSE(Exchange("User", kReadCommand, 0, reply));
    EXPECT_FALSE(Exchange("Empty", kReadCommand, 0, reply));
    EXPECT_FALSE(Exchange("Missing", kReadCommand, 0, reply));
    EXPECT_TRUE(Received().empty());
}

TEST_F(UtilDataSendTest, LongPrinterNamesStillReachTheirPrinter) {
    // Only the first 31 characters fit the block; the monitor still knows the printer.
    const std::string name = "Talvenor QR-520 Passbook Printer (second floor)";
    m_Builder.Printer(name, "USB001").Set("Device", "pb");
    Start();
    TTestBytes reply;
    EXPECT_TRUE(Exchange(name, kReadCommand, 64, reply));
    EXPECT_EQ(reply, kReadReply);
}

TEST_F(UtilDataSendTest, TimeDataIsKeptWithThePrinter) {
    m_Builder.Printer("User", "USB001").Set("FullAccess", "0");
    Start();
    const std::u16string seed = u"2017/08/09 10:10:33 0";
    std::uint8_t buffer[100] = {};
    EXPECT_FALSE(GetTimeData("Passbook", buffer, sizeof buffer));
    ASSERT_TRUE(SetTimeData("Passbook", seed, static_cast<std::uint32_t>(seed.size() * 2)));
    ASSERT_TRUE(GetTimeData("Passbook", buffer, sizeof buffer));
    EXPECT_EQ(Utf16ToUtf8(std::string_view(reinterpret_cast<const char*>(buffer), 42)),
              "2017/08/09 10:10:33 0");
    EXPECT_EQ(buffer[42], 0);
    // Too small a buffer fails; a size past the text is cut to the text.
    EXPECT_FALSE(GetTimeData("Passbook", buffer, 41));
    ASSERT_TRUE(SetTimeData("Passbook", u"2024/01/02 03:04:05 7", 400));
    std::fill(std::begin(buffer), std::end(buffer), 0xFF);
    ASSERT_TRUE(GetTimeData("Passbook", buffer, sizeof buffer));
    EXPECT_EQ(buffer[42], 0xFF);

    // A user without the right to administer the printer can do neither; nothing is stored.
    EXPECT_FALSE(SetTimeData("User", seed, 42));
    EXPECT_FALSE(GetTimeData("User", buffer, sizeof buffer));
    EXPECT_EQ(m_Builder.StateText().find("User"), std::string::npos);

    // The value survives a restart.
    Start();
    std::fill(std::begin(buffer), std::end(buffer), 0);
    ASSERT_TRUE(GetTimeData("Passbook", buffer, sizeof buffer));
    EXPECT_EQ(Utf16ToUtf8(std::string_view(reinterpret_cast<const char*>(buffer), 42)),
              "2024/01/02 03:04:05 7");
}

TEST_F(UtilDataSendTest, TestPrintsAreRawJobsNamedPrintTest) {
    m_Builder.Printer("NoWrite", "USB001").Set("Device", "pb").Set("JobFault", "Write");
    m_Builder.Printer("NoDoc", "USB001").Set("Device", "pb").Set("JobFault", "StartDoc");
    Start();
    const std::uint8_t pattern[] = {0x1B, 0x40, 0x0C};
    EXPECT_TRUE(SendTestPrintJob("Passbook", pattern, 3));
    ASSERT_EQ(Received().size(), 1u);
    EXPECT_EQ(Received()[0].first, "job Print test");
    EXPECT_EQ(Received()[0].second, TTestBytes(pattern, pattern + 3));

    // A job whose data could not be written is a failure, not a test print.
    EXPECT_FALSE(SendTestPrintJob("NoWrite", pattern, 3));
    EXPECT_FALSE(SendTestPrintJob("NoDoc", pattern, 3));
    EXPECT_FALSE(SendTestPrintJob("Missing", pattern, 3));
    EXPECT_EQ(Received().size(), 1u);
}

TEST_F(UtilDataSendTest, VendorLibraryFunctionsForwardOrFailSoftly) {
    Start();
    ASSERT_TRUE(VendorUsbLibraryAvailable());
    ASSERT_EQ(USBPrintRefresh(), 1);
    char port[kUsbTextBufferSize] = {}, id[kUsbTextBufferSize] = {};
    GetUSBHWID(0, port, kUsbTextBufferSize, id, kUsbTextBufferSize);
    EXPECT_STREQ(port, "USB001");
    EXPECT_STREQ(id, "MFG:Talvenor;MDL:QR-520;");
    TIoHandle handle = OpenPrinterUSBPort(1);
    ASSERT_NE(handle, kInvalidIoHandle);
    EXPECT_EQ(WritePort(handle, kReadCommand.data(), 8, kUsbWriteTimeoutMs), 8);
    std::uint8_t buffer[32];
    SetThreadLastError(0);
    EXPECT_EQ(ReadPort(handle, buffer, 32, 1500), 10);
    EXPECT_EQ(GetThreadLastError(), kErrorSuccess);
    CloseUSBPort(handle);
    EXPECT_EQ(Received()[0].first, "usb");

    // A machine without the vendor library: no printers, no handle, failed writes and reads.
    m_Builder.Kernel("VendorLibrary", "0");
    Start();
    EXPECT_FALSE(VendorUsbLibraryAvailable());
    EXPECT_EQ(USBPrintRefresh(), 0);
    char untouched[4] = "abc";
    std::uint32_t size = 4;
    GetUSBPrintFileName(0, untouched, size);
    GetUSBHWID(0, untouched, 4, untouched, 4);
    EXPECT_STREQ(untouched, "abc");
    EXPECT_EQ(OpenPrinterUSBPort(1), kInvalidIoHandle);
    EXPECT_EQ(WritePort(kInvalidIoHandle, buffer, 1, kUsbWriteTimeoutMs), kUsbWriteFailed);
    SetThreadLastError(0);
    EXPECT_EQ(ReadPort(kInvalidIoHandle, buffer, 1, 10), 0);
    EXPECT_EQ(GetThreadLastError(), kErrorModNotFound);
}

}  // namespace
}  // namespace ps
