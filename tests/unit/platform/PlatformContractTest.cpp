// SPDX-License-Identifier: MIT
// What every backend inherits: a service it does not provide says "not supported on this
// platform" in the thread's last error, distinct from a missing printer, file or device.
#include <gtest/gtest.h>

#include <thread>

#include "platform/Platform.h"

namespace ps {
namespace {

// A backend that provides only what it must.
class TBareKernel : public TKernel {
public:
    std::uint16_t GetSystemDefaultLangID() override { return 0x0409; }
    std::string GetTempPath() override { return "/nowhere/"; }
    std::optional<std::string> DecodeLegacyText(std::string_view, std::uint16_t) override {
        return std::nullopt;
    }
};

class TBarePlatform : public TPlatform {
public:
    TKernel& Kernel() override { return m_Kernel; }
    TClock& Clock() override { return m_Clock; }

private:
    TBareKernel m_Kernel;
    TVirtualClock m_Clock;
};

// Runs a call after clearing the last error and says whether it left kErrorNotSupported.
template <typename TCall>
::testing::AssertionResult LeavesNotSupported(TCall call) {
    SetThreadLastError(kErrorSuccess);
    call();
    if (GetThreadLastError() != kErrorNotSupported)
        return ::testing::AssertionFailure() << "last error " << GetThreadLastError();
    if (ThreadLastErrorText() != "not supported on this platform")
        return ::testing::AssertionFailure() << ThreadLastErrorText();
    return ::testing::AssertionSuccess();
}

TEST(PlatformContract, KernelServicesABackendLacksSayNotSupported) {
    TBareKernel kernel;
    std::uint8_t buffer[4] = {};
    std::uint32_t count = 7;
    const auto handle = static_cast<TIoHandle>(0x104);
    ::testing::internal::CaptureStderr();
    EXPECT_TRUE(LeavesNotSupported([&] { EXPECT_EQ(kernel.GetTimeZoneBias(), 0); }));
    EXPECT_TRUE(LeavesNotSupported([&] { EXPECT_FALSE(kernel.GetLocalTime()); }));
    EXPECT_TRUE(LeavesNotSupported([&] { EXPECT_EQ(kernel.GetProgramPath(), ""); }));
    EXPECT_TRUE(LeavesNotSupported([&] { EXPECT_FALSE(kernel.RegularFileExists("c:\\x")); }));
    EXPECT_TRUE(LeavesNotSupported([&] { EXPECT_FALSE(kernel.CreateSharedMemory("S", 16)); }));
    EXPECT_TRUE(LeavesNotSupported([&] { EXPECT_FALSE(kernel.OpenSharedMemory("S")); }));
    EXPECT_TRUE(LeavesNotSupported([&] {
        EXPECT_EQ(kernel.OpenFileHandle("LPT1", true, true, TFileCreation::OpenExisting),
                  kInvalidIoHandle);
    }));
    EXPECT_TRUE(
        LeavesNotSupported([&] { EXPECT_FALSE(kernel.ReadHandle(handle, buffer, count)); }));
    EXPECT_EQ(count, 0u);
    count = 7;
    EXPECT_TRUE(
        LeavesNotSupported([&] { EXPECT_FALSE(kernel.WriteHandle(handle, buffer, count)); }));
    EXPECT_EQ(count, 0u);
    EXPECT_TRUE(LeavesNotSupported([&] { EXPECT_FALSE(kernel.SetIoTimeouts(handle, 1, 1)); }));
    EXPECT_TRUE(LeavesNotSupported([&] { EXPECT_FALSE(kernel.CancelIo(handle)); }));
    EXPECT_TRUE(LeavesNotSupported([&] { EXPECT_FALSE(kernel.CloseHandle(handle)); }));
    EXPECT_TRUE(
        LeavesNotSupported([&] { EXPECT_FALSE(kernel.UsbPrintGetLptStatus(handle, buffer[0])); }));
    EXPECT_TRUE(LeavesNotSupported([&] { EXPECT_EQ(kernel.LoadVendorUsbLibrary(), nullptr); }));
    ::testing::internal::GetCapturedStderr();

    // What every platform can answer without the machine's help.
    EXPECT_EQ(kernel.GetSessionId(), 0u);
    EXPECT_EQ(kernel.GetDateSeparator(), '/');
    EXPECT_EQ(kernel.GetTimeSeparator(), ':');
}

TEST(PlatformContract, DesktopServicesABackendLacksSayNotSupported) {
    InstallPlatform(std::make_unique<TBarePlatform>());
    ::testing::internal::CaptureStderr();
    EXPECT_TRUE(LeavesNotSupported(
        [] { EXPECT_FALSE(Platform().Spooler().Open("QR-520", TPrinterAccess::Default)); }));
    EXPECT_TRUE(
        LeavesNotSupported([] { EXPECT_FALSE(Platform().Spooler().GetDriverDirectory("")); }));
    EXPECT_TRUE(LeavesNotSupported([] { EXPECT_FALSE(Platform().Shell().OpenUrl("https://x")); }));
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("the print spooler is not supported on this platform"), std::string::npos)
        << said;
    EXPECT_NE(said.find("PRINTER_SETTINGS_EMULATION"), std::string::npos);
    // A missing printer on a platform that has a spooler is another error altogether.
    EXPECT_NE(SysErrorText(kErrorInvalidPrinterName), SysErrorText(kErrorNotSupported));
    EXPECT_TRUE(PlatformInstalled());
}

TEST(PlatformContract, TheLastErrorAndItsTextBelongToTheThread) {
    SetThreadLastError(kErrorAccessDenied, "the folder \"/tmp/x\" is a symbolic link");
    EXPECT_EQ(GetThreadLastError(), kErrorAccessDenied);
    EXPECT_EQ(ThreadLastErrorText(), "the folder \"/tmp/x\" is a symbolic link");
    std::thread([] {
        EXPECT_EQ(GetThreadLastError(), kErrorSuccess);
        SetThreadLastError(kErrorTimeout);
        EXPECT_EQ(ThreadLastErrorText(), "the operation did not finish in time");
    }).join();
    EXPECT_EQ(ThreadLastErrorText(), "the folder \"/tmp/x\" is a symbolic link");
    // A plain code forgets the detail of the one before.
    SetThreadLastError(kErrorFileNotFound);
    EXPECT_EQ(ThreadLastErrorText(), "the file or device does not exist");
    EXPECT_EQ(SysErrorText(99999), "system error 99999");
}

}  // namespace
}  // namespace ps
