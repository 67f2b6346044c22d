// SPDX-License-Identifier: MIT
// Loading schemes: global settings, page entry items, item lists, languages and accessors.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <future>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "base/IniFile.h"
#include "scheme/Scheme3.h"
#include "support/TestSupport.h"

namespace ps {
namespace {

class Scheme3Load : public ::testing::Test {
protected:
    void SetUp() override {
        test::InstallTestPlatform(0x0409);
        g_GlobalString.Language = plEN;
    }
    void TearDown() override { g_GlobalString.Language = plEN; }

    static TSchemeOptions2 LoadText(const std::string& text) {
        TSchemeOptions2 scheme;
        const auto ini = TIniFile::FromText(text);
        scheme.LoadDriverSettings(&ini);
        scheme.LoadSettings(&ini);
        return scheme;
    }

    test::TScopedRecorder m_Recorder;
};

TEST_F(Scheme3Load, GlobalSettingsDefaultsAndNumberForms) {
    const TDateTime before = NowAsDateTime();
    TSchemeOptions2 scheme = LoadText("[GlobalSettings]\nLastDeepcleantime=31/12/2024\n");
    const TDateTime after = NowAsDateTime();
    const TTagSections& s = scheme.m_Sections;
    EXPECT_EQ(scheme.m_strLangStrTail, ".EN");
    EXPECT_EQ(s.PrinterName, "Talvenor Printer");
    EXPECT_EQ(s.EnterInstruction, "1B 1D 1E 05 01 1B 1D 1F");
    EXPECT_EQ(s.SaveInstruction, "1B 1D 1E 05 02 1B 1D 1F");
    EXPECT_EQ(s.InstructionTail, "1B 1D 1F");
    EXPECT_EQ(s.InstructionGetValueClass, "1B 1D 1E 05 03");
    EXPECT_EQ(s.ReturnPrefix, (TBytes{0x1B, 0x1D, 0x1E, 0x05, 0x03}));
    EXPECT_FALSE(s.AffirmReadDisable);
    EXPECT_TRUE(s.ClearBeforeReadMenu);
    EXPECT_EQ(s.ReadOnLastFail, 1);
    EXPECT_EQ(s.TimeOutItem, 3000);
    EXPECT_EQ(s.TimeOutPage, 3500);
    EXPECT_EQ(s.ReadMenuDelay, 1000u);
    EXPECT_EQ(s.SleepBeforeRead, 30u);
    EXPECT_EQ(s.ChangeHeadTime, 1200u);
    EXPECT_EQ(s.LenLock, 279);
    EXPECT_EQ(s.SettingCommand, "6A3C");
    EXPECT_EQ(s.PrinterType, "4");
    EXPECT_EQ(s.DriverVersion, "1.0.0.1");
    // An English date must be month first: day 31 as a month does not parse, so "now".
    EXPECT_GE(s.LastDeepcleantime, before);
    EXPECT_LE(s.LastDeepcleantime, after);

    scheme = LoadText(
        "[globalsettings]\n"
        "TimeOutPage=0x0DAC\nTimeOutItem=$0DAC\nReadOnLastFail=abc\n"
        "AffirmReadDisable=2\nClearBeforeReadMenu=0\nWriteReadDelay=-1\n"
        "PrinterName=\"  Quoted Name \"\nPrinterName=second wins not\n"
        "LastDeepcleantime=2/29/2024 1:05:09 PM\n"
        "GetInstructionClass=1B 1D 1E 05 04\n");
    EXPECT_EQ(scheme.m_Sections.TimeOutPage, 3500);
    EXPECT_EQ(scheme.m_Sections.TimeOutItem, 3500);
    EXPECT_EQ(scheme.m_Sections.ReadOnLastFail, 1);
    EXPECT_TRUE(scheme.m_Sections.AffirmReadDisable);
    EXPECT_FALSE(scheme.m_Sections.ClearBeforeReadMenu);
    EXPECT_EQ(scheme.m_Sections.WriteReadDelay, 4294967295u);
    EXPECT_EQ(scheme.m_Sections.PrinterName, "  Quoted Name ");
    EXPECT_EQ(FormatIsoDateTime(scheme.m_Sections.LastDeepcleantime), "2024-02-29 13:05:09");
    EXPECT_EQ(scheme.m_Sections.InstructionGetValueClass, "1B 1D 1E 05 04");

    scheme.SetAffirmReadDisableStatus(false);
    EXPECT_FALSE(scheme.m_Sections.AffirmReadDisable);
}

TEST_F(Scheme3Load, ReturnPrefixSeparators) {
    const TBytes five{0x1B, 0x1D, 0x1E, 0x05, 0x03};
    for (const char* text :
         {"1B 1D 1E 05 03", "1B1D1E0503", "1B\t1D\t1E\t05\t03", "1b 1d 1e 05 03"})
        EXPECT_EQ(LoadText(std::string("[GlobalSettings]\nReturnPrefix=") + text + "\n")
                      .m_Sections.ReturnPrefix,
                  five)
            << text;
    EXPECT_TRUE(LoadText("[GlobalSettings]\nReturnPrefix=\n").m_Sections.ReturnPrefix.empty());
    EXPECT_EQ(LoadText("[GlobalSettings]\nReturnPrefix=1B ZZ 1D\n").m_Sections.ReturnPrefix,
              (TBytes{0x1B, 0x1D}));
}

TEST_F(Scheme3Load, MenuVersionSplitAndMissingFiles) {
    test::TTempDir dir;
    const auto schemeFile = dir.Write("scheme.dat",
                                      "[GlobalSettings]\nMenuVersion=1\n"
                                      "[BaseItemME]\nName=Base\nTitle.EN=From scheme\n"
                                      "[BaseItem00]\nTitle.EN=scheme advance entry\n"
                                      "[BaseSection]\nItemCount=1\n"
                                      "[BaseItem01]\nTitle.EN=scheme item\n");
    const auto menuFile =
        dir.Write("menu.dat", test::Utf16LeWithBom("[BaseItemME]\nTitle.EN=menu entry\n"
                                                   "[BaseItem00]\nTitle.EN=Advanced\n"
                                                   "[BaseItem99]\nIcon=Ink\nTitle.EN=Care\n"
                                                   "[BaseSection]\nItemCount=2\n"
                                                   "[BaseItem01]\nTitle.EN=menu one\n"
                                                   "[BaseItem02]\nTitle.EN=menu two\n"));

    // A missing file changes nothing: a new object stays zero, not defaulted.
    TSchemeOptions2 scheme;
    scheme.LoadFromFile((dir.Path() / "absent.dat").string());
    scheme.LoadPrinterMenu((dir.Path() / "absent.dat").string());
    scheme.LoadFromFile(dir.Path().string());  // a folder is no file
    EXPECT_EQ(scheme.m_Sections.TimeOutPage, 0);
    EXPECT_EQ(scheme.m_Sections.PrinterName, "");
    EXPECT_EQ(scheme.m_strLangStrTail, "");

    scheme.LoadFromFile(schemeFile.string());
    scheme.LoadPrinterMenu(menuFile.string());
    EXPECT_EQ(scheme.m_Sections.MenuVersion, 1);
    EXPECT_EQ(scheme.m_IndexItems[kPageBase].Title, "From scheme");
    EXPECT_EQ(scheme.m_IndexItems[kPageAdvance].Title, "Advanced");
    EXPECT_EQ(scheme.m_IndexItems[kPageMaintenance].Icon, "Ink");
    ASSERT_EQ(scheme.GetItemLength(kPageBase), 2);
    TSettingItem item;
    ASSERT_TRUE(scheme.GetItem(kPageBase, 1, item));
    EXPECT_EQ(item.Title, "menu two");

    // Menu version 0: the scheme file is its own menu.
    TSchemeOptions2 single;
    single.LoadFromFile(schemeFile.string());
    single.LoadPrinterMenu(schemeFile.string());
    ASSERT_EQ(single.GetItemLength(kPageBase), 1);
    EXPECT_EQ(single.m_BaseItems[0].Title, "scheme item");
    EXPECT_EQ(single.m_IndexItems[kPageAdvance].Title, "scheme advance entry");
}

TEST_F(Scheme3Load, PagesItemsAndAccessors) {
    const TSchemeOptions2 scheme = LoadText(
        "[BaseSection]\nItemCount=7\n"
        "[BaseItem01]\nTaskIndex=4\nName=First\nIcon=Paper\nTitle.EN=One\nNote.EN=n\n"
        "Explain.EN=not for base items\nGetInstruction=0A\nSetInstruction=1B 1D 1E 06 0A\n"
        "ParameterCount=2\nRuleType=ENUM\nRule.EN=0=Off,1=On\nDefault=$10\nSubGroup=1\n"
        "[BaseItem07]\nTitle.EN=Seventh\n"
        "[AdvanceSection]\nItemCount=0\n"
        "[MaintenanceSection]\nItemCount=1\n"
        "[MaintenanceItem01]\nTitle.EN=Clean\nExplain.EN=Explained\n"
        "[SubGroup01]\nItemCount=1\n[SubGroup01Item01]\nTitle.EN=g1\n"
        "[SubGroup02]\nItemCount=-4\n"
        "[SubGroup64]\nItemCount=1\n[SubGroup64Item01]\nTitle.EN=g64\n");
    for (std::uint8_t page : {kPageBaseItem, kPageBase, kPageBaseReport})
        EXPECT_EQ(scheme.GetItemLength(page), 7);
    EXPECT_EQ(scheme.GetItemLength(kPageAdvance), 0);
    EXPECT_EQ(scheme.GetItemLength(kPageSubGroup02), 0);
    EXPECT_EQ(scheme.GetItemLength(5), 0);

    const TSettingItem& first = scheme.m_BaseItems[0];
    EXPECT_EQ(first.TaskIndex, 4);
    EXPECT_EQ(first.Name, "First");
    EXPECT_EQ(first.Icon, "Paper");
    EXPECT_EQ(first.Note, "n");
    EXPECT_EQ(first.Explain, "");
    EXPECT_EQ(first.GetInstruction, "0A");
    EXPECT_EQ(first.SetInstruction, "1B 1D 1E 06 0A");
    EXPECT_EQ(first.nParameterByte, 2u);
    EXPECT_EQ(first.ValueDefault, 16);
    EXPECT_EQ(first.ValueCurrent, 16);
    EXPECT_EQ(first.iSubGroup, 1);
    EXPECT_EQ(first.nRuleValueCount, 2u);
    EXPECT_EQ(first.RuleValues.RuleTitle, (std::vector<std::string>{"Off", "On"}));

    // Items 2 to 6 have no section: empty item with one value byte.
    const TSettingItem& missing = scheme.m_BaseItems[3];
    EXPECT_EQ(missing.Title, "");
    EXPECT_EQ(missing.nParameterByte, 1u);
    EXPECT_EQ(missing.ValueDefault, 0);
    EXPECT_EQ(missing.iSubGroup, 0);
    EXPECT_EQ(missing.nRuleValueCount, 0u);

    TSettingItem item;
    ASSERT_TRUE(scheme.GetItem(kPageBaseItem, 6, item));
    EXPECT_EQ(item.Title, "Seventh");
    EXPECT_EQ(scheme.m_Maintenance[0].Explain, "Explained");
    EXPECT_EQ(scheme.m_CustomItems[0].Title, "g1");
    EXPECT_EQ(scheme.m_CustomItems64[0].Title, "g64");

    item.Title = "untouched";
    EXPECT_FALSE(scheme.GetItem(kPageBase, -1, item));
    EXPECT_FALSE(scheme.GetItem(kPageBase, 7, item));
    EXPECT_FALSE(scheme.GetItem(kPageAdvance, 0, item));
    EXPECT_FALSE(scheme.GetItem(200, 0, item));
    scheme.GetIndexItem(200, item);
    EXPECT_EQ(item.Title, "untouched");

    EXPECT_EQ(ItemSectionName(kPageBase, 6), "BaseItem07");
    EXPECT_EQ(ItemSectionName(kPageBase, 99), "BaseItem100");
    EXPECT_EQ(ItemSectionName(kPageSubGroup64, 0), "SubGroup64Item01");
    EXPECT_EQ(ItemSectionName(7, 0), "");
}

TEST_F(Scheme3Load, LocalisedKeysFollowTheLanguage) {
    const std::string text =
        "[BaseItemME]\nTitle.CN=CN base\n"
        "[BaseSection]\nItemCount=2\n"
        "[BaseItem01]\nTitle=plain\nTitle.CN=CN one\nRuleType=ENUM\nRule.CN=1=yi\nRule.JP=2=ni\n"
        "[BaseItem02]\nTitle.CHT=CHT two\nTitle.JP=JP two\n";
    g_GlobalString.Language = plCHT;
    TSchemeOptions2 scheme = LoadText(text);
    EXPECT_EQ(scheme.m_strLangStrTail, ".CHT");
    EXPECT_EQ(scheme.m_IndexItems[kPageBase].Title, "");
    EXPECT_EQ(scheme.m_BaseItems[0].Title, "");
    EXPECT_EQ(scheme.m_BaseItems[0].nRuleValueCount, 0u);
    EXPECT_EQ(scheme.m_BaseItems[1].Title, "CHT two");

    g_GlobalString.Language = plJP;
    scheme = LoadText(text);
    EXPECT_EQ(scheme.m_BaseItems[0].RuleValues.RuleValue, (std::vector<std::int32_t>{2}));
    EXPECT_EQ(scheme.m_BaseItems[1].Title, "JP two");

    g_GlobalString.Language = plCN;
    scheme = LoadText(text);
    EXPECT_EQ(scheme.m_IndexItems[kPageBase].Title, "CN base");
    EXPECT_EQ(scheme.m_BaseItems[0].Title, "CN one");
    EXPECT_EQ(scheme.m_BaseItems[0].RuleValues.RuleTitle, (std::vector<std::string>{"yi"}));
}

#ifndef _WIN32
// A scheme path can come from the spooler (a PPD keyword, a queue's make and model): what lies
// there is read only when it is a plain file of a scheme's size, reached without a link at its
// end; anything else counts as missing and never holds the program up.
TEST_F(Scheme3Load, OnlyPlainBoundedSchemeFilesAreRead) {
    test::TTempDir dir;
    const auto real = dir.Write("real.dat", "[GlobalSettings]\nPrinterName=Planted\n");
    std::filesystem::create_symlink(real, dir.Path() / "link.dat");
    const auto huge = dir.Write("huge.dat", "[GlobalSettings]\nPrinterName=Huge\n");
    std::filesystem::resize_file(huge, kMaxIniFileBytes + 1);  // sparse: no disk used
    const auto fifo = dir.Path() / "fifo.dat";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);

