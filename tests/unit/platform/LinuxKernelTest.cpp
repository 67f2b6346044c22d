// SPDX-License-Identifier: MIT
// The Linux kernel's contract: private temporary folder, private shared memory, I/O deadlines
// and short writes, local time and separators.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "platform/linux/LinuxKernel.h"
#include "support/TestSupport.h"

namespace ps {
namespace {

namespace fs = std::filesystem;

// Sets an environment variable for the scope, putting the old value back after.
class TScopedEnv {
public:
    TScopedEnv(const char* name, const char* value) : m_Name(name) {
        if (const char* old = std::getenv(name)) m_Old = old;
        if (value) {
            ::setenv(name, value, 1);
        } else {
            ::unsetenv(name);
        }
        if (m_Name == "TZ") ::tzset();
    }
    ~TScopedEnv() {
        if (m_Old) {
            ::setenv(m_Name.c_str(), m_Old->c_str(), 1);
        } else {
            ::unsetenv(m_Name.c_str());
        }
        if (m_Name == "TZ") ::tzset();
    }

private:
    std::string m_Name;
    std::optional<std::string> m_Old;
};

unsigned Mode(const fs::path& path) {
    struct stat info {};
    EXPECT_EQ(::lstat(path.c_str(), &info), 0);
    return info.st_mode & 07777;
}

const std::string kUid = std::to_string(::geteuid());

TEST(LinuxKernelTest, DrivePathsAreTestedFromTheRootAndFoldersDoNotCount) {
    test::TTempDir dir;
    const auto file = dir.Write("RORirad", "");
    std::filesystem::create_directories(dir.Path() / "folder");
    TLinuxKernel kernel;
    EXPECT_TRUE(kernel.RegularFileExists(file.string()));
    std::string drive = "c:" + file.string();
    for (char& c : drive) {
        if (c == '/') c = '\\';
    }
    EXPECT_TRUE(kernel.RegularFileExists(drive));  // "c:\tmp\...\RORirad" is /tmp/.../RORirad
    EXPECT_FALSE(kernel.RegularFileExists((dir.Path() / "folder").string()));
    EXPECT_FALSE(kernel.RegularFileExists((dir.Path() / "none").string()));
    EXPECT_FALSE(kernel.RegularFileExists("c:"));
}

TEST(LinuxKernelTest, TheTemporaryFolderIsTheUsersOwn) {
    EXPECT_EQ(PrivateTempFolderPath("/run/user/1000", "/var/tmp", 1000),
              "/run/user/1000/printer-settings");
    EXPECT_EQ(PrivateTempFolderPath("/run/user/1000/", nullptr, 1000),
              "/run/user/1000/printer-settings");
    EXPECT_EQ(PrivateTempFolderPath("relative", "/var/tmp/", 1000),
              "/var/tmp/printer-settings-1000");
    EXPECT_EQ(PrivateTempFolderPath("", "", 1000), "/tmp/printer-settings-1000");
    EXPECT_EQ(PrivateTempFolderPath(nullptr, nullptr, 0), "/tmp/printer-settings-0");
    EXPECT_EQ(PrivateTempFolderPath(nullptr, "/", 7), "/printer-settings-7");

    test::TTempDir dir;
    TLinuxKernel kernel;
    {
        TScopedEnv xdg("XDG_RUNTIME_DIR", dir.Path().c_str());
        const std::string temp = kernel.GetTempPath();
        EXPECT_EQ(temp, (dir.Path() / "printer-settings").string() + "/");
        EXPECT_EQ(Mode(dir.Path() / "printer-settings"), 0700u);
        EXPECT_EQ(kernel.GetTempPath(), temp);  // the second call uses what the first made
    }
    {
        TScopedEnv xdg("XDG_RUNTIME_DIR", nullptr);
        TScopedEnv tmp("TMPDIR", (dir.Path() / "t/").c_str());
        fs::create_directories(dir.Path() / "t");
        EXPECT_EQ(kernel.GetTempPath(),
                  (dir.Path() / "t" / ("printer-settings-" + kUid)).string() + "/");
        EXPECT_EQ(Mode(dir.Path() / "t" / ("printer-settings-" + kUid)), 0700u);
    }
}

TEST(LinuxKernelTest, APlantedLinkAtTheTemporaryFolderIsRefused) {
    test::TTempDir dir;
    const fs::path elsewhere = dir.Path() / "attacker";
    fs::create_directory(elsewhere);
    fs::permissions(elsewhere, fs::perms::owner_all);
    const fs::path folder = dir.Path() / ("printer-settings-" + kUid);
    fs::create_directory_symlink(elsewhere, folder);

    TScopedEnv xdg("XDG_RUNTIME_DIR", nullptr);
    TScopedEnv tmp("TMPDIR", dir.Path().c_str());
    TLinuxKernel kernel;
    SetThreadLastError(0);
    EXPECT_EQ(kernel.GetTempPath(), "");
    EXPECT_EQ(GetThreadLastError(), kErrorAccessDenied);
    const std::string text = ThreadLastErrorText();
    EXPECT_NE(text.find(folder.string()), std::string::npos) << text;
    EXPECT_NE(text.find("symbolic link"), std::string::npos) << text;
    EXPECT_TRUE(fs::is_empty(elsewhere));  // nothing was made through the link

    // A file at the name is refused as well.
    fs::remove(folder);
    { std::ofstream(folder) << "x"; }
    EXPECT_EQ(kernel.GetTempPath(), "");
    EXPECT_NE(ThreadLastErrorText().find("not a folder"), std::string::npos);
}

TEST(LinuxKernelTest, AFolderWithWiderModeOrAnotherOwnerIsRefused) {
    test::TTempDir dir;
    const std::string folder = (dir.Path() / "private").string();
    std::string problem;
    ASSERT_TRUE(MakePrivateFolder(folder, problem)) << problem;
    EXPECT_EQ(Mode(folder), 0700u);

    ::chmod(folder.c_str(), 0755);
    EXPECT_FALSE(MakePrivateFolder(folder, problem));
    EXPECT_NE(problem.find("mode 0755"), std::string::npos) << problem;
    ::chmod(folder.c_str(), 0770);
    EXPECT_FALSE(MakePrivateFolder(folder, problem));
    ::chmod(folder.c_str(), 0700);
    EXPECT_TRUE(MakePrivateFolder(folder, problem)) << problem;

    // Another user's folder: only the superuser can make one to try it with.
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(folder.c_str(), 4242, 4242), 0);
        EXPECT_FALSE(MakePrivateFolder(folder, problem));
        EXPECT_NE(problem.find("belongs to user id 4242"), std::string::npos) << problem;
    }

