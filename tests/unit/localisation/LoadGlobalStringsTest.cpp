// SPDX-License-Identifier: MIT
// Loading the texts of each language from the table the program carries.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <stdexcept>

#include "LocalisationTestSupport.h"
#include "localisation/Scheme.h"
#include "support/TestSupport.h"

namespace ps {
namespace {

using test::TextsByKey;

class LoadGlobalStringsTest : public ::testing::Test {
protected:
    void TearDown() override {
        g_GlobalString = m_Saved;
        test::InstallTestPlatform();
    }

    /// Loads the table as a system with the given language does.
    TGlobalString Load(std::uint16_t langId) {
        test::InstallTestPlatform(langId, m_Temp.Path());
        LoadGlobalStrings("RESSTRING");
        return g_GlobalString;
    }

    test::TTempDir m_Temp;
    TGlobalString m_Saved = g_GlobalString;
};

TEST_F(LoadGlobalStringsTest, PicksTheSystemLanguageAndItsRows) {
    struct TCase {
        std::uint16_t langId;
        TProgramLanguage language;
        const char* errorTitle;
    };
    for (const TCase& c :
         {TCase{0x0804, plCN, "错误"}, TCase{0x1004, plCN, "错误"}, TCase{0x0404, plCHT, "錯誤"},
          TCase{0x1404, plCHT, "錯誤"}, TCase{0x0411, plJP, "エラー"}, TCase{0x0409, plEN, "Error"},
          TCase{0x0412, plEN, "Error"}, TCase{0x0407, plEN, "Error"}}) {
        const TGlobalString table = Load(c.langId);
        EXPECT_EQ(table.Language, c.language) << std::hex << c.langId;
        EXPECT_EQ(table.ErrorTitle, c.errorTitle) << std::hex << c.langId;
    }
    // The English rows win over the built-in wordings.
    const TGlobalString english = Load(0x0409);
    EXPECT_EQ(english.HintTitle, "Information");
    EXPECT_EQ(english.MainCaption, "Setup of parameter");
    EXPECT_EQ(english.DeepCleanInterval, "Can not deep clean in 24 hours!");
    EXPECT_EQ(english.FirewareVersion, "Fireware version:");
    EXPECT_EQ(english.QP7Step9,
              "Fix the screw in the middle of the front end of the \"ink cartridge lock cover\".");
}

TEST_F(LoadGlobalStringsTest, JapaneseShowsTheBuiltInTextsWhereItHasNoRow) {
    // Where Japanese has no row, a Japanese system shows the English texts of the table, apart
    // from the keys whose built-in texts differ (checked below).
    const auto japanese = TextsByKey(Load(0x0411));
    const auto english = TextsByKey(Load(0x0409));
    const std::set<std::string> ownDefaults = {"Group64_Name21", "Group64_Name2",
                                               "FirewareVersion"};
    for (const std::string& key : test::kKeysWithoutJapanese) {
        if (ownDefaults.count(key) || key.starts_with("QP7Step")) continue;
        EXPECT_EQ(japanese.at(key), english.at(key)) << key;
        EXPECT_NE(japanese.at(key), "") << key;
    }
    for (int step = 1; step <= 9; ++step)
        EXPECT_EQ(japanese.at("QP7Step" + std::to_string(step)), "");
    EXPECT_EQ(japanese.at("Group64_Name21"), "");
    EXPECT_EQ(japanese.at("Group64_Name2"), "Length of the card:");
    EXPECT_EQ(japanese.at("FirewareVersion"), "Fireware Version: ");
    // The Japanese cancel text stands under a repeated English key and never shows.
    EXPECT_EQ(japanese.at("btnInkCancel"), "Cancel");
    EXPECT_EQ(japanese.at("ON_"), "ON");
    EXPECT_EQ(japanese.at("HintTitle"), "情報");
}

TEST_F(LoadGlobalStringsTest, MultiSelectionHintIsTheSameEnglishTextEverywhere) {
    for (std::uint16_t langId : {0x0804, 0x0404, 0x0409, 0x0411})
        EXPECT_EQ(Load(langId).CanSelectMultiItem,
                  "Can select or cancel several values, use a mouse to click an item.")
            << std::hex << langId;
}

TEST_F(LoadGlobalStringsTest, LineBreakEscapesBecomeCrLf) {
    const TGlobalString english = Load(0x0409);
    EXPECT_EQ(english.SetPrinterSuccess,
              "Setup is successful.\r\n(Some items are likely to take effect after restarting "
              "the printer!)");
    EXPECT_EQ(english.ReadTimeout,
              "The printer value reading is overtime! \r\n Please confirm that the printer "
              "supports this function and the cables are connected correctly.");
    EXPECT_EQ(english.SetPrinterFailRetry, "Printer setup failure, please try again later!");
    for (std::uint16_t langId : {0x0804, 0x0404, 0x0409, 0x0411})
        for (const auto& [key, text] : TextsByKey(Load(langId)))
            EXPECT_EQ(text.find("\\r\\n"), std::string::npos) << key << " " << langId;
}

TEST_F(LoadGlobalStringsTest, SimplifiedChineseCommonTextsAreExact) {
    const auto chinese = TextsByKey(Load(0x0804));
    const std::map<std::string, std::string> expected = {
        {"HintTitle", "提示"},
        {"ErrorTitle", "错误"},
        {"PrinterNotFound", "没有找到打印机！\r\n请确保打印电缆已正确连接且打印机处于联机状态。"},
        {"SetPrinterFail", "设置失败！\r\n请确认打印电缆已正确连接。"},
        {"WaitingForPrinterWork", "打印机正在工作，请稍候。"},
        {"InkFinish", "设置完成！"},
        {"SetPrinterSuccessI", "打印机设置成功。"},
        {"SetPrinterSuccess", "打印机设置成功。\r\n（某些选项可能需要重新启动打印机才能生效！）"},
        {"SetPrinterTimeout", "设置确认超时。\r\n请确认打印机支持此项功能，且打印电缆已正确连接。"},
        {"SetPrinterCantAffirm",
         "打印机当前设置值读取超时，无法确认打印机设置成功。\r\n请确认打印机支持此项功能，"
         "且打印电缆正确连接。\r\n（某些选项可能需要重新启动打印机才能生效！）"},
        {"SetPrinterFailRetry", "打印机设置失败，请稍后重试！"},
        {"ReadTimeout", "打印机设置值读取超时！\r\n请确认打印机支持此项功能，且打印电缆正确连接。"},
        {"ReadPrinterFailRetry",
         "打印机通讯出错，请确认打印机支持此功能并重新启动打印机后再次操作！"},
        {"PrinterNotOnline", "打印机不联机！"},
        {"PrinterStatusError", "参数获取失败！打印机可能处于脱机或缺纸状态。\r\n参数值不可确认。"},
        {"PortNotSupport", "当前端口不支持读取，参数值不可确认。"},
        {"HeadSNError", "输入的喷头序列号不符合规则。"},
        {"mPrintQueue", "打印机有打印任务，请清除打印任务后重试。"},
        {"HaveToSelectAnItem", "必须选择一个值才能进行设置！"},
        {"PrinterNotFoundOnPort", "程序出现错误，没找到指定的联机端口（%s）！"},
        {"CurrentValue", "当前值："},
        {"NO", "无"},
        {"MainCaption", "参数设置"},
        {"ParametersCaption", "选项设置"},
        {"ParametersTitle", "参数选项："},
        {"ParametersNoteTitle", "说明："},
        {"ParametersBtnSet", "设置"},
        {"ParametersBtnCancel", "取消"},
        {"ParametersBtnReturn", "返回"},
        {"ParametersBtnDefault", "默认值"},
        {"ParametersBtnOK", "确定"},
        {"ReadingPrinter", "读取打印机"},
        {"WaitingForPrinterRW", "正在读取打印机，请稍候。"},
        {"ReadData", "读取"},
        {"btnInkPrn", "打印"},
    };
    for (const auto& [key, text] : expected) EXPECT_EQ(chinese.at(key), text) << key;
}

TEST_F(LoadGlobalStringsTest, LeavesNothingBehindInTheTemporaryFolder) {
    m_Temp.Write("tmp0001.tmp", "someone else's");
    for (std::uint16_t langId : {0x0804, 0x0404, 0x0409, 0x0411}) Load(langId);
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(m_Temp.Path()))
        names.push_back(entry.path().filename().string());
    EXPECT_EQ(names, std::vector<std::string>{"tmp0001.tmp"});
    std::ifstream kept(m_Temp.Path() / "tmp0001.tmp");
    std::string content;
    std::getline(kept, content);
    EXPECT_EQ(content, "someone else's");
}

TEST_F(LoadGlobalStringsTest, FailuresStopWithAnErrorAndKeepTheTexts) {
    g_GlobalString = TGlobalString{};
    g_GlobalString.Language = plJP;
    g_GlobalString.HintTitle = "before";

    test::InstallTestPlatform(0x0409, m_Temp.Path());
    EXPECT_THROW(LoadGlobalStrings("NOSUCHTABLE"), std::runtime_error);

    test::InstallTestPlatform(0x0409, m_Temp.Path() / "missing");
    try {
        LoadGlobalStrings("RESSTRING");
        ADD_FAILURE() << "a temporary folder that does not exist was accepted";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("missing"), std::string::npos) << e.what();
    }
    EXPECT_EQ(g_GlobalString.Language, plJP);
    EXPECT_EQ(g_GlobalString.HintTitle, "before");
}

}  // namespace
}  // namespace ps
