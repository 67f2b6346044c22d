// SPDX-License-Identifier: MIT
// The native kernel services, the failing defaults, and the choice of backend at start.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "base/PathText.h"
#include "platform/NativeServices.h"
#include "platform/Platform.h"
#include "platform/PlatformSelect.h"
#include "support/EmulationDirBuilder.h"
#include "support/TestSupport.h"

namespace ps {
namespace {

TEST(NativePlatformTest, KernelFilesAndSharedMemory) {
    const std::unique_ptr<TKernel> native = MakeNativeKernel();
    TKernel& kernel = *native;
    test::TTempDir dir;
    const std::string path = PathToUtf8(dir.Path() / "out.prn");

    TIoHandle file = kernel.OpenFileHandle(path, true, true, TFileCreation::OpenExisting);
    EXPECT_EQ(file, kInvalidIoHandle);
    EXPECT_EQ(GetThreadLastError(), kErrorFileNotFound);
    file = kernel.OpenFileHandle(path, true, true, TFileCreation::CreateAlways);
    ASSERT_NE(file, kInvalidIoHandle);
    const std::uint8_t data[] = {0x1B, 0x40, 0x0C};
    std::uint32_t written = 0;
    EXPECT_TRUE(kernel.WriteHandle(file, data, written));
    EXPECT_EQ(written, 3u);
    std::uint8_t status = 0;
    EXPECT_FALSE(kernel.UsbPrintGetLptStatus(file, status));  // not a printer device
    EXPECT_TRUE(kernel.CancelIo(file));
    EXPECT_TRUE(kernel.CloseHandle(file));
    EXPECT_FALSE(kernel.CloseHandle(file));
    EXPECT_EQ(test::ReadFileBytes(path), "\x1B\x40\x0C");

    // No backslash: on Windows that would name a folder of the object namespace.
    const std::string name = "ps-test-" +
                             std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                             "-" + PathToUtf8(dir.Path().filename());
    EXPECT_FALSE(kernel.OpenSharedMemory(name));
    auto created = kernel.CreateSharedMemory(name, 4096);
    ASSERT_TRUE(created);
    auto view = created->Map();
    ASSERT_TRUE(view);
    ASSERT_EQ(view->Bytes().size(), 4096u);
    view->Bytes()[100] = 0x42;
    auto opened = kernel.OpenSharedMemory(name);
    ASSERT_TRUE(opened);
    EXPECT_EQ(opened->Map()->Bytes()[100], 0x42);
    // The memory goes with its last handle and view.
    view.reset();
    created.reset();
    EXPECT_TRUE(kernel.OpenSharedMemory(name));
    opened.reset();
    EXPECT_FALSE(kernel.OpenSharedMemory(name));
    EXPECT_EQ(GetThreadLastError(), kErrorFileNotFound);
}

TEST(NativePlatformTest, MissingServicesFailAndSayHowToEmulate) {
    test::InstallTestPlatform();
    ::testing::internal::CaptureStderr();
    SetThreadLastError(0);
    EXPECT_FALSE(Platform().Spooler().Open("Any", TPrinterAccess::Default));
    EXPECT_EQ(GetThreadLastError(), kErrorNotSupported);
    EXPECT_FALSE(Platform().Spooler().Open("Other", TPrinterAccess::Full));
    EXPECT_FALSE(Platform().Shell().OpenUrl("https://www.talvenor.com"));
    EXPECT_EQ(GetThreadLastError(), kErrorNotSupported);
#if defined(__linux__) || defined(_WIN32)
    // The native kernels bring the vendor library's contract themselves (usblp devices, the
    // USB printing class).
    EXPECT_NE(Platform().Kernel().LoadVendorUsbLibrary(), nullptr);
#else
    EXPECT_EQ(Platform().Kernel().LoadVendorUsbLibrary(), nullptr);
    EXPECT_EQ(GetThreadLastError(), kErrorNotSupported);
#endif
    EXPECT_FALSE(Platform().SingleInstance().FindWindowClass("TfrmMainView2"));
    const std::string said = ::testing::internal::GetCapturedStderr();
    // Said exactly once per service, each time naming the variable. (Once per process: the
    // test relies on being the first to ask, as each test runs in its own process.)
    auto count = [&](const std::string& what) {
        std::size_t n = 0;
        for (auto at = said.find(what); at != std::string::npos; at = said.find(what, at + 1)) ++n;
        return n;
    };
    EXPECT_EQ(count("the print spooler is not supported on this platform yet"), 1u) << said;
    EXPECT_EQ(count("the desktop shell is not supported on this platform yet"), 1u) << said;
    EXPECT_EQ(count("set PRINTER_SETTINGS_EMULATION to an emulation directory"),
              count("is not supported on this platform yet"))
        << said;
}

TEST(NativePlatformTest, TheVariableChoosesTheEmulatedPlatform) {
    test::TTempDir dir;
    test::TEmulationDirBuilder builder(dir.Path());
    builder.Printer("Demo", "USB001");
    builder.Write();

    {
        test::TScopedEnvironment emulation(kEmulationVariable, PathToUtf8(dir.Path()));
        InstallDefaultPlatform();
        EXPECT_TRUE(Platform().Spooler().Open("Demo", TPrinterAccess::Default));
    }

    ::testing::internal::CaptureStderr();
    InstallDefaultPlatform();
    EXPECT_FALSE(Platform().Spooler().Open("Demo", TPrinterAccess::Default));
    ::testing::internal::GetCapturedStderr();
    test::InstallTestPlatform();
}

}  // namespace
}  // namespace ps
