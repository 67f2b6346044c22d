// SPDX-License-Identifier: MIT
// The item setting dialog against emulated printers: marking the printer's value, writing and
// confirming, the value bytes, every failure box, the web link and the way to the group
// dialogs, from the main window and in run mode 1.
#include <gtest/gtest.h>

#include <QApplication>
#include <QButtonGroup>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <filesystem>
#include <fstream>

#include "app/StartUp.h"
#include "localisation/Scheme.h"
#include "printer/Globals.h"
#include "scheme/Scheme3.h"
#include "support/EmulatedPlatformSupport.h"
#include "support/TestScheme.h"
#include "support/UiTestSupport.h"
#include "ui/common/QtWindowFactory.h"
#include "ui/main/uMain2.h"
#include "ui/setting/FormInvoiceType_SetGroup.h"
#include "ui/setting/uSetGroupItem.h"
#include "ui/setting/uSetItem.h"

namespace ps::test {
namespace {

namespace fs = std::filesystem;
using ui::TfrmSetItem;

constexpr const char* kPrinter = "Talvenor Test";
const std::string kEnter = "1B 1D 1E 05 01 1B 1D 1F";
const std::string kSave = "1B 1D 1E 05 02 1B 1D 1F";

// The write line the device log shows for item code `code` and value bytes `bytes`.
std::string WriteLine(const std::string& code, const std::string& bytes) {
    return "monitor " + kEnter + " 1B 1D 1E 05 04 " + code + " " + bytes + " 1B 1D 1F " + kSave;
}

class SetItemTest : public TUiFixture {
protected:
    static TTestItem Item(const std::string& title, const std::string& code,
                          const std::string& rule, int bytes = 1, int subGroup = 0) {
        TTestItem item{"01_LINE_SPACING", title, code, rule, bytes, title + " note"};
        item.subGroup = subGroup;
        return item;
    }
    TTestScheme Scheme(std::vector<TTestItem> items) {
        TTestScheme scheme;
        scheme.Index(0, "00_ADVANCE", "Advanced").Index(100, "100_SETTINGS", "Basic");
        scheme.Page(0, std::move(items));
        scheme.Page(100, TTestScheme::NumberedItems(1, 0x50));
        return scheme;
    }
    TEmulationDirBuilder::TSection& Printer(const TTestScheme& scheme,
                                            const std::string& values = {}) {
        return AddUsbPrinter(kPrinter, "USB001", "dev", scheme.Text(), values);
    }
    // Starts on page 0 and opens item `index` as the main window does.
    std::unique_ptr<TfrmSetItem> Open(int index) {
        EXPECT_EQ(StartUp({kPrinter, "0"}), kExitDone);
        g_CurrentItem = index;
        auto dialog = std::make_unique<TfrmSetItem>();
        dialog->show();
        QApplication::processEvents();
        return dialog;
    }
    std::vector<std::string> Monitor() {
        std::vector<std::string> lines;
        for (const std::string& line : Commands("dev"))
            if (line.starts_with("monitor")) lines.push_back(line);
        return lines;
    }
    static QRadioButton* Radio(TfrmSetItem& d, int row) {
        return qobject_cast<QRadioButton*>(d.rg1Buttons->button(row));
    }
    // Clicks a radio row on its circle, where a person clicks.
    static void ClickRadio(TfrmSetItem& d, int row) {
        QRadioButton* radio = Radio(d, row);
        ASSERT_NE(radio, nullptr);
        ASSERT_TRUE(radio->isVisible());
        QTest::mouseClick(radio, Qt::LeftButton, {}, QPoint(8, radio->height() / 2));
    }
    static void ClickRow(QListWidget* list, int row) {
        QListWidgetItem* item = list->item(row);
        ASSERT_NE(item, nullptr);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(item).center());
    }
    const std::string kRule = "0=Off,1=On (factory),2=Auto";
};

TEST_F(SetItemTest, RadioItemMarksThePrinterValueWritesTheChoiceAndConfirmsIt) {
    Printer(Scheme({Item("Spacing", "10", kRule)}), "10=1");
    auto d = Open(0);
    EXPECT_EQ(d->m_iShowMode, 0);
    EXPECT_EQ(d->windowTitle(), "Spacing");
    EXPECT_EQ(d->lblInfo->text(), "Spacing note");
    EXPECT_EQ(d->rg1Buttons->buttons().size(), 3);
    EXPECT_TRUE(Radio(*d, 1)->isChecked());
    EXPECT_EQ(d->m_iValueIndex, 1);
    EXPECT_FALSE(d->btnSet->isEnabled());  // marking the printer's value is not a choice
    EXPECT_EQ(d->height(), 21 * 3 + 200);
    EXPECT_TRUE(d->lblWeb->isVisible());

    ClickRadio(*d, 2);
    EXPECT_TRUE(d->btnSet->isEnabled());
    m_Boxes.Expect(g_GlobalString.HintTitle, g_GlobalString.SetPrinterSuccessI,
                   TMessageIcon::Information);
    Click(d->btnSet);
    EXPECT_FALSE(d->isVisible());
    EXPECT_EQ(d->result(), QDialog::Accepted);
    EXPECT_EQ(d->btnCancel->text().toStdString(), g_GlobalString.ParametersBtnReturn);
    const auto log = Monitor();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0], "monitor 1B 1D 1E 05 03 01 10 1B 1D 1F");
    EXPECT_EQ(log[1], WriteLine("10", "02"));
    EXPECT_EQ(log[2], "monitor 1B 1D 1E 05 03 01 10 1B 1D 1F");  // the read-back
}

