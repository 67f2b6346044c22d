// SPDX-License-Identifier: MIT
// The group item dialog.
#include "ui/setting/uSetGroupItem.h"

#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>
#include <stdexcept>

#include "base/Lib_String.h"
#include "localisation/Scheme.h"
#include "localisation/WaitingTexts.h"
#include "platform/UserInterface.h"
#include "printer/Globals.h"
#include "printer/UtilPrinter.h"
#include "scheme/Scheme3.h"
#include "scheme/SettingWrite.h"
#include "scheme/ValueCodec.h"
#include "ui/common/EventGuard.h"
#include "ui/common/ItemPanel.h"
#include "ui/common/QtUserInterface.h"

namespace ps::ui {
namespace {

constexpr int kPanelLefts[4] = {3, 174, 345, 519};
constexpr int kRowTops[2] = {8, 167};
constexpr int kBottomHeight = 36;
constexpr int kTallHeight = 468;
constexpr int kLowHeight = 300;

std::string Trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

TFormSetGroupItem::TFormSetGroupItem(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint) {
    setObjectName("FormSetGroupItem");
    pnl1 = new QWidget(this);
    pnl1->setObjectName("pnl1");
    pnl3 = new QWidget(pnl1);
    pnl3->setObjectName("pnl3");
    for (int i = 0; i < kGroupItemSlots; ++i) {
        const QString n = QString::number(i + 1);
        pnlItem[i] = MakeItemPanel(pnl3, "pnlItem" + n, kPanelLefts[i % 4], kRowTops[i / 4]);
        lst[i] = MakeItemList(pnlItem[i], "lst" + n);
        lblName[i] = MakeItemName(pnlItem[i], "lblName" + n, lst[i]);
        pnlItem[i]->setVisible(false);
    }
    pnl4 = new QWidget(pnl1);
    pnl4->setObjectName("pnl4");
    grp1 = new QGroupBox(pnl4);
    grp1->setObjectName("grp1");
    lblInfo = new QLabel(grp1);
    lblInfo->setObjectName("lblInfo");
    lblInfo->setWordWrap(true);
    lblInfo->setTextFormat(Qt::PlainText);
    lblInfo->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    pnlBottom = new QWidget(this);
    pnlBottom->setObjectName("pnlBottom");
    btnSet = new QPushButton(pnlBottom);
    btnSet->setObjectName("btnSet");
    btnCancel = new QPushButton(pnlBottom);
    btnCancel->setObjectName("btnCancel");
    for (QPushButton* button : {btnSet, btnCancel}) button->setAutoDefault(false);
    connect(btnSet, &QPushButton::clicked, this, Guarded(this, [this] { btnSetClick(); }));
    connect(btnCancel, &QPushButton::clicked, this, Guarded(this, [this] { btnCancelClick(); }));

    // FormCreate.
    grp1->setTitle(Q(g_GlobalString.ParametersNoteTitle));
    btnSet->setText(Q(g_GlobalString.ParametersBtnSet));
}

void TFormSetGroupItem::SetParameters(const std::string& strCaption, std::int32_t iSubGroup) {
    // Only these sub groups have pages; other numbers would wrap onto other item lists.
    if (iSubGroup != 1 && iSubGroup != 2 && iSubGroup != 64)
        throw std::runtime_error("SubGroup out of index: " + std::to_string(iSubGroup));
    setWindowTitle(Q(strCaption));
    setAccessibleName(Q(strCaption));
    m_pm = static_cast<std::uint8_t>(SubGroupPage(iSubGroup));
}

std::string TFormSetGroupItem::NoteWithCaption(const std::string& note,
                                               const std::string& caption) {
    std::string text = note;
    if (const std::size_t at = text.find("%s"); at != std::string::npos)
        text.replace(at, 2, caption);
    return text;
}

int TFormSetGroupItem::ShownItems() const {
    return std::clamp(m_iItems, 0, kGroupItemSlots);
}

void TFormSetGroupItem::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) RunGuarded(this, [this] { FormShow(); });
}

