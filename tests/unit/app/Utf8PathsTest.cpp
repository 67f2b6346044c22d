// SPDX-License-Identifier: MIT
// A printer whose name and temporary folder are Chinese: every per-printer file lands under its
// true name. On Windows a path made from 8-bit text goes through the ANSI code page, which
// cannot hold these names; the files are therefore looked for by listing the folder.
#include <gtest/gtest.h>

#include <set>

#include "app/PrinterSession.h"
#include "base/AtomicFile.h"
#include "base/IniFile.h"
#include "base/IniWriter.h"
#include "base/PathText.h"
#include "localisation/Scheme.h"
#include "printer/Globals.h"
#include "support/TestSupport.h"
#include "transport/ExchangeLock.h"

namespace ps {
namespace {

// "打印 设置", "测试打印机"
const std::string kFolder = "\xE6\x89\x93\xE5\x8D\xB0 \xE8\xAE\xBE\xE7\xBD\xAE";
const std::string kPrinter = "\xE6\xB5\x8B\xE8\xAF\x95\xE6\x89\x93\xE5\x8D\xB0\xE6\x9C\xBA";

std::set<std::string> Listing(const std::filesystem::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.insert(PathToUtf8(entry.path().filename()));
    return names;
}

TEST(Utf8PathsTest, APrintersFilesKeepTheirChineseNames) {
    test::TTempDir dir;
    const std::filesystem::path temp = dir.Path() / PathFromUtf8(kFolder);
    std::filesystem::create_directories(temp);
    test::InstallTestPlatform(0x0804, temp);

    // The string table goes through a file of the temporary folder, which it leaves empty.
    LoadGlobalStrings("RESSTRING");
    EXPECT_EQ(g_GlobalString.HintTitle, "\xE6\x8F\x90\xE7\xA4\xBA");  // "提示"
    EXPECT_EQ(Listing(temp), std::set<std::string>{});

    SetUpPrinterPaths(kPrinter);
    ASSERT_TRUE(WriteIniString(g_PrinterIniFile, "ReadPrinter", "Count", "3"));
    EXPECT_EQ(TIniFile::FromFile(g_PrinterIniFile).ReadInteger("ReadPrinter", "Count", 0), 3);
    ASSERT_TRUE(WriteFileAtomically(g_PrinterCacheBase, "[CurrentValues]\r\n"));
    { const TExchangeLock lock; }
    EXPECT_EQ(Listing(temp), std::set<std::string>{"Talvenor Printer"});
    EXPECT_EQ(Listing(temp / "Talvenor Printer"),
              (std::set<std::string>{kPrinter, kPrinter + ".ini", kPrinter + ".lock"}));

    SetExchangeLock({});
    test::InstallTestPlatform();
}

}  // namespace
}  // namespace ps