TEST_F(SetItemTest, ValueBytesByWidth) {
    TTestItem mask = Item("Flags", "12", "", 3);
    for (int n = 1; n <= 24; ++n)
        mask.rule += (n > 1 ? "," : "") + std::to_string(n) + "=F" + std::to_string(n);
    Printer(Scheme({Item("Two", "10", "-5=Minus five,0=Zero,5=Five", 2),
                    Item("One", "11", "-1=Minus one,0=Zero,1=One"), mask}),
            "10=0,11=0,12=8388609");
    auto two = Open(0);
    ClickRadio(*two, 0);
    m_Boxes.Expect(g_GlobalString.HintTitle, g_GlobalString.SetPrinterSuccessI,
                   TMessageIcon::Information);
    Click(two->btnSet);
    EXPECT_EQ(Monitor().back(), "monitor 1B 1D 1E 05 03 01 10 1B 1D 1F");
    EXPECT_EQ(Monitor()[1], WriteLine("10", "05 80"));

    g_CurrentItem = 1;
    TfrmSetItem one;
    one.show();
    ClickRadio(one, 0);
    m_Boxes.Expect(g_GlobalString.HintTitle, g_GlobalString.SetPrinterSuccessI,
                   TMessageIcon::Information);
    Click(one.btnSet);
    EXPECT_EQ(Monitor()[4], WriteLine("11", "FF"));

    // 24 flags: bits 23 and 0 mark the first and the last row; the mask is written.
    g_CurrentItem = 2;
    TfrmSetItem flags;
    flags.show();
    EXPECT_EQ(flags.m_iShowMode, 1);
    EXPECT_EQ(flags.lst2->selectionMode(), QAbstractItemView::MultiSelection);
    EXPECT_EQ(flags.lst2->toolTip().toStdString(), g_GlobalString.CanSelectMultiItem);
    EXPECT_EQ(flags.height(), 320);
    EXPECT_EQ(flags.lst2->selectedItems().size(), 2);
    EXPECT_TRUE(flags.lst2->item(0)->isSelected());
    EXPECT_TRUE(flags.lst2->item(23)->isSelected());
    ClickRow(flags.lst2, 1);   // a plain click adds the row
    ClickRow(flags.lst2, 23);  // and another takes one away
    EXPECT_EQ(flags.m_iValueIndex, 0xC00000);
    m_Boxes.Expect(g_GlobalString.HintTitle, g_GlobalString.SetPrinterSuccessI,
                   TMessageIcon::Information);
    Click(flags.btnSet);
    EXPECT_EQ(Monitor()[7], WriteLine("12", "C0 00 00"));
}