void TFormSetGroupItem::FormShow() {
    m_iItems = g_SchemeOptions ? g_SchemeOptions->GetItemLength(m_pm) : 0;
    const int shown = ShownItems();
    int height = m_iItems > 4 ? kTallHeight : kLowHeight;
    // Four items are sized like five: the first row is full either way.
    const int lastInRow = std::clamp(shown, 1, 4) - 1;
    const int width = kPanelLefts[lastInRow] + kItemPanelWidth + 10;

    grp1->setTitle(Q(g_GlobalString.ParametersNoteTitle));
    btnSet->setText(Q(g_GlobalString.ParametersBtnSet));
    btnCancel->setText(Q(g_GlobalString.ParametersBtnCancel));

    TSettingItem first;
    if (g_SchemeOptions && g_SchemeOptions->GetItem(m_pm, 0, first))
        lblInfo->setText(Q(NoteWithCaption(first.Note, S(windowTitle()))));
    else
        lblInfo->clear();

    for (int i = 0; i < kGroupItemSlots; ++i) {
        TSettingItem item;
        const bool used = i < shown && g_SchemeOptions->GetItem(m_pm, i, item);
        pnlItem[i]->setVisible(used);
        lst[i]->clear();
        if (!used) continue;
        lblName[i]->setText(Q(item.Title));
        lst[i]->setAccessibleName(Q(item.Title));
        lst[i]->setToolTip(Q(item.Note));
        for (const std::string& title : item.RuleValues.RuleTitle) AddItemRow(lst[i], Q(title));
    }

    // The printer's values, when the page can be read from a USB printer in this showing.
    m_bValuesRead = false;
    std::string port;
    bool online = false;
    if (g_SchemeOptions && GetPrinterPortInfo(g_PrinterName, port, online) && online &&
        port.find("USB") != std::string::npos) {
        const int usb = FindUSBPrinterIndex(port);
        if (usb >= 0) {
            TWaitingWindowGuard waiting(g_PrinterName);
            m_bValuesRead = g_SchemeOptions->GetPrinterValues_ForPage(usb, m_pm);
        }
    }
    if (m_bValuesRead) {
        for (int i = 0; i < shown; ++i) {
            TSettingItem item;
            if (!g_SchemeOptions->GetItem(m_pm, i, item)) continue;
            lst[i]->clearSelection();
            int row = -1;
            for (std::size_t r = 0; r < item.RuleValues.RuleValue.size(); ++r)
                if (item.RuleValues.RuleValue[r] == item.ValueCurrent) row = static_cast<int>(r);
            if (row >= 0 && row < lst[i]->count()) lst[i]->setCurrentRow(row);
        }
    }

    // Geometry: the item rows, the explanation below them, the buttons at the bottom.
    const int rowsBottom = (m_iItems > 4 ? kRowTops[1] : kRowTops[0]) + kItemPanelHeight;
    const int infoWidth = width - 16 - 16;
    const int infoHeight = std::max(lblInfo->heightForWidth(infoWidth), 40);
    height = std::max(height, rowsBottom + infoHeight + 36 + kBottomHeight);
    setFixedSize(width, height);
    pnlBottom->setGeometry(0, height - kBottomHeight, width, kBottomHeight);
    btnCancel->setGeometry(width - 8 - 65, 3, 65, 30);
    btnSet->setGeometry(btnCancel->x() - 6 - 65, 3, 65, 30);
    pnl1->setGeometry(0, 0, width, height - kBottomHeight);
    pnl3->setGeometry(0, 0, width, rowsBottom + 4);
    pnl4->setGeometry(0, rowsBottom + 4, width, pnl1->height() - rowsBottom - 4);
    grp1->setGeometry(8, 0, width - 16, pnl4->height() - 4);
    lblInfo->setGeometry(8, 20, infoWidth, grp1->height() - 26);

    QWidget* previous = nullptr;
    for (int i = 0; i < shown; ++i) {
        if (previous) setTabOrder(previous, lst[i]);
        previous = lst[i];
    }
    if (previous) setTabOrder(previous, btnSet);
    setTabOrder(btnSet, btnCancel);
}

void TFormSetGroupItem::btnSetClick() {
    const TTagSections& sections = g_SchemeOptions->m_Sections;
    std::string text = sections.EnterInstruction + " ";
    std::vector<TWrittenValue> written;
    for (int i = 0; i < ShownItems(); ++i) {
        TSettingItem item;
        const int row = lst[i]->currentRow();
        if (!g_SchemeOptions->GetItem(m_pm, i, item) || row < 0 ||
            !lst[i]->item(row)->isSelected() ||
            static_cast<std::size_t>(row) >= item.RuleValues.RuleValue.size())
            continue;
        const std::int32_t value = item.RuleValues.RuleValue[static_cast<std::size_t>(row)];
        text += Trimmed(item.SetInstruction);
        // Three-byte items carry no value bytes here.
        if (item.nParameterByte == 1 || item.nParameterByte == 2) {
            CheckValueFitsWidth(item.nParameterByte, value);
            for (std::uint8_t b : ValueToBytes(item.nParameterByte, value))
                text += QString::asprintf(" %.2X", b).toStdString();
            written.push_back({i, value});
        }
        text += " " + sections.InstructionTail + " ";
    }
    text += sections.SaveInstruction;
    const std::string bytes = g_SchemeOptions->HexString2AnsiString(text, false);

    std::string port;
    bool online = false;
    if (!GetPrinterPortInfo(g_PrinterName, port, online) || !online) {
        ShowMessageOver(this, g_GlobalString.HintTitle, g_GlobalString.PrinterNotFound,
                        TMessageIcon::Error);
        return;
    }
    if (port.find("USB") == std::string::npos) return;
    const int usb = FindUSBPrinterIndex(port);
    if (usb < 0 || !SendUSBBytes(bytes, usb)) {
        ShowMessageOver(this, g_GlobalString.HintTitle, g_GlobalString.SetPrinterFail,
                        TMessageIcon::Error);
        return;
    }
    btnCancel->setText(Q(g_GlobalString.ParametersBtnReturn));
    // The write has no reply: read the page again to see the values took.
    switch (ConfirmPageValues(*g_SchemeOptions, usb, m_pm, written)) {
        case TPageConfirm::Confirmed:
            ShowMessageOver(this, g_GlobalString.HintTitle, g_GlobalString.SetPrinterSuccess,
                            TMessageIcon::Information);
            accept();
            return;
        case TPageConfirm::NotConfirmed:
            ShowMessageOver(this, g_GlobalString.HintTitle, g_GlobalString.SetPrinterTimeout,
                            TMessageIcon::Error);
            return;
        case TPageConfirm::Unreadable:
            ShowMessageOver(this, g_GlobalString.HintTitle, g_GlobalString.SetPrinterCantAffirm,
                            TMessageIcon::Warning);
            return;
    }
}

void TFormSetGroupItem::btnCancelClick() {
    reject();
}

}  // namespace ps::ui