    // A FIFO would block the open until a writer comes; the load runs aside to catch that.
    auto load = std::async(std::launch::async, [&] {
        TSchemeOptions2 scheme;
        for (const auto& path :
             {fifo, std::filesystem::path("/dev/zero"), dir.Path() / "link.dat", huge}) {
            scheme.LoadFromFile(path.string());
            scheme.LoadPrinterMenu(path.string());
        }
        return scheme.m_Sections.PrinterName;
    });
    if (load.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
        ADD_FAILURE() << "the load waits on the FIFO";
        // A writer that comes and goes lets each waiting open through.
        while (load.wait_for(std::chrono::milliseconds(50)) != std::future_status::ready) {
            const int writer = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
            if (writer >= 0) ::close(writer);
        }
    }
    EXPECT_EQ(load.get(), "");

    TSchemeOptions2 scheme;
    scheme.LoadFromFile(real.string());
    EXPECT_EQ(scheme.m_Sections.PrinterName, "Planted");  // the file itself is read
}
#endif

TEST_F(Scheme3Load, LoadErrorsKeepThePreviousScheme) {
    TSchemeOptions2 scheme = LoadText(
        "[BaseSection]\nItemCount=1\n[BaseItem01]\nTitle.EN=kept\n"
        "[BaseItem00]\nTitle.EN=advance kept\n");
    for (const char* bad : {
             "[BaseSection]\nItemCount=2\n[BaseItem02]\nTitle.EN=Width\nRuleType=SERIAL\n"
             "Rule.EN=Min=0,Max=10,Step=0,DisplayAdd=0\n[BaseItem00]\nTitle.EN=new\n",
             "[BaseSection]\nItemCount=1\n[BaseItem01]\nTitle.EN=Width\nRuleType=SERIAL\n"
             "Rule.EN=Min=0,Max=abc,Step=1,DisplayAdd=0\n",
             "[SubGroup64]\nItemCount=2147483647\n",
         }) {
        const auto ini = TIniFile::FromText(bad);
        EXPECT_THROW(scheme.LoadSettings(&ini), ESchemeLoadError) << bad;
        ASSERT_EQ(scheme.GetItemLength(kPageBase), 1);
        EXPECT_EQ(scheme.m_BaseItems[0].Title, "kept");
        EXPECT_EQ(scheme.m_IndexItems[kPageAdvance].Title, "advance kept");
    }
    try {
        const auto ini = TIniFile::FromText(
            "[AdvanceSection]\nItemCount=1\n[AdvanceItem01]\nTitle.EN=Width\nRuleType=serial\n"
            "Rule.EN=Min=0,Max=abc,Step=1,DisplayAdd=0\n");
        scheme.LoadSettings(&ini);
        FAIL() << "no error";
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(),
                     "'abc' is not a valid integer value (Max of the SERIAL rule of item "
                     "\"Width\" in [AdvanceItem01])");
    }
}