TEST_F(SetItemTest, PrinterValueOutsideTheRuleSelectsNothing) {
    std::string many;
    for (int n = 0; n < 12; ++n)
        many += (n ? "," : "") + std::to_string(n) + "=V" + std::to_string(n);
    Printer(Scheme({Item("Spacing", "10", kRule), Item("List", "11", "0=A,1=B,2=C,3=D,4=E"),
                    Item("Long", "12", many)}),
            "10=7,11=9,12=3");
    auto radio = Open(0);
    EXPECT_EQ(radio->rg1Buttons->checkedId(), -1);
    EXPECT_EQ(radio->m_iValueIndex, ui::kNothingSelected);
    EXPECT_FALSE(radio->btnSet->isEnabled());

    g_CurrentItem = 1;
    TfrmSetItem list;
    list.show();
    EXPECT_EQ(list.m_iShowMode, 1);
    EXPECT_EQ(list.lst2->selectionMode(), QAbstractItemView::SingleSelection);
    EXPECT_EQ(list.lst2->toolTip().toStdString(), g_GlobalString.CanSelectAnItem);
    EXPECT_EQ(list.height(), 260);
    EXPECT_TRUE(list.lst2->selectedItems().isEmpty());
    EXPECT_FALSE(list.btnSet->isEnabled());
    ClickRow(list.lst2, 3);
    EXPECT_TRUE(list.btnSet->isEnabled());
    EXPECT_EQ(list.m_iValueIndex, 3);
    // The default button shows the default value (0) as a choice.
    Click(list.btnDefault);
    EXPECT_EQ(list.lst2->currentRow(), 0);
    EXPECT_TRUE(list.btnSet->isEnabled());

    g_CurrentItem = 2;
    TfrmSetItem tall;
    tall.show();
    EXPECT_EQ(tall.height(), 330);
    EXPECT_EQ(tall.lst2->currentRow(), 3);
    EXPECT_FALSE(tall.btnSet->isEnabled());  // marking the printer's value is not a choice
}

TEST_F(SetItemTest, FailureRowsOfTheWrite) {
    // The printer takes item 11 with two value bytes: a one-byte write of it is not taken,
    // and the value read back is not the one written.
    Printer(Scheme({Item("Spacing", "10", kRule), Item("Other", "11", kRule)}), "10=1,11=1");
    m_Dir.Write("schemes/dev_device.Dat",
                Scheme({Item("Spacing", "10", kRule), Item("Other", "11", kRule, 2)}).Text());
    m_Builder.Device("dev").Set("Scheme", "schemes/dev_device.Dat");
    auto d = Open(1);
    ClickRadio(*d, 2);
    m_Boxes.Expect(g_GlobalString.HintTitle, g_GlobalString.SetPrinterTimeout, TMessageIcon::Error);
    Click(d->btnSet);
    EXPECT_TRUE(d->isVisible());  // not confirmed: the dialog stays
    EXPECT_FALSE(d->btnSet->isEnabled());
    EXPECT_TRUE(d->btnCancel->isEnabled());
    EXPECT_TRUE(d->pnlTop->isEnabled());
    EXPECT_EQ(d->btnCancel->text().toStdString(), g_GlobalString.ParametersBtnCancel);
}

