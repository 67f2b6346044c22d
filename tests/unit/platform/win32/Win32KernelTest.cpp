// SPDX-License-Identifier: MIT
// The Windows kernel's contract, run under Wine or on Windows: the session's named block and
// its size check, the temporary folder in its long form, code pages, language, local time and
// separators, UTF-16 paths, I/O deadlines on a real pipe.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <thread>

#include "base/PathText.h"
#include "base/os/Win32Text.h"
#include "platform/Platform.h"
#include "platform/win32/Win32.h"
#include "platform/win32/Win32Handles.h"
#include "platform/win32/Win32Kernel.h"
#include "support/TestSupport.h"

namespace ps::win32 {
namespace {

class Win32KernelTest : public ::testing::Test {
protected:
    TScaledClock m_Clock;
    TWin32Kernel m_Kernel{m_Clock, MakeUsbPrintSystem(m_Clock)};
};

std::wstring SessionBlockName(DWORD session) {
    return L"Session\\" + std::to_wstring(session) + L"\\DOZIV_EDI1";
}

TEST_F(Win32KernelTest, TheMonitorBlockIsTheSessionsNamedSectionAndIsRefusedWhenTooSmall) {
    DWORD session = 0;
    ASSERT_TRUE(ProcessIdToSessionId(GetCurrentProcessId(), &session));
    EXPECT_EQ(m_Kernel.GetSessionId(), session);
    const std::wstring name = SessionBlockName(session);

    auto block = m_Kernel.CreateSharedMemory(Narrow(name), 65536);
    ASSERT_TRUE(block) << ThreadLastErrorText();
    auto view = block->Map();
    ASSERT_TRUE(view);
    ASSERT_EQ(view->Bytes().size(), 65536u);
    view->Bytes()[64] = 'Q';
    // Another component (the vendor's monitor) opens it by that name with the plain Win32 call,
    // and in this session's namespace ("Local\" of this session).
    for (const std::wstring& other : {name, std::wstring(L"Local\\DOZIV_EDI1")}) {
        TKernelHandle opened(OpenFileMappingW(FILE_MAP_READ, FALSE, other.c_str()));
        ASSERT_TRUE(opened) << Narrow(other);
        TView seen(MapViewOfFile(opened.Get(), FILE_MAP_READ, 0, 0, 0));
        ASSERT_TRUE(seen);
        EXPECT_EQ(static_cast<const char*>(seen.Get())[64], 'Q');
    }
    view.reset();
    block.reset();
    EXPECT_FALSE(m_Kernel.OpenSharedMemory(Narrow(name)));
    EXPECT_EQ(GetThreadLastError(), kErrorFileNotFound);

    // Someone made the name first, one page small: the block is refused, never written past.
    TKernelHandle squatter(
        CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 4096, name.c_str()));
    ASSERT_TRUE(squatter);
    EXPECT_FALSE(m_Kernel.CreateSharedMemory(Narrow(name), 65536));
    EXPECT_EQ(GetThreadLastError(), kErrorInsufficientBuffer);
    EXPECT_NE(ThreadLastErrorText().find("4096"), std::string::npos) << ThreadLastErrorText();
}

TEST_F(Win32KernelTest, TheTemporaryFolderIsTheLongFormWithItsSeparator) {
    test::TTempDir dir;
    const std::filesystem::path longFolder = dir.Path() / "Printer Settings Temporary Files";
    std::filesystem::create_directories(longFolder);
    wchar_t shortName[MAX_PATH] = {};
    ASSERT_NE(GetShortPathNameW(longFolder.c_str(), shortName, MAX_PATH), 0u);
    ASSERT_NE(std::wstring(shortName), longFolder.wstring()) << "no 8.3 names on this volume";
    test::TScopedEnvironment tmp("TMP", Narrow(shortName));
    test::TScopedEnvironment temp("TEMP", Narrow(shortName));
    const std::string reported = m_Kernel.GetTempPath();
    EXPECT_EQ(reported, PathToUtf8(longFolder) + "\\");
}

TEST_F(Win32KernelTest, LegacyTextDecodesInTheCodePageOfTheLanguage) {
    // "打印" in GBK, "印刷" in Shift_JIS, "列印" in Big5, "Größe" in Windows-1252.
    EXPECT_EQ(m_Kernel.DecodeLegacyText("\xB4\xF2\xD3\xA1", 0x0804), "\xE6\x89\x93\xE5\x8D\xB0");
    EXPECT_EQ(m_Kernel.DecodeLegacyText("\x88\xF3\x8D\xFC", 0x0411), "\xE5\x8D\xB0\xE5\x88\xB7");
    EXPECT_EQ(m_Kernel.DecodeLegacyText("\xA6\x43\xA6\x4C", 0x1404), "\xE5\x88\x97\xE5\x8D\xB0");
    EXPECT_EQ(m_Kernel.DecodeLegacyText("Gr\xF6\xDF"
                                        "e",
                                        0x0409),
              "Gr\xC3\xB6\xC3\x9F"
              "e");
    // A lead byte without its trail byte is no GBK text.
    EXPECT_EQ(m_Kernel.DecodeLegacyText("\xB4", 0x0804), std::nullopt);
}

// The locale and zone come from the test's environment (a second run under Wine sets LC_ALL
// and TZ); without expectations set, the answers are checked against each other.
TEST_F(Win32KernelTest, LanguageLocalTimeAndSeparatorsFollowTheUsersSettings) {
    if (const char* lang = std::getenv("PS_EXPECT_LANGID")) {
        EXPECT_EQ(m_Kernel.GetSystemDefaultLangID(), std::strtoul(lang, nullptr, 16));
    }
    if (const char* date = std::getenv("PS_EXPECT_DATE_SEPARATOR")) {
        EXPECT_EQ(m_Kernel.GetDateSeparator(), date[0]);
    }
    if (const char* time = std::getenv("PS_EXPECT_TIME_SEPARATOR")) {
        EXPECT_EQ(m_Kernel.GetTimeSeparator(), time[0]);
    }
    const std::int32_t bias = m_Kernel.GetTimeZoneBias();
    if (const char* expected = std::getenv("PS_EXPECT_BIAS")) {
        EXPECT_EQ(bias, std::atoi(expected));
    }

    // Local time is UTC minus the bias (daylight saving aside: the expected zones have none).
    const auto utc = m_Kernel.GetSystemTime();
    const auto local = m_Kernel.GetLocalTime();
    ASSERT_TRUE(utc && local);
    const int utcMinutes = utc->hour * 60 + utc->minute;
    const int localMinutes = local->hour * 60 + local->minute;
    const int offset = ((localMinutes - utcMinutes) % 1440 + 1440 + 720) % 1440 - 720;
    if (std::getenv("PS_EXPECT_BIAS")) {
        EXPECT_LE(std::abs(offset + bias), 1) << offset;
    }
    EXPECT_GE(local->month, 1);
    EXPECT_LE(local->month, 12);
    EXPECT_LE(local->dayOfWeek, 6);
}

TEST_F(Win32KernelTest, FilesWithChineseNamesAreTheirUtf16Names) {
    test::TTempDir dir;
    // "打印机 设置" / "菜单.DAT"
    const std::string folder = PathToUtf8(dir.Path()) +
                               "\\\xE6\x89\x93\xE5\x8D\xB0\xE6\x9C\xBA "
                               "\xE8\xAE\xBE\xE7\xBD\xAE";
    ASSERT_TRUE(CreateDirectoryW(Widen(folder).c_str(), nullptr));
    const std::string file = folder + "\\\xE8\x8F\x9C\xE5\x8D\x95.DAT";

    EXPECT_EQ(m_Kernel.OpenFileHandle(file, true, false, TFileCreation::OpenExisting),
              kInvalidIoHandle);
    EXPECT_EQ(GetThreadLastError(), kErrorFileNotFound);
    EXPECT_FALSE(ThreadLastErrorText().empty());
    TIoHandle handle = m_Kernel.OpenFileHandle(file, true, true, TFileCreation::CreateAlways);
    ASSERT_NE(handle, kInvalidIoHandle) << ThreadLastErrorText();
    const std::uint8_t first[] = {'[', 'x', ']'};
    const std::uint8_t second[] = {'\r', '\n'};
    std::uint32_t written = 0;
    EXPECT_TRUE(m_Kernel.WriteHandle(handle, first, written));
    EXPECT_TRUE(m_Kernel.WriteHandle(handle, second, written));  // after the first, not over it
    std::uint8_t status = 0;
    EXPECT_FALSE(m_Kernel.UsbPrintGetLptStatus(handle, status));  // a file is no USB printer
    EXPECT_TRUE(m_Kernel.CloseHandle(handle));

    // The file is there under its UTF-16 name, as another program sees it.
    const std::wstring wide = L"\\\u83DC\u5355.DAT";
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileW((Widen(folder) + wide).c_str(), &found);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    FindClose(search);
    EXPECT_EQ(std::wstring(found.cFileName), wide.substr(1));
    EXPECT_EQ(found.nFileSizeLow, 5u);
    EXPECT_TRUE(m_Kernel.RegularFileExists(file));
    EXPECT_FALSE(m_Kernel.RegularFileExists(folder));  // a folder does not count
}

TEST_F(Win32KernelTest, ReadsAndWritesEndAtTheirDeadlines) {
    const std::wstring name =
        L"\\\\.\\pipe\\ps-test-" + std::to_wstring(GetCurrentProcessId()) + L"-deadline";
    TFileHandle server(CreateNamedPipeW(name.c_str(), PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED,
                                        PIPE_TYPE_BYTE | PIPE_WAIT, 1, 64, 64, 0, nullptr));
    ASSERT_TRUE(server);
    TIoHandle client =
        m_Kernel.OpenFileHandle(Narrow(name), true, true, TFileCreation::OpenExisting);
    ASSERT_NE(client, kInvalidIoHandle) << ThreadLastErrorText();
    ASSERT_TRUE(m_Kernel.SetIoTimeouts(client, 150, 150));

    // Nothing to read: the read ends with the time-out code after its deadline, not before.
    std::uint8_t buffer[16];
    std::uint32_t count = 0;
    const std::uint64_t start = m_Clock.NowMs();
    EXPECT_FALSE(m_Kernel.ReadHandle(client, buffer, count));
    EXPECT_EQ(GetThreadLastError(), kErrorTimeout);
    EXPECT_GE(m_Clock.NowMs() - start, 140u);
    EXPECT_LT(m_Clock.NowMs() - start, 2000u);

    // Bytes that come while a read waits are what it returns.
    std::thread writer([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        DWORD done = 0;
        OVERLAPPED request{};
        TKernelHandle event(CreateEventW(nullptr, TRUE, FALSE, nullptr));
        request.hEvent = event.Get();
        if (!WriteFile(server.Get(), "\x1B\x1D\x1E", 3, nullptr, &request))
            GetOverlappedResult(server.Get(), &request, &done, TRUE);
    });
    ASSERT_TRUE(m_Kernel.SetIoTimeouts(client, 2000, 150));
    EXPECT_TRUE(m_Kernel.ReadHandle(client, buffer, count)) << ThreadLastErrorText();
    writer.join();
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), count), "\x1B\x1D\x1E");

    // Nobody reads the pipe: a write larger than its buffer stops at the deadline and says how
    // much got out.
    const std::string big(4096, 'x');
    std::uint32_t written = 0;
    EXPECT_FALSE(m_Kernel.WriteHandle(
        client, std::span(reinterpret_cast<const std::uint8_t*>(big.data()), big.size()), written));
    EXPECT_EQ(GetThreadLastError(), kErrorTimeout);
    EXPECT_LT(written, big.size());
    EXPECT_TRUE(m_Kernel.CloseHandle(client));
    EXPECT_FALSE(m_Kernel.CloseHandle(kInvalidIoHandle));
}

}  // namespace
}  // namespace ps::win32
