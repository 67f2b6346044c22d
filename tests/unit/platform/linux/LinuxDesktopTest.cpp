// SPDX-License-Identifier: MIT
// Per-user printer data, the single-instance lock and the addresses the shell hands on.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/linux/LinuxDesktop.h"
#include "platform/linux/LinuxKernel.h"
#include "platform/linux/PrinterDataStore.h"
#include "support/EmulationDirBuilder.h"
#include "support/TestSupport.h"

namespace ps {
namespace {

std::span<const std::uint8_t> Bytes(const std::string& text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

TEST(PrinterDataStore, ValuesPerQueueSurviveAndAreReadBackWhole) {
    test::TTempDir dir;
    const auto file = dir.Path() / "state" / "printer-settings" / "printer-data.ini";
    TPrinterDataStore store(file);
    std::uint8_t buffer[64] = {};
    std::uint32_t type = 0, needed = 0;
    EXPECT_EQ(store.Get("Talvenor_QR-520", "TimeData", type, buffer, needed), kErrorFileNotFound);

    const std::string timeData("2\0000\0001\0007\0", 8);
    ASSERT_EQ(store.Set("Talvenor_QR-520", "TimeData", 1, Bytes(timeData)), kErrorSuccess);
    EXPECT_EQ(store.Set("Other", "TimeData", 1, Bytes("x")), kErrorSuccess);
    struct stat info {};
    ASSERT_EQ(::stat(file.parent_path().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);

    // Another store on the same file (a later run) reads it; queue names ignore case.
    TPrinterDataStore later(file);
    ASSERT_EQ(later.Get("talvenor_qr-520", "TimeData", type, buffer, needed), kErrorSuccess);
    EXPECT_EQ(type, 1u);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), needed), timeData);
    EXPECT_EQ(later.Get("Talvenor_QR-520", "TimeData", type, std::span(buffer, 4), needed),
              kErrorMoreData);
    EXPECT_EQ(needed, 8u);
    EXPECT_EQ(later.Set("Q", "Bad=Name", 1, Bytes("x")), kErrorInvalidParameter);
    EXPECT_EQ(later.Set("Q", "Big", 3, Bytes(std::string(2000, 'b'))), kErrorInvalidParameter);
    EXPECT_EQ(TPrinterDataStore({}).Set("Q", "TimeData", 1, Bytes("x")), kErrorFileNotFound);
}

TEST(PrinterDataStore, WritesOfTwoProgramsAtOnceKeepEachOther) {
    test::TTempDir dir;
    const auto file = dir.Path() / "printer-data.ini";
    constexpr int kWrites = 40;
    // Two programs write values of their own queue at once; each write reads the file, changes
    // one value and replaces the file, so without the lock one replacement drops the other's.
    auto writeAll = [&](const std::string& queue) {
        TPrinterDataStore store(file);
        for (int i = 0; i < kWrites; ++i)
            if (store.Set(queue, "V" + std::to_string(i), 1, Bytes("x")) != kErrorSuccess)
                return false;
        return true;
    };
    const pid_t child = ::fork();
    if (child == 0) ::_exit(writeAll("Child") ? 0 : 1);
    EXPECT_TRUE(writeAll("Parent"));
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

    TPrinterDataStore store(file);
    int kept = 0;
    for (const char* queue : {"Parent", "Child"}) {
        for (int i = 0; i < kWrites; ++i) {
            std::uint8_t buffer[8];
            std::uint32_t type = 0, needed = 0;
            kept +=
                store.Get(queue, "V" + std::to_string(i), type, buffer, needed) == kErrorSuccess;
        }
    }
    EXPECT_EQ(kept, 2 * kWrites);
}

TEST(LinuxDesktop, OnlyWebAddressesAreOpened) {
    EXPECT_TRUE(IsWebAddress("https://www.talvenor.com"));
    EXPECT_TRUE(IsWebAddress("HTTP://talvenor.com/support?q=1"));
    for (const std::string bad :
         {"file:///etc/passwd", "javascript:alert(1)", "--help", "https://", "https:///local",
          "https://a b", "http://x\n", "ftp://host", "/usr/bin/xterm"})
        EXPECT_FALSE(IsWebAddress(bad)) << bad;

    test::TTempDir dir;
    const auto marker = dir.Path() / "opened";
    const auto script =
        dir.Write("fake-open", "#!/bin/sh\nprintf '%s' \"$1\" > '" + marker.string() + "'\n");
    ::chmod(script.c_str(), 0755);
    TXdgShell shell(script.string());
    EXPECT_FALSE(shell.OpenUrl("file:///etc/passwd"));
    EXPECT_EQ(GetThreadLastError(), kErrorInvalidParameter);
    ASSERT_TRUE(shell.OpenUrl("https://www.talvenor.com"));
    for (int i = 0; i < 200 && test::ReadFileBytes(marker).empty(); ++i) ::usleep(10000);
    EXPECT_EQ(test::ReadFileBytes(marker), "https://www.talvenor.com");
    EXPECT_FALSE(TXdgShell("/no/such/program").OpenUrl("https://www.talvenor.com"));
}

TEST(LinuxDesktop, OneMainWindowPerUserFolder) {
    test::TTempDir dir;
    TLinuxKernel kernel;
    const std::string folder = dir.Path().string() + "/";
    TLockFileSingleInstance single(kernel, folder);
    EXPECT_FALSE(single.FindWindowClass("TfrmMainView2"));
    {
        auto registration = single.RegisterWindowClass("TfrmMainView2");
        EXPECT_TRUE(single.FindWindowClass("TfrmMainView2"));
        EXPECT_FALSE(single.FindWindowClass("TfrmOther"));
        // Another process of the same user sees it too.
        const pid_t child = ::fork();
        if (child == 0) {
            TLockFileSingleInstance other(kernel, folder);
            ::_exit(other.FindWindowClass("TfrmMainView2") ? 0 : 1);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    EXPECT_FALSE(single.FindWindowClass("TfrmMainView2"));  // gone with its window
}

}  // namespace
}  // namespace ps
