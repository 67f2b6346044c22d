// SPDX-License-Identifier: MIT
// The menu download against a scripted USB printer: the replies it accepts, the ones that end
// it, and that no menu file survives a failed attempt.
#include <gtest/gtest.h>
#include <zlib.h>

#include <filesystem>
#include <fstream>

#include "base/IniFile.h"
#include "base/Lib_String.h"
#include "printer/Globals.h"
#include "scheme/Scheme3.h"
#include "support/EmulationFixture.h"

namespace ps {
namespace {

using test::TTestBytes;
namespace fs = std::filesystem;

const std::string kMenu = "[BaseSection]\r\nItemCount=0\r\n";

TTestBytes Hex(const char* text) {
    return HexTextToBytes(text);
}

TTestBytes Packed(const std::string& menu, std::uint32_t announced, std::uint8_t version = 1) {
    uLongf size = compressBound(static_cast<uLong>(menu.size()));
    TTestBytes z(size);
    compress(z.data(), &size, reinterpret_cast<const Bytef*>(menu.data()),
             static_cast<uLong>(menu.size()));
    z.resize(size);
    TTestBytes out = {0x51, 0x4B, version, 0x00};
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(announced >> (8 * i)));
    out.resize(16, 0);
    out.insert(out.end(), z.begin(), z.end());
    return out;
}

// A menu reply: head, transfer length T, two bytes, then the payload and one closing byte.
TTestBytes MenuReply(const TTestBytes& payload, std::uint32_t transfer, bool inlinePayload) {
    TTestBytes out = {0xEE, 0x1B, 0x1D, 0x1E, 0x06, 0x03};
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(transfer >> (8 * i)));
    out.push_back(0);
    out.push_back(0);
    if (inlinePayload) {
        out.insert(out.end(), payload.begin(), payload.end());
        out.push_back(0x1F);
    }
    return out;
}

TTestBytes ModelReply(const std::string& name) {
    TTestBytes out = {0x1B, 0x1D, 0x1E, 0x04, 0x0F, 0xC5,
                      0x88, 0xCA, 0x3F, 0,    0,    static_cast<std::uint8_t>(name.size())};
    for (char c : name) out.push_back(static_cast<std::uint8_t>(c));
    return out;
}

class MenuDownloadTest : public test::TEmulatedCoreTest {
protected:
    MenuDownloadTest() {
        m_Builder.Device("pr", "USB001", "MFG:Talvenor;MDL:QJ-760;");
        m_Builder.Printer("Inkjet", "USB001").Set("Device", "pr");
        m_Builder.Printer("Network", "VODAV_10.0.0.7").Set("Device", "pr");
        g_PrinterName = "Inkjet";
        g_PrinterCacheBase = (m_Dir.Path() / "Inkjet").string();
        g_PrinterIniFile = g_PrinterCacheBase + ".ini";
        g_SchemeOptions = std::make_unique<TSchemeOptions2>();
        g_SchemeOptions->m_Sections = DefaultSections(0);
        g_SchemeOptions->m_Sections.TimeOutPage = 500;
        StartScripted().Device("pr");
        m_pDevice = m_Devices["pr"];
        m_pDevice->Answer(Hex("1B 1D 1E 04 0F 08 01 02 03 04 05 06 07 08 1B 1D 1F"),
                          ModelReply("QJ-760"));
    }
    void AnswerMenu(TTestBytes reply) {
        m_pDevice->Answer(Hex("1B 1D 1E 06 03 1B 1D 1F"), std::move(reply));
    }
    std::string MenuFile() const { return test::ReadFileBytes(g_PrinterCacheBase + ".DAT"); }
    bool MenuFileExists() const { return fs::exists(g_PrinterCacheBase + ".DAT"); }
    std::string ModelName() const {
        return TIniFile::FromFile(g_PrinterIniFile).ReadString("PrinterInfo", "PrinterName", "-");
    }

    test::TScriptedDevice* m_pDevice = nullptr;
    test::TScopedRecorder m_Ui;
};

// (Inline and separate transfers from the real emulator are compared end to end.)
TEST_F(MenuDownloadTest, InlineMenuIsUnpackedAndStored) {
    TTestBytes payload = {0x00, 0x51};  // bytes before the packed header are skipped
    const TTestBytes packed = Packed(kMenu, static_cast<std::uint32_t>(kMenu.size()));
    payload.insert(payload.end(), packed.begin(), packed.end());
    AnswerMenu(MenuReply(payload, static_cast<std::uint32_t>(payload.size()), true));
    ASSERT_TRUE(g_SchemeOptions->GetPrinterMenuResources());
    EXPECT_EQ(MenuFile(), kMenu);
    EXPECT_EQ(ModelName(), "QJ-760");
    EXPECT_EQ(m_Ui->waitingTexts.size(), 1u);
    EXPECT_FALSE(m_Ui->waitingShown);
}

