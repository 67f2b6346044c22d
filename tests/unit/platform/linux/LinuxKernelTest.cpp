// SPDX-License-Identifier: MIT
// The Linux backend's own mapping of Win32 names to POSIX ones, and the port-device route
// (file writes on device nodes) against a fake kernel that behaves as the drivers do.
#include <gtest/gtest.h>

#include "FakeUsblpSystem.h"
#include "platform/linux/LinuxKernel.h"

namespace ps {
namespace {

TEST(LinuxKernel, MapsWin32NamesToPosixOnes) {
    EXPECT_EQ(PosixDevicePath("\\\\?\\LPT1"), "/dev/lp0");
    EXPECT_EQ(PosixDevicePath("\\\\.\\COM2"), "/dev/ttyS1");
    EXPECT_EQ(PosixDevicePath("COM101"), "/dev/ttyUSB0");  // as serial queues are named
    EXPECT_EQ(PosixDevicePath("COM203"), "/dev/ttyACM2");
    EXPECT_EQ(PosixDevicePath("USB003"), "/dev/usb/lp2");
    EXPECT_EQ(PosixDevicePath("usb001"), "/dev/usb/lp0");
    EXPECT_EQ(PosixDevicePath("\\\\?\\LPT"), "LPT");
    EXPECT_EQ(PosixDevicePath("\\\\?\\COM1x"), "COM1x");
    EXPECT_EQ(PosixDevicePath("/tmp/dir\\out.prn"), "/tmp/dir/out.prn");
}

class LinuxKernelDeviceTest : public ::testing::Test {
protected:
    LinuxKernelDeviceTest() {
        auto fake = std::make_unique<test::TFakeUsblpSystem>(m_Clock);
        m_pFake = fake.get();
        m_pKernel = std::make_unique<TLinuxKernel>(&m_Clock, std::move(fake));
    }
    // WritePortDevice's calls: open the port as typed, one write, close.
    bool WritePort(const std::string& port, const std::string& data, std::uint32_t timeoutMs) {
        TLinuxKernel& kernel = *m_pKernel;
        const TIoHandle handle =
            kernel.OpenFileHandle("\\\\?\\" + port, true, true, TFileCreation::OpenExisting);
        if (handle == kInvalidIoHandle) return false;
        EXPECT_TRUE(kernel.SetIoTimeouts(handle, timeoutMs, timeoutMs));
        std::uint32_t written = 0;
        const bool ok = kernel.WriteHandle(
            handle, std::span(reinterpret_cast<const std::uint8_t*>(data.data()), data.size()),
            written);
        const std::string text = ThreadLastErrorText();
        kernel.CloseHandle(handle);
        SetThreadLastError(GetThreadLastError(), text);
        return ok;
    }

    TVirtualClock m_Clock;
    test::TFakeUsblpSystem* m_pFake = nullptr;
    std::unique_ptr<TLinuxKernel> m_pKernel;
};

TEST_F(LinuxKernelDeviceTest, UsbPortWritesCountOnceThePrinterHasTakenThem) {
    auto& printer = m_pFake->Plug(2, "MFG:Talvenor;MDL:QR-520;", "A1");
    printer.drainMs = 50;
    // A typed name follows the rule of listed names: USB003 is minor 2.
    ASSERT_TRUE(WritePort("USB003", "\x1B\x1D\x1E\x05\x01\x1B\x1D\x1F", 2000));
    EXPECT_EQ(printer.received, "\x1B\x1D\x1E\x05\x01\x1B\x1D\x1F");

    printer.drainMs = 0;  // the transfer never ends
    EXPECT_FALSE(WritePort("USB003", "\x1B\x1D\x1E\x05\x01\x1B\x1D\x1F", 2000));
    EXPECT_EQ(GetThreadLastError(), kErrorTimeout);
    EXPECT_NE(ThreadLastErrorText().find("took 0 of 8 bytes"), std::string::npos)
        << ThreadLastErrorText();

    // The printer listed on a name is the one written to: another on its node is refused.
    ASSERT_EQ(m_pKernel->LoadVendorUsbLibrary()->USBPrintRefresh(), 1);
    m_pFake->Unplug(2);
    m_pFake->Plug(2, "MFG:Talvenor;MDL:QR-520;", "B2");
    EXPECT_FALSE(WritePort("USB003", "x", 2000));
    EXPECT_NE(ThreadLastErrorText().find("not the one listed"), std::string::npos);
    EXPECT_EQ(m_pFake->Printer(2).received, "");
    EXPECT_FALSE(WritePort("USB005", "x", 2000));
    EXPECT_NE(ThreadLastErrorText().find("USB005 (/dev/usb/lp4) is not attached"),
              std::string::npos)
        << ThreadLastErrorText();
}

TEST_F(LinuxKernelDeviceTest, ParallelPortWritesUseTheDriversOwnTimeOut) {
    // The lp driver has no poll: a descriptor always reads as ready, so waiting in poll spins.
    ASSERT_TRUE(WritePort("LPT1", "\x1B\x1D\x1E\x05\x01\x1B\x1D\x1F", 2500));
    auto& port = m_pFake->Parallel(0);
    EXPECT_EQ(port.received, "\x1B\x1D\x1E\x05\x01\x1B\x1D\x1F");
    EXPECT_EQ(port.timeoutMs, 2500);
    EXPECT_TRUE(port.abortOnError);
    EXPECT_TRUE(port.blockingWrite);
    EXPECT_EQ(port.polls, 0);

    // A printer without paper ends the write at once, and says so.
    port.writeErrno = ENOSPC;
    EXPECT_FALSE(WritePort("LPT1", "x", 2500));
    EXPECT_EQ(ThreadLastErrorText(), "the printer on the parallel port is out of paper");
}

}  // namespace
}  // namespace ps