    // A parent that does not exist cannot hold it.
    EXPECT_FALSE(MakePrivateFolder((dir.Path() / "no" / "such").string(), problem));
    EXPECT_NE(problem.find("cannot create"), std::string::npos) << problem;
}

TEST(LinuxKernelTest, SharedMemoryStaysInTheProcess) {
    auto shmEntries = [] {
        std::vector<std::string> names;
        std::error_code ec;
        for (const auto& entry : fs::directory_iterator("/dev/shm", ec)) {
            names.push_back(entry.path().filename().string());
        }
        return names;
    };
    const auto before = shmEntries();
    TLinuxKernel kernel;
    const std::string name = "Session\\" + std::to_string(::getpid()) + "\\DOZIV_EDI1";
    auto block = kernel.CreateSharedMemory(name, 65536);
    ASSERT_TRUE(block);
    auto view = block->Map();
    ASSERT_EQ(view->Bytes().size(), 65536u);
    EXPECT_EQ(view->Bytes()[65535], 0);
    for (const std::string& entry : shmEntries()) {
        EXPECT_EQ(entry.find("DOZIV"), std::string::npos) << entry;
    }
    EXPECT_EQ(shmEntries().size(), before.size());

    // Another kernel (another process, as far as its memory goes) does not see the block.
    TLinuxKernel other;
    EXPECT_FALSE(other.OpenSharedMemory(name));

    // Too small a block for what is asked is an error, not a mapping past its end.
    auto small = kernel.CreateSharedMemory("Session\\9\\small", 100);
    ASSERT_TRUE(small);
    SetThreadLastError(0);
    EXPECT_FALSE(kernel.CreateSharedMemory("Session\\9\\small", 65536));
    EXPECT_EQ(GetThreadLastError(), kErrorInsufficientBuffer);
}

// A named pipe stands in for a device that takes bytes slowly or answers late.
class LinuxKernelIoTest : public ::testing::Test {
protected:
    LinuxKernelIoTest() : m_Kernel(&m_Clock) {
        m_Fifo = m_Dir.Path() / "device";
        EXPECT_EQ(::mkfifo(m_Fifo.c_str(), 0600), 0);
        m_Handle =
            m_Kernel.OpenFileHandle(m_Fifo.string(), true, true, TFileCreation::OpenExisting);
        EXPECT_NE(m_Handle, kInvalidIoHandle);
    }
    ~LinuxKernelIoTest() override { m_Kernel.CloseHandle(m_Handle); }

    test::TTempDir m_Dir;
    TVirtualClock m_Clock;
    TLinuxKernel m_Kernel;
    fs::path m_Fifo;
    TIoHandle m_Handle = kInvalidIoHandle;
};

