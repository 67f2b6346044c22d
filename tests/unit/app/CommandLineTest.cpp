// SPDX-License-Identifier: MIT
#include "app/CommandLine.h"

#include <gtest/gtest.h>

namespace ps {
namespace {

TEST(CommandLine, RunModeItemAndDefaults) {
    auto none = ParseCommandLine({});
    EXPECT_FALSE(none.bHasArguments);
    EXPECT_EQ(none.iRunMode, 100);
    auto nameOnly = ParseCommandLine({"QR-520 Printer"});
    EXPECT_EQ(nameOnly.strPrinterName, "QR-520 Printer");
    EXPECT_EQ(nameOnly.iRunMode, 100);
    EXPECT_EQ(nameOnly.iItem, 0);
    EXPECT_EQ(ParseCommandLine({"p", "356"}).iRunMode, 100);  // low 8 bits
    EXPECT_EQ(ParseCommandLine({"p", "abc"}).iRunMode, 0);
    EXPECT_EQ(ParseCommandLine({"p", "-1"}).iRunMode, 255);
    EXPECT_EQ(ParseCommandLine({"p", "0x10"}).iRunMode, 0);  // decimal only
    EXPECT_EQ(ParseCommandLine({"p", "99999999999"}).iRunMode, 0);
    auto full = ParseCommandLine({"p", "1", "7", "x"});
    EXPECT_EQ(full.iRunMode, 1);
    EXPECT_EQ(full.iItem, 7);
    EXPECT_EQ(full.iReserved, 0);
    EXPECT_EQ(ParseCommandLine({"p", "1", "7 "}).iItem, 0);
}

TEST(CommandLine, PrinterFileNamesStayInsideTheCacheFolder) {
    EXPECT_EQ(PrinterFileName("QR-520 Printer (copy 1)"), "QR-520 Printer (copy 1)");
    EXPECT_EQ(PrinterFileName("\xE6\x89\x93\xE5\x8D\xB0\xE6\x9C\xBA v1.2"),
              "\xE6\x89\x93\xE5\x8D\xB0\xE6\x9C\xBA v1.2");
    EXPECT_EQ(PrinterFileName("\\\\server\\queue"), "%5C%5Cserver%5Cqueue");
    EXPECT_EQ(PrinterFileName("../../etc/passwd"), "..%2F..%2Fetc%2Fpasswd");
    EXPECT_EQ(PrinterFileName(".."), "%2E%2E");
    EXPECT_EQ(PrinterFileName("a:b*c?\"<>|"), "a%3Ab%2Ac%3F%22%3C%3E%7C");
    // '%' is escaped too, so two different names never map to one file.
    EXPECT_NE(PrinterFileName("a/b"), PrinterFileName("a%2Fb"));
    EXPECT_EQ(PrinterFileName("line\nbreak"), "line%0Abreak");
}

TEST(CommandLine, CacheFolder) {
    EXPECT_EQ(PrinterCacheFolder("/tmp/"), "/tmp/Talvenor Printer/");
    EXPECT_EQ(PrinterCacheFolder("C:\\Temp\\"), "C:\\Temp\\Talvenor Printer\\");
    EXPECT_EQ(PrinterCacheFolder(std::string(1030, 'x') + "/").size(),
              1024u + 1 + 16 + 1);
}

}  // namespace
}  // namespace ps
