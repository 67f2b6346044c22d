// SPDX-License-Identifier: MIT
// The group item dialog, the card-type dialog and the head serial number dialog against
// emulated printers: preselection, the bytes written, confirmation and the page height.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "app/StartUp.h"
#include "localisation/Scheme.h"
#include "platform/Platform.h"
#include "printer/Globals.h"
#include "scheme/Scheme3.h"
#include "support/EmulatedPlatformSupport.h"
#include "support/TestScheme.h"
#include "support/UiTestSupport.h"
#include "ui/common/ClockTimer.h"
#include "ui/setting/FormInvoiceType_SetGroup.h"
#include "ui/setting/uHeadsn.h"
#include "ui/setting/uSetGroupItem.h"

namespace ps::test {
namespace {

using ui::TFormSetGroupItem;
using ui::TfrmInvoiceType_SetGruop;

constexpr const char* kPrinter = "Talvenor Test";
const std::string kEnter = "1B 1D 1E 05 01 1B 1D 1F";
const std::string kSave = "1B 1D 1E 05 02 1B 1D 1F";

class GroupDialogsTest : public TUiFixture {
protected:
    static TTestItem Item(const std::string& title, const std::string& code, int bytes = 1,
                          int defaultValue = 0) {
        TTestItem item{"01_LINE_SPACING", title, code, "-3=M3,0=Zero,1=One,2=Two,3=Three", bytes,
                       "For %s (%d%%)"};
        item.defaultValue = defaultValue;
        return item;
    }
    void Start(std::vector<TTestItem> group, int page, const std::string& values) {
        TTestScheme scheme;
        scheme.Index(100, "100_SETTINGS", "Basic");
        scheme.Page(100, TTestScheme::NumberedItems(1, 0x50));
        scheme.Page(page, std::move(group));
        AddUsbPrinter(kPrinter, "USB001", "dev", scheme.Text(), values);
        ASSERT_EQ(StartUp({kPrinter, "0"}), kExitDone);
    }
    std::vector<std::string> Usb() {
        std::vector<std::string> lines;
        for (const std::string& line : Commands("dev"))
            if (line.starts_with("usb")) lines.push_back(line);
        return lines;
    }
    static void ClickRow(QListWidget* list, int row) {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(row)).center());
    }
};

TEST_F(GroupDialogsTest, GroupPreselectsWritesInOnePieceAndConfirmsByReadingAgain) {
    Start({Item("Alpha", "20"), Item("Beta", "21", 2)}, 128, "20=1,21=2");
    const std::size_t before = Usb().size();  // the main window's page read
    TFormSetGroupItem g;
    g.SetParameters("Custom", 1);
    EXPECT_EQ(g.m_pm, 128);
    g.show();
    EXPECT_EQ(g.width(), 174 + 170 + 10);
    EXPECT_EQ(g.height(), 300);
    EXPECT_EQ(g.windowTitle(), "Custom");
    // "%s" is replaced literally; the rest of scheme text is no format.
    EXPECT_EQ(g.lblInfo->text(), "For Custom (%d%%)");
    EXPECT_EQ(g.lblName[1]->text(), "Beta");
    EXPECT_EQ(g.lst[0]->currentRow(), 2);
    EXPECT_EQ(g.lst[1]->currentRow(), 3);
    EXPECT_FALSE(g.pnlItem[2]->isVisible());

    ClickRow(g.lst[0], 4);
    ClickRow(g.lst[1], 0);
    m_Boxes.Expect(g_GlobalString.HintTitle, g_GlobalString.SetPrinterSuccess,
                   TMessageIcon::Information);
    Click(g.btnSet);
    EXPECT_FALSE(g.isVisible());
    const auto usb = Usb();
    ASSERT_EQ(usb.size(), before + 3);  // read, write, read again
    EXPECT_EQ(usb[before], "usb 1B 1D 1E 05 03 02 20 21 1B 1D 1F");
    EXPECT_EQ(usb[before + 1], "usb " + kEnter +
                                   " 1B 1D 1E 05 04 20 03 1B 1D 1F 1B 1D 1E 05 04 21 03 80 " +
                                   "1B 1D 1F " + kSave);
    EXPECT_EQ(usb[before + 2], usb[before]);
}

