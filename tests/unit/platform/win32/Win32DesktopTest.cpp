// SPDX-License-Identifier: MIT
// The single-instance window and the shell's refusals, on the window system of Wine or Windows.
#include <gtest/gtest.h>

#include "base/os/Win32Text.h"
#include "platform/win32/Win32.h"
#include "platform/win32/Win32Desktop.h"

namespace ps::win32 {
namespace {

TEST(Win32DesktopTest, TheMainWindowClassIsFoundWhileItsHiddenWindowLives) {
    TWin32SingleInstance single;
    // A class of this run only, so a program left open on the desktop cannot answer.
    const std::string className = "TfrmMainView2-test-" + std::to_string(GetCurrentProcessId());
    EXPECT_FALSE(single.FindWindowClass(className));
    {
        auto registration = single.RegisterWindowClass(className);
        ASSERT_TRUE(registration);
        EXPECT_TRUE(single.FindWindowClass(className));
        const HWND window = FindWindowW(Widen(className).c_str(), nullptr);
        ASSERT_NE(window, nullptr);
        EXPECT_FALSE(IsWindowVisible(window));
        // It answers the messages every top-level window gets, on its own thread.
        DWORD_PTR result = 0;
        EXPECT_NE(SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &result), 0);
        // A second registration in the same process (run mode 1 after the main window).
        auto again = single.RegisterWindowClass(className);
        EXPECT_TRUE(single.FindWindowClass(className));
    }
    EXPECT_FALSE(single.FindWindowClass(className));
    single.BringProgramToFront();  // no visible window: nothing to do, nothing happens
}

TEST(Win32DesktopTest, TheShellIsHandedWebAddressesOnly) {
    TWin32Shell shell;
    for (const char* bad : {"file:///c:/windows/system32/calc.exe", "c:\\windows\\notepad.exe",
                            "https://", "http://x y", "mailto:a@b"}) {
        SetThreadLastError(0);
        EXPECT_FALSE(shell.OpenUrl(bad)) << bad;
        EXPECT_EQ(GetThreadLastError(), kErrorInvalidParameter) << bad;
    }
}

}  // namespace
}  // namespace ps::win32