TEST_F(SetItemTest, FailureRowsOfReadingAndCancel) {
    Printer(Scheme({Item("Spacing", "10", kRule)}), "10=1");
    m_Builder.Device("dev").Set("Mute", "1").Set("StatusByte", "0x1F");
    Install();
    m_Boxes.Expect(g_GlobalString.HintTitle, g_GlobalString.ReadTimeout, TMessageIcon::Warning);
    EXPECT_EQ(StartUp({kPrinter, "0"}), kExitDone);
    g_CurrentItem = 0;
    TfrmSetItem d;
    m_Boxes.Expect(g_GlobalString.ErrorTitle, g_GlobalString.PrinterStatusError,
                   TMessageIcon::Warning);
    d.show();
    m_Boxes.VerifyAllShown();
    EXPECT_EQ(d.rg1Buttons->checkedId(), -1);
    // Busy printer: Cancel, Esc and the title bar's close are all refused.
    m_Boxes.Expect(g_GlobalString.HintTitle, g_GlobalString.WaitingForPrinterWork,
                   TMessageIcon::Error);
    Click(d.btnCancel);
    m_Boxes.Expect(g_GlobalString.HintTitle, g_GlobalString.WaitingForPrinterWork,
                   TMessageIcon::Error);
    QTest::keyClick(&d, Qt::Key_Escape);
    m_Boxes.Expect(g_GlobalString.HintTitle, g_GlobalString.WaitingForPrinterWork,
                   TMessageIcon::Error);
    d.close();
    EXPECT_TRUE(d.isVisible());
}

TEST_F(SetItemTest, FailureRowsWithoutPortMonitorOrPrinter) {
    Printer(Scheme({Item("Spacing", "10", kRule, 1, 1), Item("List", "11", "0=A,1=B,2=C,3=D,4=E")}),
            "10=1")
        .Set("Monitor", "0");
    EXPECT_EQ(StartUp({kPrinter, "0"}), kExitDone);

    // A failed write is tried again from the row still selected: a click or Enter on it.
    g_CurrentItem = 1;
    auto list = std::make_unique<TfrmSetItem>();
    m_Boxes.Expect(g_GlobalString.ErrorTitle, g_GlobalString.PrinterStatusError,
                   TMessageIcon::Warning);
    list->show();
    ClickRow(list->lst2, 3);
    for (int attempt = 0; attempt < 2; ++attempt) {
        m_Boxes.Expect(g_GlobalString.HintTitle, g_GlobalString.SetPrinterFail,
                       TMessageIcon::Error);
        Click(list->btnSet);
        EXPECT_FALSE(list->btnSet->isEnabled());
        EXPECT_EQ(list->lst2->currentRow(), 3);
        if (attempt == 0) {
            ClickRow(list->lst2, 3);
        } else {
            QTest::keyClick(list->lst2, Qt::Key_Return);
        }
        EXPECT_TRUE(list->btnSet->isEnabled()) << attempt;
        EXPECT_EQ(list->m_iValueIndex, 3);
    }
    list.reset();

    g_CurrentItem = 0;
    TfrmSetItem d;
    m_Boxes.Expect(g_GlobalString.ErrorTitle, g_GlobalString.PrinterStatusError,
                   TMessageIcon::Warning);
    d.show();
    EXPECT_TRUE(d.btnSet->isEnabled());  // an item with a sub group
    m_Boxes.Expect(g_GlobalString.HintTitle, g_GlobalString.HaveToSelectAnItem,
                   TMessageIcon::Error);
    Click(d.btnSet);
    ClickRadio(d, 0);
    m_Boxes.Expect(g_GlobalString.HintTitle, g_GlobalString.SetPrinterFail, TMessageIcon::Error);
    Click(d.btnSet);
    EXPECT_TRUE(d.isVisible());

    m_Builder.Printer(kPrinter, "USB001").Set("WorkOffline", "1");
    m_Builder.Write();
    InstallEmulation(Dir());
    m_Boxes.Expect(g_GlobalString.HintTitle, g_GlobalString.PrinterNotFound, TMessageIcon::Error);
    ClickRadio(d, 1);
    Click(d.btnSet);
    m_Boxes.Expect(g_GlobalString.HintTitle, g_GlobalString.PrinterNotFound, TMessageIcon::Error);
    Click(d.btnCancel);
    EXPECT_FALSE(d.isVisible());  // closes after saying so
}