TEST_F(MenuDownloadTest, HeadEndingInsideTheTransferLength) {
    // Eight bytes: the head and three bytes of T; its last byte is the cleared buffer's zero.
    const TTestBytes packed = Packed(kMenu, static_cast<std::uint32_t>(kMenu.size()));
    const auto transfer = static_cast<std::uint32_t>(packed.size());
    TTestBytes head = {0x1B, 0x1D, 0x1E, 0x06, 0x03};
    for (int i = 0; i < 3; ++i) head.push_back(static_cast<std::uint8_t>(transfer >> (8 * i)));
    m_pDevice->AnswerInParts(Hex("1B 1D 1E 06 03 1B 1D 1F"), {head, packed}, 100);
    ASSERT_TRUE(g_SchemeOptions->GetPrinterMenuResources());
    EXPECT_EQ(MenuFile(), kMenu);
}

TEST_F(MenuDownloadTest, BrokenPackedMenusLeaveNoFile) {
    const TTestBytes good = Packed(kMenu, static_cast<std::uint32_t>(kMenu.size()));
    TTestBytes damaged = good;
    damaged[18] ^= 0xFF;
    const std::vector<std::pair<const char*, TTestBytes>> cases = {
        {"fewer bytes than announced", Packed(kMenu, static_cast<std::uint32_t>(kMenu.size()) + 1)},
        {"damaged stream", damaged},
        {"format version 2", Packed(kMenu, static_cast<std::uint32_t>(kMenu.size()), 2)},
    };
    for (const auto& [what, payload] : cases) {
        { std::ofstream(g_PrinterCacheBase + ".DAT") << "stale menu"; }
        AnswerMenu(MenuReply(payload, static_cast<std::uint32_t>(payload.size()), true));
        EXPECT_FALSE(g_SchemeOptions->GetPrinterMenuResources()) << what;
        EXPECT_FALSE(MenuFileExists()) << what;
        EXPECT_EQ(ModelName(), "QJ-760") << what;  // written before the menu request
    }
    for (const auto& entry : fs::directory_iterator(m_Dir.Path()))
        EXPECT_EQ(entry.path().string().find(".tmp"), std::string::npos) << entry.path();
}

TEST_F(MenuDownloadTest, RepliesThatEndTheDownload) {
    // T = 0: the printer holds no menu.
    AnswerMenu(MenuReply({}, 0, true));
    EXPECT_FALSE(g_SchemeOptions->GetPrinterMenuResources());
    // No menu head in the reply.
    AnswerMenu(Hex("1B 1D 1E 06 04 00 00 00 00 00 00 00"));
    EXPECT_FALSE(g_SchemeOptions->GetPrinterMenuResources());
    // A transfer longer than the 32,768-byte buffer cannot be delivered.
    AnswerMenu(MenuReply({}, 40000, false));
    EXPECT_FALSE(g_SchemeOptions->GetPrinterMenuResources());
    // A model reply without the challenge CRC: the menu is never asked for.
    m_pDevice->Answer(Hex("1B 1D 1E 04 0F 08 01 02 03 04 05 06 07 08 1B 1D 1F"),
                      Hex("1B 1D 1E 04 0F 00 00 00 00"));
    const auto sentBefore = m_pDevice->Received().size();
    EXPECT_FALSE(g_SchemeOptions->GetPrinterMenuResources());
    EXPECT_EQ(m_pDevice->Received().size(), sentBefore + 1);
    EXPECT_FALSE(MenuFileExists());
}

TEST_F(MenuDownloadTest, OnlyUsbPrintersAreAsked) {
    g_PrinterName = "Network";
    { std::ofstream(g_PrinterCacheBase + ".DAT") << "stale menu"; }
    EXPECT_FALSE(g_SchemeOptions->GetPrinterMenuResources());
    EXPECT_FALSE(MenuFileExists());
    EXPECT_TRUE(m_pDevice->Received().empty());
    EXPECT_EQ(ModelName(), "-");
}

TEST_F(MenuDownloadTest, ModelNameIsWrittenAsOneValue) {
    // Empty, it is written as empty (not left as the default).
    m_pDevice->Answer(Hex("1B 1D 1E 04 0F 08 01 02 03 04 05 06 07 08 1B 1D 1F"), ModelReply(""));
    AnswerMenu(MenuReply({}, 0, true));
    EXPECT_FALSE(g_SchemeOptions->GetPrinterMenuResources());
    EXPECT_EQ(ModelName(), "");

    // A printer's line ends and other control characters never start lines of their own.
    m_pDevice->Answer(Hex("1B 1D 1E 04 0F 08 01 02 03 04 05 06 07 08 1B 1D 1F"),
                      ModelReply("QJ\r\n[Evil]\r\nX=1\x1B\x7F"));
    EXPECT_FALSE(g_SchemeOptions->GetPrinterMenuResources());
    EXPECT_EQ(ModelName(), "QJ[Evil]X=1");
    EXPECT_FALSE(TIniFile::FromFile(g_PrinterIniFile).SectionExists("Evil"));
}

}  // namespace
}  // namespace ps
