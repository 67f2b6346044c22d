// SPDX-License-Identifier: MIT
// Reading files whose path may come from outside: only plain files of a bounded size.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "base/FileSystem.h"
#include "support/TestSupport.h"

namespace ps {
namespace {

fs::TReadFileResult Read(const std::filesystem::path& path, std::size_t maxBytes,
                         std::string& bytes) {
    std::string error;
    const auto result =
        fs::ReadRegularFile(path, maxBytes, fs::TFinalLink::Refuse, 5000, bytes, error);
    if (result != fs::TReadFileResult::Read) {
        EXPECT_FALSE(error.empty());
    }
    return result;
}

TEST(ReadRegularFile, TakesPlainFilesUpToTheBoundAndNothingElse) {
    test::TTempDir dir;
    std::string bytes = "left over";
    EXPECT_EQ(Read(dir.Write("plain.ini", "[A]\nB=1\n"), 8, bytes), fs::TReadFileResult::Read);
    EXPECT_EQ(bytes, "[A]\nB=1\n");

    // One byte over the bound: refused whole, nothing half-read handed on.
    EXPECT_EQ(Read(dir.Write("long.ini", "[A]\nB=12\n"), 8, bytes), fs::TReadFileResult::Refused);
    EXPECT_EQ(bytes, "");
    EXPECT_EQ(Read(dir.Path() / "missing.ini", 8, bytes), fs::TReadFileResult::Missing);
    EXPECT_NE(Read(dir.Path(), 8, bytes), fs::TReadFileResult::Read);

    // A device reads without end (or never answers); it is refused before any read.
#ifdef _WIN32
    const std::filesystem::path device = "NUL";
#else
    const std::filesystem::path device = "/dev/zero";
#endif
    EXPECT_NE(Read(device, 8, bytes), fs::TReadFileResult::Read);
    EXPECT_EQ(bytes, "");
}

}  // namespace
}  // namespace ps
