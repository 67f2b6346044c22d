// SPDX-License-Identifier: MIT
// Loading the vendor's USB library: its seven functions through one table, the thread's
// last-error value carried both ways, a library without all of them refused, none planted in
// the current folder ever loaded, and our own library when there is none.
#include <gtest/gtest.h>

#include "base/os/Win32Text.h"
#include "platform/win32/VendorUsbDll.h"
#include "platform/win32/Win32.h"
#include "platform/win32/Win32Kernel.h"
#include "support/TestSupport.h"

namespace ps::win32 {
namespace {

TEST(VendorUsbDllTest, TheSevenFunctionsAreCalledThroughTheTable) {
    auto library = LoadVendorUsbDll(Widen(PS_FAKE_VENDOR_DLL).c_str());
    ASSERT_TRUE(library) << ThreadLastErrorText();
    ASSERT_EQ(library->USBPrintRefresh(), 2);
    char port[1024] = {};
    char id[1024] = {};
    library->GetUSBHWID(1, port, sizeof port, id, sizeof id);
    EXPECT_STREQ(port, "USB002");
    EXPECT_STREQ(id, "MFG:Talvenor;MDL:QJ-760;");
    char path[1024] = {};
    std::uint32_t size = sizeof path;
    library->GetUSBPrintFileName(0, path, size);
    EXPECT_STREQ(path, "\\\\?\\fake#printer#1");
    char small[4] = {};
    size = sizeof small;
    library->GetUSBPrintFileName(0, small, size);
    EXPECT_EQ(size, 19u);  // the size it needs comes back through the in/out size

    EXPECT_EQ(library->OpenPrinterUSBPort(3), kInvalidIoHandle);
    EXPECT_EQ(GetThreadLastError(), kErrorFileNotFound);
    const TIoHandle handle = library->OpenPrinterUSBPort(1);
    ASSERT_NE(handle, kInvalidIoHandle);
    const std::uint8_t command[] = {0x1B, 0x1D, 0x1E, 0x05, 0x01, 0x1B, 0x1D, 0x1F};
    EXPECT_EQ(library->WritePort(handle, command, 8, 2000), 8);
    // The caller clears the value and the library leaves it alone on success: the cleared
    // value, not a stale Win32 one, is what the caller finds after a read that worked...
    std::uint8_t reply[16] = {};
    ::SetLastError(ERROR_GEN_FAILURE);
    SetThreadLastError(0);
    EXPECT_EQ(library->ReadPort(handle, reply, 16, 100), 3);
    EXPECT_EQ(GetThreadLastError(), kErrorSuccess);
    // ...and the library's own code after one that did not.
    SetThreadLastError(0);
    EXPECT_EQ(library->ReadPort(handle, reply, 16, 100), 0);
    EXPECT_EQ(GetThreadLastError(), kErrorTimeout);
    EXPECT_TRUE(CancelIo(reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(handle))));
    library->CloseUSBPort(handle);
}

TEST(VendorUsbDllTest, ALibraryWithoutEveryFunctionOrInTheCurrentFolderIsNotUsed) {
    EXPECT_FALSE(LoadVendorUsbDll(Widen(PS_FAKE_VENDOR_DLL_INCOMPLETE).c_str()));
    EXPECT_EQ(GetThreadLastError(), static_cast<TSysError>(ERROR_PROC_NOT_FOUND));

    // A complete library under the vendor's name, planted in the current folder: not loaded.
    test::TTempDir dir;
    ASSERT_TRUE(
        CopyFileW(Widen(PS_FAKE_VENDOR_DLL).c_str(), (dir.Path() / "RUZ_EV.DLL").c_str(), FALSE));
    wchar_t previous[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryW(dir.Path().c_str()));
    auto planted = LoadVendorUsbDll();
    SetCurrentDirectoryW(previous);
    EXPECT_FALSE(planted);
    EXPECT_EQ(GetThreadLastError(), static_cast<TSysError>(ERROR_MOD_NOT_FOUND));

    // Without the vendor's library the kernel offers ours, the same object every time.
    TScaledClock clock;
    TWin32Kernel kernel(clock, MakeUsbPrintSystem(clock));
    TVendorUsbLibrary* library = kernel.LoadVendorUsbLibrary();
    ASSERT_NE(library, nullptr);
    EXPECT_NE(dynamic_cast<TUsbPrintLibrary*>(library), nullptr);
    EXPECT_EQ(kernel.LoadVendorUsbLibrary(), library);
}

}  // namespace
}  // namespace ps::win32