TEST_F(Scheme3Load, OneBudgetForTheRulesOfAWholeMenu) {
    auto serialItems = [](int count, const std::string& rule) {
        std::string text = "[BaseSection]\nItemCount=" + std::to_string(count) + "\n";
        for (int i = 1; i <= count; ++i)
            text += "[BaseItem0" + std::to_string(i) + "]\nTitle.EN=Big " + std::to_string(i) +
                    "\nRuleType=SERIAL\nRule.EN=" + rule + "\n";
        return text;
    };
    auto errorOf = [](const std::string& text) -> std::string {
        TSchemeOptions2 scheme;
        const auto ini = TIniFile::FromText(text);
        try {
            scheme.LoadSettings(&ini);
        } catch (const ESchemeLoadError& e) {
            EXPECT_EQ(scheme.GetItemLength(kPageBase), 0);
            return e.what();
        }
        return "loaded";
    };
    // Two rules at the limit of one rule fit; a third crosses the budget of the menu.
    const std::string full = "Min=1,Max=100000,Step=1,DisplayAdd=0";
    EXPECT_EQ(errorOf(serialItems(2, full)), "loaded");
    const std::string three = serialItems(3, full);
    EXPECT_EQ(errorOf(three),
              "the rules of the menu list more than " + std::to_string(200000 + three.size() / 16) +
                  " values together (the limit for a menu of " + std::to_string(three.size()) +
                  " bytes), exceeded at item \"Big 3\" in [BaseItem03]");
    // A longer menu has room for more: the same three rules beside a long note fit.
    EXPECT_EQ(errorOf(three + "[x]\nNote=" + std::string(1700000, 'n') + "\n"), "loaded");
    // Few values, but long unit titles: the titles' length is what the budget refuses.
    const std::string unit(100, 'u');
    const std::string longTitles =
        serialItems(1, "Min=1,Max=90000,Step=1,DisplayAdd=0,Title=" + unit);
    EXPECT_EQ(errorOf(longTitles), "the value titles of the menu's rules take more than " +
                                       std::to_string(8388608 + longTitles.size()) +
                                       " bytes together (the limit for a menu of " +
                                       std::to_string(longTitles.size()) +
                                       " bytes), exceeded at item \"Big 1\" in [BaseItem01]");
    EXPECT_EQ(errorOf(serialItems(1, "Min=1,Max=50000,Step=1,DisplayAdd=0,Title=" + unit)),
              "loaded");
}