TEST_F(SetItemTest, AffirmReadDisableMakesReadFailuresSilent) {
    TTestScheme scheme = Scheme({Item("Spacing", "10", kRule)});
    scheme.Global("AffirmReadDisable", "1");
    Printer(scheme, "10=1");
    m_Builder.Device("dev").Set("Mute", "1");
    auto d = Open(0);  // no box for the failed read
    ClickRadio(*d, 0);
    m_Boxes.Expect(g_GlobalString.HintTitle, g_GlobalString.SetPrinterSuccessI,
                   TMessageIcon::Information);
    Click(d->btnSet);
    EXPECT_FALSE(d->isVisible());
}

TEST_F(SetItemTest, ValueTooWideIsRefusedBeforeSending) {
    Printer(Scheme({Item("Spacing", "10", "0=Off,300=Too wide")}), "10=0");
    auto d = Open(0);
    ClickRadio(*d, 1);
    m_Boxes.Expect(kPrinter, "The value 300 cannot be written in 1 byte(s)", TMessageIcon::Error);
    Click(d->btnSet);
    EXPECT_EQ(Monitor().size(), 1u);  // the first read only
    EXPECT_TRUE(d->btnCancel->isEnabled());
}

TEST_F(SetItemTest, WebLinkOpensWebAddressesOnly) {
    TTestScheme scheme = Scheme({Item("Spacing", "10", kRule)});
    Printer(scheme, "10=1");
    auto d = Open(0);
    EXPECT_TRUE(d->lblWeb->text().contains("https://www.talvenor.example"));
    d->lblWebClick();
    g_SchemeOptions->m_Sections.WebAddress = "calc.exe";
    d->lblWebClick();
    g_SchemeOptions->m_Sections.WebAddress = "file:///etc/passwd";
    d->lblWebClick();
    std::ifstream log(Dir() / "shell.log");
    std::string all((std::istreambuf_iterator<char>(log)), {});
    EXPECT_EQ(all, "https://www.talvenor.example\n");

    g_SchemeOptions->m_Sections.WebAddress = "0";
    d->hide();
    d->show();
    EXPECT_FALSE(d->lblWeb->isVisible());
}

TEST_F(SetItemTest, ChangingASettingFromTheMainWindowChangesItsValueLine) {
    Printer(Scheme({Item("Spacing", "10", kRule)}), "10=0");
    ASSERT_EQ(StartUp({kPrinter, "0"}), kExitDone);
    ShowMainWindow();
    ui::TfrmMainView2& w = *MainWindow();
    EXPECT_EQ(w.lblValue[0]->text().toStdString(), g_GlobalString.CurrentValue + "Off");
    bool opened = false;
    WhenShown<TfrmSetItem>([&](TfrmSetItem* d) {
        opened = true;
        EXPECT_FALSE(w.isVisible());
        ClickRadio(*d, 2);
        m_Boxes.Expect(g_GlobalString.HintTitle, g_GlobalString.SetPrinterSuccessI,
                       TMessageIcon::Information);
        Click(d->btnSet);
    });
    Click(w.btn[0]);
    EXPECT_TRUE(opened);
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.lblValue[0]->text().toStdString(), g_GlobalString.CurrentValue + "Auto");
}