TEST_F(LinuxKernelIoTest, AReadWithNothingToReadEndsAtItsDeadline) {
    std::uint8_t buffer[16];
    std::uint32_t read = 99;
    ASSERT_TRUE(m_Kernel.SetIoTimeouts(m_Handle, 200, 200));
    SetThreadLastError(0);
    EXPECT_FALSE(m_Kernel.ReadHandle(m_Handle, buffer, read));
    EXPECT_EQ(read, 0u);
    EXPECT_EQ(GetThreadLastError(), kErrorTimeout);
    // The deadline is the platform clock's: a virtual clock has moved on by it, no more.
    EXPECT_GE(m_Clock.NowMs(), 200u);
    EXPECT_LT(m_Clock.NowMs(), 200u + 40u);

    // What is there is read at once.
    const std::uint8_t reply[] = {0x1B, 0x1D, 0x1E, 0x05};
    std::uint32_t written = 0;
    ASSERT_TRUE(m_Kernel.WriteHandle(m_Handle, reply, written));
    EXPECT_EQ(written, 4u);
    const std::uint64_t before = m_Clock.NowMs();
    ASSERT_TRUE(m_Kernel.ReadHandle(m_Handle, buffer, read));
    EXPECT_EQ(read, 4u);
    EXPECT_EQ(buffer[3], 0x05);
    EXPECT_EQ(m_Clock.NowMs(), before);

    // Timeouts of a handle that is not open cannot be set.
    EXPECT_FALSE(m_Kernel.SetIoTimeouts(static_cast<TIoHandle>(9999), 1, 1));
    EXPECT_EQ(GetThreadLastError(), kErrorInvalidHandle);
}

TEST_F(LinuxKernelIoTest, AShortWriteFailsAndSaysHowMuchGotOut) {
    ASSERT_TRUE(m_Kernel.SetIoTimeouts(m_Handle, 100, 300));
    // Nobody reads the pipe: it takes its capacity and then nothing more.
    const std::vector<std::uint8_t> job(1 << 20, 0x55);
    std::uint32_t written = 0;
    SetThreadLastError(0);
    EXPECT_FALSE(m_Kernel.WriteHandle(m_Handle, job, written));
    EXPECT_GT(written, 0u);
    EXPECT_LT(written, job.size());
    EXPECT_EQ(GetThreadLastError(), kErrorTimeout);
    EXPECT_NE(ThreadLastErrorText().find(std::to_string(written) + " of 1048576"),
              std::string::npos)
        << ThreadLastErrorText();
    EXPECT_GE(m_Clock.NowMs(), 300u);
}

TEST(LinuxKernelTimeTest, LocalTimeAndBiasFollowTheTimeZone) {
    TLinuxKernel kernel;
    {
        TScopedEnv tz("TZ", "UTC0");
        EXPECT_EQ(kernel.GetTimeZoneBias(), 0);
    }
    {
        TScopedEnv tz("TZ", "CST-8");
        EXPECT_EQ(kernel.GetTimeZoneBias(), -480);
    }
    {
        // Half-hour zones keep their half hour.
        TScopedEnv tz("TZ", "IST-5:30");
        EXPECT_EQ(kernel.GetTimeZoneBias(), -330);
        const std::time_t shifted = std::time(nullptr) + 5 * 3600 + 30 * 60;
        std::tm want{};
        ::gmtime_r(&shifted, &want);
        auto got = kernel.GetLocalTime();
        ASSERT_TRUE(got);
        const int gotMinutes = got->hour * 60 + got->minute;
        const int wantMinutes = want.tm_hour * 60 + want.tm_min;
        EXPECT_TRUE(gotMinutes == wantMinutes || (gotMinutes + 1) % 1440 == wantMinutes)
            << gotMinutes << " vs " << wantMinutes;
        EXPECT_EQ(got->dayOfWeek, static_cast<std::uint16_t>(want.tm_wday));
        EXPECT_LT(got->milliseconds, 1000);
    }
    // Standard time only, whether daylight saving is on: at any time of year one of these two
    // zones is in it.
    {
        TScopedEnv tz("TZ", "EST5EDT,M3.2.0,M11.1.0");
        EXPECT_EQ(kernel.GetTimeZoneBias(), 300);
    }
    {
        TScopedEnv tz("TZ", "AEST-10AEDT,M10.1.0,M4.1.0/3");
        EXPECT_EQ(kernel.GetTimeZoneBias(), -600);
    }
}

TEST(LinuxKernelTimeTest, SeparatorsComeFromTheDateAndTimeFormats) {
    EXPECT_EQ(SeparatorOfFormat("%m/%d/%y", '/'), '/');
    EXPECT_EQ(SeparatorOfFormat("%d.%m.%Y", '/'), '.');
    EXPECT_EQ(SeparatorOfFormat("%Y-%m-%d", '/'), '-');
    EXPECT_EQ(SeparatorOfFormat("%-d/%-m/%Y", '?'), '/');
    EXPECT_EQ(SeparatorOfFormat("%H:%M:%S", ':'), ':');
    EXPECT_EQ(SeparatorOfFormat("%H.%M.%S", ':'), '.');
    EXPECT_EQ(SeparatorOfFormat("%Y\xE5\xB9\xB4%m\xE6\x9C\x88%d\xE6\x97\xA5", '/'), '/');
    EXPECT_EQ(SeparatorOfFormat("%e %B %Y", '/'), '/');
    EXPECT_EQ(SeparatorOfFormat("", ':'), ':');

    TScopedEnv all("LC_ALL", "C");
    TLinuxKernel kernel;
    EXPECT_EQ(kernel.GetDateSeparator(), '/');
    EXPECT_EQ(kernel.GetTimeSeparator(), ':');
}

}  // namespace
}  // namespace ps