TEST_F(Scheme3Load, ItemsOfMissingSectionsAreEmpty) {
    // A count far beyond the sections written: every item beyond them has its defaults.
    const TSchemeOptions2 scheme = LoadText(
        "[MaintenanceSection]\nItemCount=1500\n[MaintenanceItem02]\nTitle.EN=Two\n"
        "ParameterCount=2\nDefault=7\n");
    ASSERT_EQ(scheme.GetItemLength(kPageMaintenance), 1500);
    EXPECT_EQ(scheme.m_Maintenance[1].Title, "Two");
    EXPECT_EQ(scheme.m_Maintenance[1].ValueCurrent, 7);
    const TSettingItem& last = scheme.m_Maintenance[1499];
    EXPECT_EQ(last.Title, "");
    EXPECT_EQ(last.nParameterByte, 1u);
    EXPECT_EQ(last.ValueDefault, 0);
    EXPECT_EQ(last.RuleValues.Count(), 0u);

    // More empty items than six full pages and the text can account for end the load.
    try {
        LoadText("[BaseSection]\nItemCount=1000\n[MaintenanceSection]\nItemCount=1000\n");
        ADD_FAILURE() << "a menu of 2000 announced items in 60 bytes was loaded";
    } catch (const ESchemeLoadError& error) {
        EXPECT_STREQ(error.what(),
                     "the pages of the menu announce 2000 items together, more than the 1534 a "
                     "menu of 65 bytes can hold");
    }
}

