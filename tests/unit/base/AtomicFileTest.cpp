// SPDX-License-Identifier: MIT
// Atomic file replacement: whole files only, with two writers at once and after failures.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "base/AtomicFile.h"
#include "support/TestSupport.h"

namespace ps {
namespace {

std::string ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

int CountEntries(const std::filesystem::path& dir) {
    int count = 0;
    for ([[maybe_unused]] auto& entry : std::filesystem::directory_iterator(dir)) ++count;
    return count;
}

// A values report of one writer: every line names the writer, so a mixed file shows.
std::string Report(char writer, int lines) {
    std::string text = "[CurrentValues]\r\n";
    for (int i = 0; i < lines; ++i) {
        text += std::to_string(i) + " = value of writer " + std::string(1, writer) + "\r\n";
    }
    return text;
}

TEST(AtomicFile, ReplacesWholeFileAndLeavesNoTemporary) {
    test::TTempDir dir;
    auto path = dir.Path() / "report";
    ASSERT_TRUE(WriteFileAtomically(path, "first version, longer"));
    ASSERT_TRUE(WriteFileAtomically(path, "second"));
    EXPECT_EQ(ReadAll(path), "second");
    std::string error;
    EXPECT_FALSE(WriteFileAtomically(dir.Path() / "missing-folder" / "x", "data", error));
    EXPECT_NE(error.find("missing-folder"), std::string::npos) << error;
    EXPECT_EQ(CountEntries(dir.Path()), 1);
}

#ifndef _WIN32
TEST(AtomicFile, TwoProcessesWritingAtOnceLeaveOneWholeReport) {
    test::TTempDir dir;
    const auto path = dir.Path() / "Talvenor Printer" / "QR-520";
    std::filesystem::create_directories(path.parent_path());
    // Big enough that one write takes a while, so writers that started together are writing
    // at the same time, and an unsafe temporary name that both use mixes their bytes.
    const std::string reportA = Report('A', 200000);
    const std::string reportB = Report('B', 200000);
    // Both writers start together and keep pace, so that a temporary name they could share
    // would be in use by both at once.
    int start[2];
    ASSERT_EQ(::pipe(start), 0);
    std::vector<pid_t> children;
    for (const std::string* report : {&reportA, &reportB}) {
        pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            char go = 0;
            ::close(start[1]);
            bool ok = ::read(start[0], &go, 1) == 1;
            for (int round = 0; round < 4 && ok; ++round) ok = WriteFileAtomically(path, *report);
            ::_exit(ok ? 0 : 1);
        }
        children.push_back(pid);
    }
    ::close(start[0]);
    ASSERT_EQ(::write(start[1], "gg", 2), 2);
    ::close(start[1]);
    // Meanwhile every look at the file finds one writer's report whole.
    int mixed = 0;
    for (int look = 0; look < 20; ++look) {
        const std::string seen = ReadAll(path);
        if (!seen.empty() && seen != reportA && seen != reportB) ++mixed;
    }
    for (pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    EXPECT_EQ(mixed, 0);
    const std::string last = ReadAll(path);
    EXPECT_TRUE(last == reportA || last == reportB) << last.size() << " bytes";
    EXPECT_EQ(CountEntries(path.parent_path()), 1);  // no temporary left behind
}
#endif

TEST(AtomicFile, ThreadsOfOneProcessDoNotShareTemporaryNames) {
    test::TTempDir dir;
    const auto path = dir.Path() / "menu.DAT";
    const std::string menuA = Report('A', 2000);
    const std::string menuB = Report('B', 2500);
    std::atomic<int> failures{0};
    std::mutex mutex;
    std::string why;
    std::vector<std::thread> writers;
    for (const std::string* menu : {&menuA, &menuB, &menuA, &menuB}) {
        writers.emplace_back([&, menu] {
            for (int round = 0; round < 25; ++round) {
                std::string error;
                if (WriteFileAtomically(path, *menu, error)) continue;
                ++failures;
                std::lock_guard lock(mutex);
                why = error;
            }
        });
    }
    for (auto& writer : writers) writer.join();
    EXPECT_EQ(failures, 0) << why;
    const std::string last = ReadAll(path);
    EXPECT_TRUE(last == menuA || last == menuB);
    EXPECT_EQ(CountEntries(dir.Path()), 1);
}

TEST(AtomicFile, APlantedLinkIsReplacedNotFollowed) {
    test::TTempDir dir;
    const auto target = dir.Path() / "elsewhere";
    { std::ofstream(target) << "do not touch"; }
    const auto path = dir.Path() / "report";
    std::error_code ec;
    std::filesystem::create_symlink(target, path, ec);
    if (ec) GTEST_SKIP() << "no symbolic links here: " << ec.message();
    ASSERT_TRUE(WriteFileAtomically(path, "report"));
    EXPECT_EQ(ReadAll(target), "do not touch");
    EXPECT_FALSE(std::filesystem::is_symlink(path));
    EXPECT_EQ(ReadAll(path), "report");
}

TEST(AtomicFile, AFailedRenameLeavesWhatWasThereAndNoTemporary) {
    test::TTempDir dir;
    const auto path = dir.Path() / "report";
    std::filesystem::create_directories(path / "inside");  // a folder cannot be replaced
    std::string error;
    EXPECT_FALSE(WriteFileAtomically(path, "new", error));
    EXPECT_NE(error.find("cannot rename"), std::string::npos) << error;
    EXPECT_TRUE(std::filesystem::is_directory(path / "inside"));
    EXPECT_EQ(CountEntries(dir.Path()), 1);
}

}  // namespace
}  // namespace ps