TEST_F(GroupDialogsTest, GroupWithoutAReadPreselectsNothingAndCannotConfirm) {
    Start({Item("Alpha", "20", 1, 1)}, 129, "20=1");
    m_Builder.Device("dev").Set("Mute", "1");
    m_Builder.Write();
    InstallEmulation(Dir());
    TFormSetGroupItem g;
    g.SetParameters("Custom", 2);
    g.show();
    // The value held before (the default) is not the printer's: nothing is chosen for the user.
    EXPECT_TRUE(g.lst[0]->selectedItems().isEmpty());
    m_Boxes.Expect(g_GlobalString.HintTitle, g_GlobalString.SetPrinterCantAffirm,
                   TMessageIcon::Warning);
    Click(g.btnSet);
    EXPECT_TRUE(g.isVisible());
    EXPECT_EQ(Usb()[Usb().size() - 2],
              "usb " + kEnter + " " + kSave);  // no item chosen: the bracket only
}

TEST_F(GroupDialogsTest, GroupWriteThatDidNotTakeIsNotASuccess) {
    Start({Item("Alpha", "20")}, 128, "20=1");
    // The printer takes item 20 with two value bytes only.
    TTestScheme device;
    device.Page(128, {Item("Alpha", "20", 2)});
    m_Dir.Write("schemes/device.Dat", device.Text());
    m_Builder.Device("dev").Set("Scheme", "schemes/device.Dat");
    m_Builder.Write();
    InstallEmulation(Dir());
    TFormSetGroupItem g;
    g.SetParameters("Custom", 1);
    g.show();
    ClickRow(g.lst[0], 4);
    m_Boxes.Expect(g_GlobalString.HintTitle, g_GlobalString.SetPrinterTimeout, TMessageIcon::Error);
    Click(g.btnSet);
    EXPECT_TRUE(g.isVisible());
}

TEST_F(GroupDialogsTest, GroupOfFiveUsesTheTallFormAndSecondRow) {
    std::vector<TTestItem> items;
    for (int n = 0; n < 5; ++n)
        items.push_back(Item("I" + std::to_string(n), std::to_string(30 + n)));
    Start(items, 191, "");
    TFormSetGroupItem g;
    EXPECT_THROW(g.SetParameters("x", 65), std::runtime_error);
    EXPECT_THROW(g.SetParameters("x", 3), std::runtime_error);
    g.SetParameters("Five", 64);
    EXPECT_EQ(g.m_pm, 191);
    g.show();
    EXPECT_EQ(g.height(), 468);
    EXPECT_EQ(g.width(), 519 + 170 + 10);
    EXPECT_TRUE(g.pnlItem[4]->isVisible());
    EXPECT_EQ(g.pnlItem[4]->geometry(), QRect(3, 167, 170, 143));
    EXPECT_FALSE(g.pnlItem[5]->isVisible());
}

TEST_F(GroupDialogsTest, NoteWithCaptionReplacesTheFirstPlaceholderOnly) {
    EXPECT_EQ(TFormSetGroupItem::NoteWithCaption("a %s b %s", "X"), "a X b %s");
    EXPECT_EQ(TFormSetGroupItem::NoteWithCaption("no place", "X"), "no place");
    EXPECT_EQ(TFormSetGroupItem::NoteWithCaption("%s", "100%d"), "100%d");
}

TEST_F(GroupDialogsTest, CardTypeReadsItsValuesAndWritesTheFixedCommands) {
    Start({}, 191, "4B=-5,0A=3,0F=7,4D=201");
    TfrmInvoiceType_SetGruop c;
    c.ArrangeForRow(4);
    c.medt1->setText("12.0");
    c.show();
    EXPECT_EQ(Usb().back(), "usb 1B 1D 1E 05 03 04 4B 0A 0F 4D 1B 1D 1F");
    EXPECT_EQ(c.lst1->count(), 90);
    EXPECT_EQ(c.lst1->currentRow(), 14);  // -5/60 inch
    EXPECT_EQ(c.lst1->item(14)->text().toStdString(), "-5/60 Inch (-2.12mm)");
    EXPECT_EQ(c.lst3->currentRow(), 3);
    EXPECT_EQ(c.lst4->currentRow(), 0);  // 7 is automatic
    EXPECT_EQ(c.lst4->item(0)->text().toStdString(), g_GlobalString.Auto);
    EXPECT_EQ(c.medt1->text(), "85.0");

    ClickRow(c.lst4, 1);  // one layer is the value 0
    Click(c.btnSet);
    EXPECT_FALSE(c.isVisible());
    EXPECT_EQ(Usb().back(), "usb " + kEnter +
                                " 1B 1D 1E 04 13 05 80 1B 1D 1F 1B 1D 1E 00 1A C9 00 1B 1D 1F"
                                " 1B 1D 1E 00 0B 03 1B 1D 1F 1B 1D 1E 00 10 00 1B 1D 1F " +
                                kSave);

    // Row 3 of another showing: no page height, and no height left from before.
    c.ArrangeForRow(3);
    c.show();
    EXPECT_TRUE(c.medt1->text().isEmpty());
    EXPECT_EQ(Usb().back(), "usb 1B 1D 1E 05 03 03 4B 0A 0F 1B 1D 1F");
    EXPECT_EQ(c.lst4->currentRow(), 1);
}