TEST_F(SetItemTest, SubGroupRowsLeadToTheirDialogs) {
    TTestScheme scheme = Scheme({Item("Paper", "10", "0=A,1=B,2=Custom,3=Card,4=Passbook", 1, 64)});
    scheme.Page(191, {Item("Width", "20", "0=Narrow,1=Wide")});
    Printer(scheme, "10=0,20=1");
    auto d = Open(0);

    // Row 2: the group item dialog with the row's title.
    std::string caption;
    WhenShown<ui::TFormSetGroupItem>([&](ui::TFormSetGroupItem* g) {
        caption = g->windowTitle().toStdString();
        EXPECT_TRUE(g->pnlItem[0]->isVisible());
        EXPECT_EQ(g->lst[0]->currentRow(), 1);
        Click(g->btnCancel);
    });
    ClickRow(d->lst2, 2);
    Click(d->btnSet);
    EXPECT_EQ(caption, "Custom");
    EXPECT_TRUE(d->isVisible());

    // Row 3: the card-type dialog without the page height.
    WhenShown<ui::TfrmInvoiceType_SetGruop>([&](ui::TfrmInvoiceType_SetGruop* c) {
        caption = c->windowTitle().toStdString();
        EXPECT_FALSE(c->pnlItem2->isVisible());
        EXPECT_EQ(c->width(), 710 - 170);
        EXPECT_EQ(c->pnlItem3->x(), c->pnlItem1->x() + 170 + 5);
        EXPECT_EQ(c->pnlItem4->x(), c->pnlItem3->x() + 170 + 5);
        Click(c->btnCancel);
    });
    ClickRow(d->lst2, 3);
    Click(d->btnSet);
    EXPECT_EQ(caption, "Card");

    // Row 4: with it.
    WhenShown<ui::TfrmInvoiceType_SetGruop>([&](ui::TfrmInvoiceType_SetGruop* c) {
        caption = c->windowTitle().toStdString();
        EXPECT_TRUE(c->pnlItem2->isVisible());
        EXPECT_EQ(c->width(), 710);
        EXPECT_EQ(c->pnlItem3->x(), c->pnlItem2->x() + 170 + 5);
        EXPECT_EQ(c->pnlItem4->x(), c->pnlItem3->x() + 170 + 5);
        Click(c->btnCancel);
    });
    ClickRow(d->lst2, 4);
    Click(d->btnSet);
    EXPECT_EQ(caption, "Passbook");
}

TEST_F(SetItemTest, SubGroupThatDoesNotExistIsRefused) {
    Printer(Scheme({Item("Paper", "10", kRule, 1, 65)}), "10=0");
    auto d = Open(0);
    ClickRadio(*d, 1);
    m_Boxes.Expect(kPrinter, "SubGroup out of index: 65", TMessageIcon::Error);
    Click(d->btnSet);
    EXPECT_TRUE(d->isVisible());
}

TEST_F(SetItemTest, RunModeOneWritesTheValuesReportAndEndsWithTheDialog) {
    TTestScheme scheme = Scheme({});
    scheme.Page(100, {Item("Spacing", "10", kRule), Item("Speed", "11", kRule)});
    Printer(scheme, "10=0,11=0");
    bool groupsCreated = false;
    WhenShown<TfrmSetItem>([&](TfrmSetItem* d) {
        groupsCreated =
            d->findChild<ui::TFormSetGroupItem*>() && d->findChild<ui::TfrmInvoiceType_SetGruop*>();
        EXPECT_EQ(d->windowTitle(), "Speed");
        ClickRadio(*d, 1);
        m_Boxes.Expect(g_GlobalString.HintTitle, g_GlobalString.SetPrinterSuccessI,
                       TMessageIcon::Information);
        Click(d->btnSet);
    });
    EXPECT_EQ(StartUp({kPrinter, "1", "1"}), kExitDone);
    EXPECT_TRUE(groupsCreated);
    EXPECT_TRUE(fs::is_regular_file(CacheBase(kPrinter)));

    // An item the page does not have.
    m_Boxes.Expect(g_GlobalString.ErrorTitle, "Out of index (2)", TMessageIcon::Error);
    EXPECT_EQ(StartUp({kPrinter, "1", "2"}), kExitStartRefused);
}

TEST_F(SetItemTest, RunModeOneWithoutAWriteLeavesNoReport) {
    TTestScheme scheme = Scheme({});
    scheme.Page(100, {Item("Spacing", "10", kRule)});
    Printer(scheme, "10=0");
    WhenShown<TfrmSetItem>([&](TfrmSetItem* d) { Click(d->btnCancel); });
    EXPECT_EQ(StartUp({kPrinter, "1", "0"}), kExitDone);
    EXPECT_FALSE(fs::exists(CacheBase(kPrinter)));
}

}  // namespace
}  // namespace ps::test
