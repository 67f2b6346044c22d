// SPDX-License-Identifier: MIT
// The Linux backend's own mapping of Win32 names to POSIX ones.
#include <gtest/gtest.h>

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

}  // namespace
}  // namespace ps
