// SPDX-License-Identifier: MIT
// Our vendor-library contract over the USB printing class, against a scripted driver:
// enumeration and its order, device IDs, ports by index, writes and reads with time-outs and
// the last-error values the callers test.
#include <gtest/gtest.h>

#include <cstring>

#include "FakeUsbPrintSystem.h"
#include "platform/win32/UsbPrintLibrary.h"

namespace ps::win32 {
namespace {

class UsbPrintLibraryTest : public ::testing::Test {
protected:
    TVirtualClock m_Clock;
    test::TFakeUsbPrintSystem m_Usb{m_Clock};
    TUsbPrintLibrary m_Library{m_Usb};

    std::string PortName(int index) {
        char port[1024] = "untouched";
        char id[1024] = "untouched";
        m_Library.GetUSBHWID(index, port, sizeof port, id, sizeof id);
        return std::string(port) + "|" + id;
    }
};

TEST_F(UsbPrintLibraryTest, PrintersAreListedByPortNumberWithTheirIdsAndPaths) {
    m_Usb.Add("\\\\?\\usb#vid_2&pid_7#b#{28d78fad}", "USB002", "MFG:Talvenor;MDL:QR-520;");
    m_Usb.Add("\\\\?\\usb#vid_2&pid_9#a#{28d78fad}", "USB001", "MFG:Talvenor;MDL:QJ-760;\r\n");
    m_Usb.Add("\\\\?\\usb#vid_5&pid_1#c#{28d78fad}", "", "MFG:Other;MDL:X;");
    // Printing right now: the spooler holds the device, so its ID cannot be asked.
    m_Usb.Add("\\\\?\\usb#vid_2&pid_7#d#{28d78fad}", "USB010", "MFG:Talvenor;MDL:QR-520;")
        .openError = ERROR_ACCESS_DENIED;

    ASSERT_EQ(m_Library.USBPrintRefresh(), 4);
    EXPECT_EQ(PortName(0), "USB001|MFG:Talvenor;MDL:QJ-760;");
    EXPECT_EQ(PortName(1), "USB002|MFG:Talvenor;MDL:QR-520;");
    EXPECT_EQ(PortName(2), "USB010|");            // listed, without an ID
    EXPECT_EQ(PortName(3), "|MFG:Other;MDL:X;");  // no spooler port: last
    EXPECT_EQ(PortName(4), "untouched|untouched");
    EXPECT_EQ(m_Usb.OpenCount(), 0);  // every device asked is closed again

    char path[1024] = {};
    std::uint32_t size = sizeof path;
    m_Library.GetUSBPrintFileName(1, path, size);
    EXPECT_STREQ(path, "\\\\?\\usb#vid_2&pid_7#b#{28d78fad}");
    EXPECT_EQ(size, 1024u);
    // Too small: nothing stored, the size needed is given back.
    char small[8] = "keep";
    size = sizeof small;
    m_Library.GetUSBPrintFileName(1, small, size);
    EXPECT_STREQ(small, "keep");
    EXPECT_EQ(size, std::strlen(path) + 1);
    // Port names and IDs are cut to their buffers.
    char port[4];
    char id[8];
    m_Library.GetUSBHWID(0, port, sizeof port, id, sizeof id);
    EXPECT_STREQ(port, "USB");
    EXPECT_STREQ(id, "MFG:Tal");
}

TEST_F(UsbPrintLibraryTest, WritesAndReadsEndInTimeWithTheCodesCallersTest) {
    auto& printer = m_Usb.Add("\\\\?\\usb#a", "USB001", "MFG:Talvenor;MDL:QR-520;");
    ASSERT_EQ(m_Library.USBPrintRefresh(), 1);
    EXPECT_EQ(m_Library.OpenPrinterUSBPort(0), kInvalidIoHandle);
    EXPECT_EQ(m_Library.OpenPrinterUSBPort(2), kInvalidIoHandle);
    EXPECT_EQ(GetThreadLastError(), kErrorFileNotFound);
    const TIoHandle port = m_Library.OpenPrinterUSBPort(1);
    ASSERT_NE(port, kInvalidIoHandle);
    // One open at a time, as the driver allows: a second fails with the driver's code.
    EXPECT_EQ(m_Library.OpenPrinterUSBPort(1), kInvalidIoHandle);
    EXPECT_EQ(GetThreadLastError(), kErrorAccessDenied);

    const std::uint8_t command[] = {0x1B, 0x1D, 0x1E, 0x05, 0x01, 0x1B, 0x1D, 0x1F};
    EXPECT_EQ(m_Library.WritePort(port, command, 8, 2000), 8);
    EXPECT_EQ(GetThreadLastError(), kErrorSuccess);
    EXPECT_EQ(printer.written, std::string("\x1B\x1D\x1E\x05\x01\x1B\x1D\x1F", 8));
    // A printer that takes part of it: the count, which callers compare with the length.
    printer.writeLimit = 3;
    EXPECT_EQ(m_Library.WritePort(port, command, 8, 2000), 3);
    EXPECT_EQ(GetThreadLastError(), kErrorTimeout);
    // A write that fails outright: the distinct -2.
    printer.writeError = ERROR_GEN_FAILURE;
    EXPECT_EQ(m_Library.WritePort(port, command, 8, 2000), -2);

    // The reply is due in 50 ms: a read of 100 ms gets it; the rest of a longer reply that
    // is due later is not there for a read of 100 ms, but is for the next one.
    const std::uint64_t start = m_Clock.NowMs();
    printer.replies.push_back({start + 50, "\x1B\x1D\x1E\x05\x03"});
    printer.replies.push_back({start + 400, "\x01\x1B\x1D\x1F"});
    std::uint8_t reply[64] = {};
    SetThreadLastError(0);
    EXPECT_EQ(m_Library.ReadPort(port, reply, 64, 100), 5);
    EXPECT_EQ(GetThreadLastError(), kErrorSuccess);
    SetThreadLastError(0);
    EXPECT_EQ(m_Library.ReadPort(port, reply, 64, 100), 0);
    EXPECT_EQ(GetThreadLastError(), kErrorTimeout);
    EXPECT_EQ(m_Clock.NowMs(), start + 150);  // waited out its time-out, no longer
    SetThreadLastError(0);
    EXPECT_EQ(m_Library.ReadPort(port, reply, 64, 500), 4);
    EXPECT_EQ(GetThreadLastError(), kErrorSuccess);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(reply), 4), "\x01\x1B\x1D\x1F");

    m_Library.CloseUSBPort(port);
    EXPECT_EQ(m_Usb.OpenCount(), 0);
    EXPECT_EQ(m_Library.WritePort(kInvalidIoHandle, command, 8, 2000), -2);
}

}  // namespace
}  // namespace ps::win32