TEST_F(GroupDialogsTest, CardTypePageHeightChecksAndMeasurement) {
    Start({}, 191, "4B=0,0A=0,0F=0,4D=0");
    TfrmInvoiceType_SetGruop c;
    c.ArrangeForRow(4);
    c.show();
    c.medt1->clear();
    QTest::keyClicks(c.medt1, "0a.5x");  // only digits and the full stop arrive
    EXPECT_EQ(c.medt1->text(), "0.5");
    const std::size_t before = Usb().size();
    Click(c.btnSet);
    // 0.5 mm sends no page height command.
    EXPECT_EQ(Usb().size(), before + 1);
    EXPECT_EQ(Usb().back().find("00 1A"), std::string::npos);

    c.show();
    c.medt1->clear();
    m_Boxes.Expect(g_GlobalString.ErrorTitle, g_GlobalString.PaperLengthInvalid,
                   TMessageIcon::Warning);
    Click(c.btnSet);
    EXPECT_TRUE(c.isVisible());

    m_Boxes.Expect(g_GlobalString.HintTitle, g_GlobalString.PutTheCard, TMessageIcon::Information);
    Click(c.btnDetect);
    EXPECT_EQ(c.medt1->text(), "85.0");
    EXPECT_EQ(c.btnDetect->toolTip(), "c9");

    // A height the two value bytes cannot carry is refused before sending.
    c.medt1->setText("99999");
    const std::size_t sent = Usb().size();
    m_Boxes.Expect(kPrinter, "The page height 99999 mm cannot be written", TMessageIcon::Error);
    Click(c.btnSet);
    EXPECT_EQ(Usb().size(), sent);
    EXPECT_TRUE(c.isVisible());
}

TEST_F(GroupDialogsTest, CardTypeHeightRounding) {
    EXPECT_EQ(TfrmInvoiceType_SetGruop::HeightText(201), "85.0");
    EXPECT_EQ(TfrmInvoiceType_SetGruop::HeightText(10), "04.0");
    EXPECT_EQ(TfrmInvoiceType_SetGruop::HeightValue(85.0), 201);
    EXPECT_EQ(TfrmInvoiceType_SetGruop::ParseMillimetres("abc"), std::nullopt);
}

TEST_F(GroupDialogsTest, HeadSerialNumberLengths) {
    Install();
    ui::THeadSNForm f;
    g_HeadSN = "old";
    f.show();
    EXPECT_TRUE(g_HeadSN.empty());
    EXPECT_FALSE(f.btnOK->isEnabled());
    auto tick = [&] {
        Platform().Clock().Sleep(1000);
        f.tmrEnBtn->Poll();
    };
    QTest::keyClicks(f.edtSN, "1234567");
    tick();
    EXPECT_FALSE(f.btnOK->isEnabled());  // on from 8 characters
    QTest::keyClicks(f.edtSN, "890123456");
    tick();
    EXPECT_TRUE(f.btnOK->isEnabled());
    m_Boxes.Expect(g_GlobalString.HintTitle, g_GlobalString.HeadSNError, TMessageIcon::Error);
    QTest::keyClicks(f.edtSN, "7");  // 17 characters
    tick();
    EXPECT_TRUE(f.edtSN->text().isEmpty());
    EXPECT_FALSE(f.btnOK->isEnabled());

    QTest::keyClicks(f.edtSN, "ABCDEFGHIJKLMNOP");
    tick();
    QTest::keyClick(f.edtSN, Qt::Key_Return);
    EXPECT_EQ(g_HeadSN, "ABCDEFGHIJKLMNOP");
    EXPECT_FALSE(f.isVisible());
}

}  // namespace
}  // namespace ps::test