TEST(Scheme3Dates, LocaleFormsAndIsoOutput) {
    EXPECT_EQ(TryParseLocaleDateTime("1899-12-30", plEN), 0.0);
    EXPECT_EQ(TryParseLocaleDateTime("1899-12-29 12:00", plCN), -1.5);
    EXPECT_EQ(FormatIsoDateTime(-1.5), "1899-12-29 12:00:00");
    EXPECT_EQ(FormatIsoDateTime(45356.5), "2024-03-05 12:00:00");
    EXPECT_EQ(FormatIsoDateTime(45356.99999999), "2024-03-06 00:00:00");

    auto iso = [](std::string_view text, TProgramLanguage language) {
        auto value = TryParseLocaleDateTime(text, language);
        return value ? FormatIsoDateTime(*value) : std::string("none");
    };
    EXPECT_EQ(iso("2024-03-05T14:07:09", plJP), "2024-03-05 14:07:09");
    EXPECT_EQ(iso("3/5/2024 2:07 PM", plEN), "2024-03-05 14:07:00");
    EXPECT_EQ(iso("3/5/2024 12:30am", plEN), "2024-03-05 00:30:00");
    EXPECT_EQ(iso("3/5/2024", plEN), "2024-03-05 00:00:00");
    EXPECT_EQ(iso("2024/3/5 14:07:09", plCN), "2024-03-05 14:07:09");
    EXPECT_EQ(iso("2024/03/05", plCHT), "2024-03-05 00:00:00");
    EXPECT_EQ(iso("2024/3/5", plEN), "none");
    EXPECT_EQ(iso("3/5/2024", plCN), "none");
    EXPECT_EQ(iso("2024/3/5 2:07 PM", plJP), "none");
    EXPECT_EQ(iso("2/29/2023", plEN), "none");
    EXPECT_EQ(iso("2024-04-31", plEN), "none");
    EXPECT_EQ(iso("2024-01-01 24:00", plEN), "none");
    EXPECT_EQ(iso("1/1/2024 13:00 PM", plEN), "none");
    EXPECT_EQ(iso("2024-01-01 10:00 junk", plEN), "none");
    EXPECT_EQ(iso("", plEN), "none");
}

}  // namespace
}  // namespace ps
