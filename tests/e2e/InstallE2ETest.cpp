// SPDX-License-Identifier: MIT
// The install step, component by component, into a prefix outside the build tree: what each
// package gets, and the installed programs finding their shipped files from where they lie.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "ProgramRunner.h"
#include "support/TestSupport.h"

namespace ps::test {
namespace {

namespace fs = std::filesystem;

const std::string kAppId = PS_APP_ID;

// Files of each component, relative to the prefix.
const std::vector<std::string> kCliFiles = {
    "bin/printer-settings-tool",
    "bin/printer-emulator",
    "share/printer-settings/Scheme/QR-520_Settings.Dat",
    "share/printer-settings/Scheme/QJ-760_Settings.Dat",
    "share/printer-settings/Scheme/QJ-760_Menu.Dat",
    "share/printer-settings/drivers/3/QR-520_Settings.Dat",
    "share/printer-settings/drivers/3/QJ-760_Settings.Dat",
    "share/printer-settings/emulation/demo/emulation.ini",
    "share/printer-settings/emulation/demo/program/printer-settings.ini",
    "share/bash-completion/completions/printer-settings-tool",
    "lib/udev/rules.d/70-printer-settings.rules",
    "share/man/man1/printer-settings-tool.1.gz",
    "share/man/man1/printer-emulator.1.gz",
    "share/doc/printer-settings-cli/copyright",
    "share/doc/printer-settings-cli/changelog.gz",
    "share/doc/printer-settings-cli/docs/command-line.md"};
const std::vector<std::string> kWindowsFiles = {
    "bin/printer-settings",
    "share/printer-settings/printer-settings.ini",
    "share/applications/" + kAppId + ".desktop",
    "share/metainfo/" + kAppId + ".metainfo.xml",
    "share/icons/hicolor/scalable/apps/" + kAppId + ".svg",
    "share/icons/hicolor/48x48/apps/" + kAppId + ".png",
    "share/man/man1/printer-settings.1.gz",
    "share/doc/printer-settings/copyright",
    "share/doc/printer-settings/changelog.gz"};

TProgramResult Install(const fs::path& prefix, const std::string& component) {
    return RunProgram(
        CMAKE_COMMAND,
        {"--install", PS_BUILD_DIR, "--prefix", prefix.string(), "--component", component}, {});
}

// A file that is there, or a link that leads to one.
bool Present(const fs::path& path) {
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

TEST(InstallE2E, EachPackageGetsItsFilesAndTheProgramsFindThemWhereTheyLie) {
    TTempDir root;
    const fs::path prefix = root.Path() / "usr";
    ASSERT_EQ(Install(prefix, "cli").exitCode, 0);
    for (const std::string& file : kCliFiles) EXPECT_TRUE(Present(prefix / file)) << file;
    for (const std::string& file : kWindowsFiles) EXPECT_FALSE(Present(prefix / file)) << file;

    ASSERT_EQ(Install(prefix, "windows").exitCode, 0);
    for (const std::string& file : kWindowsFiles) EXPECT_TRUE(Present(prefix / file)) << file;

    // The demo from the installed program: its shipped files are under prefix/share.
    const fs::path state = root.Path() / "state";
    const fs::path demo = state / "printer-settings" / "demo" / "emulation" / "demo";
    const TProgramResult report =
        RunProgram(prefix / "bin" / "printer-settings", {"--demo", "Talvenor QR-520", "101"},
                   {{"XDG_STATE_HOME", state.string()}, {"PRINTER_SETTINGS_EMULATION", ""}});
    EXPECT_EQ(report.exitCode, 0) << report.err;
    EXPECT_TRUE(Present(demo / "temp" / "Talvenor Printer" / "Talvenor QR-520"));

    const TProgramResult printers =
        RunProgram(prefix / "bin" / "printer-settings-tool", {"printers"},
                   {{"PRINTER_SETTINGS_EMULATION", demo.string()}});
    EXPECT_EQ(printers.exitCode, 0) << printers.err;
    EXPECT_NE(printers.out.find("Talvenor QR-520 Network"), std::string::npos) << printers.out;

    // The desktop files as the desktop's own validators see them.
    if (!std::string(PS_DESKTOP_FILE_VALIDATE).empty()) {
        const TProgramResult entry =
            RunProgram(PS_DESKTOP_FILE_VALIDATE, {(prefix / kWindowsFiles[2]).string()}, {});
        EXPECT_EQ(entry.exitCode, 0) << entry.out << entry.err;
        EXPECT_EQ(entry.out + entry.err, "");
    }
    if (!std::string(PS_APPSTREAMCLI).empty()) {
        const TProgramResult metainfo = RunProgram(
            PS_APPSTREAMCLI,
            {"validate", "--no-net", "--pedantic", (prefix / kWindowsFiles[3]).string()}, {});
        EXPECT_EQ(metainfo.exitCode, 0) << metainfo.out << metainfo.err;
        EXPECT_EQ(metainfo.out.find("W:"), std::string::npos) << metainfo.out;
        EXPECT_EQ(metainfo.out.find("P:"), std::string::npos) << metainfo.out;
    }
}

}  // namespace
}  // namespace ps::test
