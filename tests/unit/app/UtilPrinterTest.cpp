// SPDX-License-Identifier: MIT
// Printer and driver queries and the local options, on the emulated platform.
#include <gtest/gtest.h>

#include "app/Options.h"
#include "app/PrinterSession.h"
#include "base/IniFile.h"
#include "base/PathText.h"
#include "printer/Globals.h"
#include "printer/UtilPrinter.h"
#include "support/EmulatedPlatformSupport.h"
#include "support/EmulationDirBuilder.h"
#include "support/TestSupport.h"
#include "transport/ExchangeLock.h"

namespace ps {
namespace {

namespace fs = std::filesystem;

class UtilPrinterTest : public ::testing::Test {
protected:
    UtilPrinterTest() : m_Builder(m_Dir.Path()) {
        m_Builder.Section("Spooler").Set("DriverDirectory", "spool\\drivers\\x64");
    }
    ~UtilPrinterTest() override { test::InstallTestPlatform(); }
    void Start() { test::InstallEmulation(m_Builder.Write(), m_Devices.Factory()); }
    std::string DriverDir() const { return (m_Dir.Path() / "spool" / "drivers" / "x64").string(); }

    test::TTempDir m_Dir;
    test::TEmulationDirBuilder m_Builder;
    test::TScriptedDevices m_Devices;
};

TEST_F(UtilPrinterTest, FindsTheSchemeAmongTheDriverFiles) {
    m_Builder.Printer("Listed", "USB001")
        .Set("DriverName", "Talvenor QR-520")
        .Set("DependentFiles", "/drv/QR520.dll|/drv/qr-520_settings.dat|/drv/Other_Settings.Dat");
    m_Builder.Printer("Unlisted", "USB001")
        .Set("DriverName", "Talvenor QJ-760 Inkjet")
        .Set("DependentFiles", "/drv/QJ760.dll|/drv/Settings.Da");
    m_Builder.Printer("NoBlank", "LPT1").Set("DriverName", "QR520");
    m_Builder.Printer("NoDriver", "LPT1");
    // Makes and models that would lead the fallback path out of the driver directory.
    m_Builder.Printer("Planted", "LPT1").Set("DriverName", "Talvenor ../../../../var/spool/evil");
    m_Builder.Printer("Slash", "LPT1").Set("DriverName", "Talvenor QR/520");
    m_Builder.Printer("Backslash", "LPT1").Set("DriverName", "Talvenor ..\\QR-520");
    Start();

    // The first entry containing "Settings.Dat" in any letter case, exactly as listed.
    std::string scheme = "unchanged";
    ASSERT_TRUE(FindDriverSchemeFile("Listed", scheme));
    // (The emulation takes the absolute path on the drive of its directory on Windows.)
    EXPECT_EQ(scheme,
              PathToUtf8((m_Dir.Path() / PathFromUtf8("/drv/qr-520_settings.dat").make_preferred())
                             .lexically_normal()));

    // None listed: the driver directory's "3" folder and the model after the first blank,
    // whether or not that file exists.
    const std::string three = std::string(1, kPathDelimiter) + "3" + kPathDelimiter;
    ASSERT_TRUE(FindDriverSchemeFile("Unlisted", scheme));
    EXPECT_EQ(scheme, DriverDir() + three + "QJ-760 Inkjet_Settings.Dat");
    ASSERT_TRUE(FindDriverSchemeFile("NoBlank", scheme));
    EXPECT_EQ(scheme, DriverDir() + three + "QR520_Settings.Dat");
    // Driver details missing: the printer details still give the fallback.
    ASSERT_TRUE(FindDriverSchemeFile("NoDriver", scheme));
    EXPECT_EQ(scheme, DriverDir() + three + "_Settings.Dat");

    scheme = "unchanged";
    EXPECT_FALSE(FindDriverSchemeFile("", scheme));
    EXPECT_FALSE(FindDriverSchemeFile("Missing", scheme));
    for (const char* planted : {"Planted", "Slash", "Backslash"})
        EXPECT_FALSE(FindDriverSchemeFile(planted, scheme)) << planted;
    EXPECT_EQ(scheme, "unchanged");
}

TEST_F(UtilPrinterTest, ReportsThePortAndTheOnLineState) {
    m_Builder.Printer("Passbook", "USB001");
    m_Builder.Printer("Network", "VODAV_192.168.1.20").Set("WorkOffline", "1");
    Start();

    std::string port = "x";
    bool online = false;
    ASSERT_TRUE(GetPrinterPortInfo("passbook", port, online));
    EXPECT_EQ(port, "USB001");
    EXPECT_TRUE(online);
    ASSERT_TRUE(GetPrinterPortInfo("Network", port, online));
    EXPECT_EQ(port, "VODAV_192.168.1.20");
    EXPECT_FALSE(online);

    // Failures leave both outputs as they were.
    port = "kept";
    online = true;
    EXPECT_FALSE(GetPrinterPortInfo("", port, online));
    EXPECT_FALSE(GetPrinterPortInfo("Missing", port, online));
    EXPECT_EQ(port, "kept");
    EXPECT_TRUE(online);

    // Asked afresh each time: a printer moved to another port is seen at the next call.
    m_Builder.Section("Printer:Passbook").Set("Port", "USB002");
    Start();
    ASSERT_TRUE(GetPrinterPortInfo("Passbook", port, online));
    EXPECT_EQ(port, "USB002");
}

TEST_F(UtilPrinterTest, OneLockPerDeviceAndFilesOfTheSpoolersSpelling) {
    m_Builder.Device("qra");
    m_Builder.Device("qrb");
    m_Builder.Printer("Passbook", "USB001").Set("Device", "qra");
    m_Builder.Printer("Passbook Copy", "USB001").Set("Device", "QRA");
    m_Builder.Printer("Other", "USB002").Set("Device", "qrb");
    m_Builder.Printer("Loose", "LPT1");
    Start();
    auto lockOf = [](const std::string& name) {
        SetUpPrinterPaths(name);
        return ExchangeLockSetup().path;
    };
    // Two spellings of one printer, and two printers on one device: one lock.
    const std::string passbook = lockOf("Passbook");
    EXPECT_EQ(lockOf("PASSBOOK"), passbook);
    EXPECT_EQ(fs::path(g_PrinterCacheBase).filename(), "Passbook");  // the spooler's spelling
    EXPECT_EQ(lockOf("Passbook Copy"), passbook);
    EXPECT_NE(lockOf("Other"), passbook);
    // A printer with no device the spooler can name keeps the lock beside its files.
    const std::string loose = lockOf("loose");
    EXPECT_EQ(loose, g_PrinterCacheBase + ".lock");
    EXPECT_EQ(fs::path(g_PrinterCacheBase).filename(), "Loose");
    ResetGlobals();
}

TEST_F(UtilPrinterTest, LocalOptionsLiveBesideTheProgram) {
    m_Builder.Kernel("ProgramPath", "bin/PrinterSettings.exe");
    Start();
    auto file = LocalOptionsFile();
    EXPECT_EQ(file, m_Dir.Path() / "bin" / "PrinterSettings.ini");

    // A missing file leaves both options empty.
    TIniOptions options;
    options.LoadFromFile(file);
    EXPECT_EQ(options.SettingsLocalPorts, "");
    EXPECT_EQ(options.SettingsDefaultScheme, "");

    // An existing file without the keys gives the defaults.
    auto other = m_Dir.Write("bin/PrinterSettings.ini", "[Other]\r\nx=1\r\n");
    options.LoadFromFile(other);
    EXPECT_EQ(options.SettingsLocalPorts, "LPT1  COM1  _USB");
    EXPECT_EQ(options.SettingsDefaultScheme, "Scheme\\QR-520_Settings.Dat");

    // Saved and read back; other sections of the file stay.
    options.SettingsLocalPorts = "LPT2 \"My Port\" _USB";
    options.SaveToFile(file);
    TIniOptions reread;
    reread.LoadFromFile(file);
    EXPECT_EQ(reread.SettingsLocalPorts, "LPT2 \"My Port\" _USB");
    EXPECT_EQ(reread.SettingsDefaultScheme, "Scheme\\QR-520_Settings.Dat");
    EXPECT_EQ(TIniFile::FromFile(file).ReadString("Other", "x", ""), "1");

    // Without an INI object nothing happens.
    reread.LoadSettings(nullptr);
    reread.SaveSettings(nullptr);
    EXPECT_EQ(reread.SettingsLocalPorts, "LPT2 \"My Port\" _USB");
}

// Installed, the program lies in PREFIX/bin and its options and schemes in
// PREFIX/share/printer-settings, where run mode 100 must find them.
TEST_F(UtilPrinterTest, InstalledLocalOptionsLieWithTheSharedFiles) {
    m_Builder.Kernel("ProgramPath", "usr/bin/printer-settings");
    m_Dir.Write("usr/share/printer-settings/Scheme/QR-520_Settings.Dat", "[GlobalSettings]\r\n");
    Start();
    const auto shared = m_Dir.Path() / "usr" / "share" / "printer-settings";
    EXPECT_EQ(ProgramFolder(), shared);
    EXPECT_EQ(LocalOptionsFile(), shared / "printer-settings.ini");
}

}  // namespace
}  // namespace ps
