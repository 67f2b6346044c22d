// SPDX-License-Identifier: MIT
// printer-settings --demo: the shipped demo printers, copied to a folder of the user's own.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "ProgramRunner.h"
#include "support/TestSupport.h"

namespace ps::test {
namespace {

namespace fs = std::filesystem;

class DemoE2E : public ::testing::Test {
protected:
    TProgramResult Run(const std::vector<std::string>& args) {
        std::vector<std::string> all = {"--demo"};
        all.insert(all.end(), args.begin(), args.end());
        return RunProgram(
            PRINTER_SETTINGS_BIN, all,
            {{"XDG_STATE_HOME", m_State.Path().string()}, {"PRINTER_SETTINGS_EMULATION", ""}});
    }

    fs::path Folder() const { return m_State.Path() / "printer-settings" / "demo"; }
    fs::path Emulation() const { return Folder() / "emulation" / "demo"; }

    TTempDir m_State;
};

fs::perms Mode(const fs::path& path) {
    return fs::status(path).permissions() & fs::perms::mask;
}

TEST_F(DemoE2E, EachRunStartsFromAFreshPrivateCopyUnlessKept) {
    TProgramResult first = Run({"Talvenor QR-520", "101"});
    ASSERT_EQ(first.exitCode, 0) << first.err;
    EXPECT_NE(first.err.find(Emulation().string() + " (a fresh copy)"), std::string::npos)
        << first.err;
    EXPECT_TRUE(fs::is_regular_file(Emulation() / "temp" / "Talvenor Printer" / "Talvenor QR-520"));
    EXPECT_EQ(Mode(Folder()), fs::perms::owner_all);
    EXPECT_EQ(Mode(Folder().parent_path()), fs::perms::owner_all);

    // What the last run left in the folder stays with --keep, and only then.
    std::ofstream(Emulation() / "notes.txt") << "trainee's notes";
    ASSERT_EQ(Run({"--keep", "Talvenor QR-520", "101"}).exitCode, 0);
    EXPECT_TRUE(fs::exists(Emulation() / "notes.txt"));
    ASSERT_EQ(Run({"Talvenor QR-520", "101"}).exitCode, 0);
    EXPECT_FALSE(fs::exists(Emulation() / "notes.txt"));
    EXPECT_EQ(Mode(Folder()), fs::perms::owner_all);
}

TEST_F(DemoE2E, WithoutADisplayTheWindowlessRunModesStandInForTheWindow) {
    const TProgramResult result = Run({});
    EXPECT_EQ(result.exitCode, 3) << result.err;
    const std::string& out = result.out;
    EXPECT_NE(out.find("No display: running the window-less demo instead."), std::string::npos);
    EXPECT_NE(out.find("$ printer-settings \"Talvenor QR-520\" \"101\"\n(exit status 0)\n"
                       "--- values report of Talvenor QR-520:\n[CurrentValues]\n"),
              std::string::npos)
        << out;
    EXPECT_NE(out.find("$ printer-settings \"Talvenor QJ-760\" \"102\"\n(exit status 0)\n"
                       "--- menu downloaded from Talvenor QJ-760: "),
              std::string::npos)
        << out;
    EXPECT_NE(out.find("PrinterName=Talvenor QJ-760"), std::string::npos) << out;
    EXPECT_NE(out.find("$ printer-settings \"Talvenor QR-520 Network\" \"101\"\n(exit status 2)"),
              std::string::npos)
        << out;
    // A window-less run mode is the program's own, with its own status.
    EXPECT_EQ(Run({"Talvenor QR-520 Network", "101"}).exitCode, 2);
}

}  // namespace
}  // namespace ps::test
