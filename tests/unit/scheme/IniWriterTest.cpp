// SPDX-License-Identifier: MIT
// Single-key INI updates: what changes, what stays, and that the reader sees the result.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "base/IniFile.h"
#include "base/IniWriter.h"
#include "support/TestSupport.h"

namespace ps {
namespace {

std::string ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(IniWriter, ChangesOnlyTheKeyAskedFor) {
    std::string text =
        "; note\r\n[PrinterInfo]\r\nPrinterName=QR-520\r\n\r\n[readprinter]\r\n"
        "  count = 3 \r\n; Last=old\r\nCount=9\r\nextra=x\r\n\r\n[Other]\r\nk=v";
    EXPECT_EQ(SetIniValueInText(text, "ReadPrinter", "Count", "4"),
              "; note\r\n[PrinterInfo]\r\nPrinterName=QR-520\r\n\r\n[readprinter]\r\n"
              "count=4\r\n; Last=old\r\nCount=9\r\nextra=x\r\n\r\n[Other]\r\nk=v");
    // A new key goes after the section's last entry, before the blank line.
    EXPECT_EQ(SetIniValueInText(text, "ReadPrinter", "Last", "-1"),
              "; note\r\n[PrinterInfo]\r\nPrinterName=QR-520\r\n\r\n[readprinter]\r\n"
              "  count = 3 \r\n; Last=old\r\nCount=9\r\nextra=x\r\nLast=-1\r\n\r\n[Other]\r\nk=v");
    // A new key in the last section of a file without a final line end.
    EXPECT_EQ(SetIniValueInText(text, "other", "n", "1"),
              "; note\r\n[PrinterInfo]\r\nPrinterName=QR-520\r\n\r\n[readprinter]\r\n"
              "  count = 3 \r\n; Last=old\r\nCount=9\r\nextra=x\r\n\r\n[Other]\r\nk=v\r\nn=1\r\n");
    EXPECT_EQ(SetIniValueInText("a=1\n", "New", "k", "v"), "a=1\n[New]\nk=v\n");
    EXPECT_EQ(SetIniValueInText("", "S", "k", "v"), "[S]\r\nk=v\r\n");
    EXPECT_EQ(SetIniValueInText("[S]\n[T]\nk=1\n", "s", "k", "2"), "[S]\nk=2\n[T]\nk=1\n");
}

TEST(IniWriter, FilesKeepTheirEncodingAndReadBack) {
    test::InstallTestPlatform();
    test::TTempDir dir;
    auto plain = dir.Path() / "printer.ini";
    ASSERT_TRUE(WriteIniInteger(plain, "ReadPrinter", "Count", 7));
    ASSERT_TRUE(WriteIniString(plain, "ReadPrinter", "Last", "-1"));
    ASSERT_TRUE(WriteIniInteger(plain, "ReadPrinter", "Count", 8));
    EXPECT_EQ(ReadAll(plain), "[ReadPrinter]\r\nCount=8\r\nLast=-1\r\n");

    auto wide =
        dir.Write("wide.ini", test::Utf16LeWithBom("[PrinterInfo]\r\nPrinterName=打印机\r\n"));
    ASSERT_TRUE(WriteIniInteger(wide, "ReadPrinter", "Count", 1));
    EXPECT_EQ(ReadAll(wide),
              test::Utf16LeWithBom(
                  "[PrinterInfo]\r\nPrinterName=打印机\r\n[ReadPrinter]\r\nCount=1\r\n"));
    auto ini = TIniFile::FromFile(wide);
    EXPECT_EQ(ini.ReadString("PrinterInfo", "PrinterName", ""), "打印机");
    EXPECT_EQ(ini.ReadInteger("ReadPrinter", "Count", 0), 1);

    // A folder that does not exist is not created.
    EXPECT_FALSE(WriteIniInteger(dir.Path() / "missing" / "p.ini", "S", "k", 1));
    EXPECT_FALSE(std::filesystem::exists(dir.Path() / "missing"));
    // No temporary file is left behind.
    int files = 0;
    for (auto& entry : std::filesystem::directory_iterator(dir.Path())) {
        (void)entry;
        ++files;
    }
    EXPECT_EQ(files, 2);
}

}  // namespace
}  // namespace ps
