// SPDX-License-Identifier: MIT
// Every route of the emulated platform into the printer emulator, end to end: port monitor,
// vendor USB library, spooler jobs, port device writes and the USB status request.
#include <gtest/gtest.h>

#include "platform/Platform.h"
#include "platform/emulated/EmulatedKernel.h"
#include "support/EmulationFixture.h"
#include "transport/TVPCOMM.h"
#include "transport/UtilDataSend.h"

namespace ps {
namespace {

using TBytes = std::vector<std::uint8_t>;

// Read item 0x10 (paper type) of the passbook printer, and its reply.
const TBytes kReadPaperType = {0x1B, 0x1D, 0x1E, 0x05, 0x03, 0x01, 0x10, 0x1B, 0x1D, 0x1F};
TBytes PaperTypeReply(std::uint8_t value) {
    return {0x1B, 0x1D, 0x1E, 0x05, 0x03, 0x01, 0x10, 0x01, value, 0x1B, 0x1D, 0x1F};
}

class EmulatorRouteTest : public test::TEmulationTest {
protected:
    EmulatorRouteTest() {
        m_Builder.Printer("Passbook", "USB001").Set("Device", "qr520");
        m_Builder.Printer("Receipt", "LPT1").Set("Device", "qr520");
        m_Builder.Device("qr520", "USB001", "MFG:Talvenor;MDL:QR-520;")
            .Set("Scheme", (test::SourceDir() / "resources/Scheme/QR-520_Settings.Dat").string())
            .Set("Values", "10=2")
            .Set("StatusByte", "0x00");
    }
    emu::TEmulatedPlatform& Start() { return StartEmulator(); }

    TBytes MonitorExchange(const TBytes& command, std::int32_t wanted, bool& ok) {
        TBytes buffer(256, 0);
        std::copy(command.begin(), command.end(), buffer.begin());
        std::int32_t length = wanted;
        ok = PortMonitorExchange("Passbook", buffer.data(),
                                 static_cast<std::int32_t>(command.size()), buffer.data(), length);
        return TBytes(buffer.begin(), buffer.begin() + length);
    }
};

TEST_F(EmulatorRouteTest, SettingThroughThePortMonitorPersists) {
    auto& platform = Start();
    ASSERT_TRUE(platform.Problems().empty());
    bool ok = false;
    EXPECT_EQ(MonitorExchange(kReadPaperType, 64, ok), PaperTypeReply(2));
    EXPECT_TRUE(ok);

    // Enter setting mode, write 3, save: one transmission, no reply wanted.
    TBytes write = {0x1B, 0x1D, 0x1E, 0x05, 0x01, 0x1B, 0x1D, 0x1F,              // enter
                    0x1B, 0x1D, 0x1E, 0x05, 0x04, 0x10, 0x03, 0x1B, 0x1D, 0x1F,  // item 10 = 3
                    0x1B, 0x1D, 0x1E, 0x05, 0x02, 0x1B, 0x1D, 0x1F};             // save
    EXPECT_TRUE(MonitorExchange(write, 0, ok).empty());
    EXPECT_TRUE(ok);
    EXPECT_EQ(MonitorExchange(kReadPaperType, 64, ok), PaperTypeReply(3));

    auto log = m_Builder.CommandLog("qr520");
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0], "monitor 1B 1D 1E 05 03 01 10 1B 1D 1F");

    // A second run sees what the first wrote.
    Start();
    EXPECT_EQ(MonitorExchange(kReadPaperType, 64, ok), PaperTypeReply(3));
    EXPECT_EQ(m_Builder.CommandLog("qr520").size(), 4u);
}

TEST_F(EmulatorRouteTest, UsbJobPortAndStatusRoutes) {
    auto& platform = Start();

    // Vendor USB library: write the read command, read the reply, then time out.
    ASSERT_EQ(USBPrintRefresh(), 1);
    TIoHandle handle = OpenPrinterUSBPort(1);
    ASSERT_NE(handle, kInvalidIoHandle);
    ASSERT_EQ(WritePort(handle, kReadPaperType.data(), 10, kUsbWriteTimeoutMs), 10);
    std::uint8_t buffer[64] = {};
    SetThreadLastError(0);
    std::int32_t n = ReadPort(handle, buffer, 64, 1500);
    EXPECT_EQ(GetThreadLastError(), kErrorSuccess);
    EXPECT_EQ(TBytes(buffer, buffer + n), PaperTypeReply(2));
    EXPECT_EQ(ReadPort(handle, buffer, 64, 100), 0);
    EXPECT_EQ(GetThreadLastError(), kErrorTimeout);
    CloseUSBPort(handle);

    // A raw job is printed; a port device write arrives as "port".
    const std::uint8_t pattern[] = {0x1B, 0x40, 'O', 'K', 0x0C};
    EXPECT_TRUE(SendTestPrintJob("Passbook", pattern, sizeof pattern));
    TScopedIoHandle port(
        Platform().Kernel().OpenFileHandle("\\\\?\\LPT1", true, true, TFileCreation::OpenExisting));
    ASSERT_TRUE(port.Valid());
    std::uint32_t written = 0;
    EXPECT_TRUE(Platform().Kernel().WriteHandle(port.Get(), TBytes{0x1B, 0x40}, written));
    port.Reset();

    // The status request on the device path the library reports.
    char path[kUsbTextBufferSize] = {};
    std::uint32_t size = kUsbTextBufferSize;
    GetUSBPrintFileName(0, path, size);
    TScopedIoHandle device(
        Platform().Kernel().OpenFileHandle(path, true, true, TFileCreation::OpenExisting));
    ASSERT_TRUE(device.Valid());
    std::uint8_t status = 0xFF;
    ASSERT_TRUE(Platform().Kernel().UsbPrintGetLptStatus(device.Get(), status));
    EXPECT_EQ(status, 0x00);
    device.Reset();

    auto log = m_Builder.CommandLog("qr520");
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0], "usb 1B 1D 1E 05 03 01 10 1B 1D 1F");
    EXPECT_EQ(log[1], "job Print test 1B 40 4F 4B 0C");
    EXPECT_EQ(log[2], "port 1B 40");
    bool printed = false;
    for (const auto& entry :
         std::filesystem::directory_iterator(m_Builder.DeviceDir("qr520") / "printed")) {
        printed = printed || test::ReadFileBytes(entry.path()) == "\x1B\x40OK\x0C";
    }
    EXPECT_TRUE(printed);
    EXPECT_EQ(platform.OpenHandleCount(), 0u);
}

}  // namespace
}  // namespace ps
