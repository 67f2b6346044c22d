// SPDX-License-Identifier: MIT
// The main window's item grid: page values, value lines, the mode button and the geometry.
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QThread>
#include <QToolButton>

#include "localisation/Scheme.h"
#include "localisation/WaitingTexts.h"
#include "platform/Platform.h"
#include "platform/UserInterface.h"
#include "printer/Globals.h"
#include "printer/UtilPrinter.h"
#include "scheme/Scheme3.h"
#include "ui/common/Artwork.h"
#include "ui/common/QtUserInterface.h"
#include "ui/main/uMain2.h"

namespace ps::ui {
namespace {

constexpr int kWindowWidth = 440;
constexpr int kBottomHeight = 44;  // the row of version, port box and close button
constexpr int kRowGap = 13;        // between a button and the next row's
constexpr int kFirstRowTop = 15;
constexpr int kLeftColumn = 12;
constexpr int kRightColumn = 210;
constexpr int kRightGroupLeft = 205;
constexpr int kNarrowGlyph = 60;  // narrower glyphs leave room for a right column
constexpr int kValueWidth = 130;
constexpr int kValueHeight = 50;

bool StartsWithInk(const std::string& icon) {
    return icon.starts_with("Ink");
}

// Keeps the window responsive for about half a second after a successful read.
void SettleAfterRead() {
    for (int round = 0; round < 51; ++round) {
        QThread::yieldCurrentThread();
        UserInterface().ProcessMessages();
        Platform().Clock().Sleep(10);
    }
}

}  // namespace

std::string TfrmMainView2::ValueLineTitle(const std::string& title) {
    const std::size_t cut = title.find(" (");
    return cut == std::string::npos ? title : title.substr(0, cut + 1);
}

// Step 4 of RefreshItemGrid: the page's values, under the waiting window.
bool TfrmMainView2::ReadPageValues(bool bInkPage, bool& bUsbPort) {
    std::string port;
    bool online = false;
    const bool known = GetPrinterPortInfo(g_PrinterName, port, online);
    bUsbPort = port.find("USB") != std::string::npos;
    if (bInkPage || !known || !online || !bUsbPort || !g_SchemeOptions) return false;
    // A port the vendor library does not list cannot be read (index -1 would name no printer).
    const int usbIndex = FindUSBPrinterIndex(port);
    if (usbIndex < 0) return false;
    TWaitingWindowGuard waiting(g_PrinterName);
    const bool read = g_SchemeOptions->GetPrinterValues_ForPage(usbIndex, g_CurrentPage);
    if (read) SettleAfterRead();
    return read;
}

void TfrmMainView2::PlaceModeButton(std::uint8_t targetPage) {
    TSettingItem index;
    if (g_SchemeOptions) g_SchemeOptions->GetIndexItem(targetPage, index);
    // A refresh only ever hides the mode button: once the cycle has ended (page 0, or a page
    // whose target has no index item) it stays hidden for the life of the window.
    if (index.Icon.empty()) {
        btnMode->setVisible(false);
        lblMode->setVisible(false);
        grp2->setVisible(false);
        return;
    }
    btnMode->setIcon(ItemIcon(index.Icon));
    btnMode->setIconSize(kGlyphSize);
    btnMode->resize(kGlyphSize.width() + 6, kGlyphSize.height() + 6);
    btnMode->setToolTip(Q(index.Note));
    btnMode->setAccessibleName(Q(index.Title));
    btnMode->setAccessibleDescription(Q(index.Note));
    lblMode->setText(Q(index.Title));
    lblMode->adjustSize();
    lblMode->move(btnMode->x() + btnMode->width() + 10,
                  btnMode->y() + (btnMode->height() - lblMode->height()) / 2);
}

void TfrmMainView2::RefreshItemGrid(bool bShowReadWarning) {
    btnClose->setText(Q(g_GlobalString.ParametersBtnReturn));

    const std::uint8_t page = g_CurrentPage;
    const std::int32_t n = g_SchemeOptions ? g_SchemeOptions->GetItemLength(page) : 0;
    TSettingItem second;
    const bool inkPage =
        g_SchemeOptions && g_SchemeOptions->GetItem(page, 1, second) && StartsWithInk(second.Icon);
    bool usbPort = false;
    const bool valuesRead = ReadPageValues(inkPage, usbPort);

    // The window's frame first, so the grid can be placed in it.
    setFixedWidth(kWindowWidth);
    const int buttonHeight = kGlyphSize.height() + 6;
    const int pitch = buttonHeight + kRowGap;
    if (page == kPageMaintenance)
        setFixedHeight(pitch * ((n + 2) / 2) + 110);
    else if (page == kPageAdvance)
        setFixedHeight(pitch * ((n + 1) / 2) + 110);
    else
        setFixedHeight(height());
    pnlTop->setGeometry(0, 0, width(), height() - kBottomHeight);
    grp1->setGeometry(4, 2, pnlTop->width() - 8, pnlTop->height() - 4);
    grp2->setGeometry(kRightGroupLeft, grp1->height() - pitch - 4,
                      grp1->width() - kRightGroupLeft - 8, pitch);
    btnMode->move(6, (grp2->height() - buttonHeight) / 2);

    PlaceModeButton(ModeTargetPage(page));

    for (int k = 1; k <= kGridSlots; ++k) {
        const int i = k - 1;
        QToolButton* button = btn[i];
        QLabel* title = lbl[i];
        QLabel* value = lblValue[i];
        TSettingItem item;
        if (i >= n || !g_SchemeOptions->GetItem(page, i, item)) {
            button->setVisible(false);
            title->setVisible(false);
            value->setVisible(false);
            continue;
        }
        std::string valueLine;
        if (valuesRead && item.ValueCurrent != ValueAbsent) {
            std::string text;
            g_SchemeOptions->GetTitleFromValue(page, i, text, item.ValueCurrent);
            if (!text.empty()) valueLine = g_GlobalString.CurrentValue + ValueLineTitle(text);
        }
        if (StartsWithInk(item.Icon)) valueLine.clear();

        button->setVisible(true);
        title->setVisible(true);
        value->setVisible(true);
        button->setIcon(ItemIcon(item.Icon));
        button->setIconSize(kGlyphSize);
        button->setToolTip(Q(item.Note));
        button->setAccessibleName(Q(item.Title));
        button->setAccessibleDescription(Q(item.Note));
        title->setText(Q(item.Title));
        value->setText(Q(valueLine));
        value->setAccessibleName(Q(valueLine));

        // Geometry inside grp1.
        int left = kLeftColumn;
        int top = (i / 2) * pitch + kFirstRowTop;
        if (i % 2 == 1 && kGlyphSize.width() < kNarrowGlyph) left = kRightColumn;
        if (page == kPageMaintenance && i == n - 1 && i % 2 == 1) {
            left = kLeftColumn;
            top = ((i + 1) / 2) * pitch + kFirstRowTop;
        }
        button->setGeometry(left, top, kGlyphSize.width() + 6, buttonHeight);
        const int titleLeft = left + button->width() + 10;
        // Titles wrap inside their column rather than run into the next one.
        const int columnRight = left == kLeftColumn ? kRightGroupLeft - 4 : grp1->width() - 4;
        title->setWordWrap(false);
        title->adjustSize();
        if (titleLeft + title->width() > columnRight) {
            title->setWordWrap(true);
            title->setFixedWidth(columnRight - titleLeft);
            title->setFixedHeight(title->heightForWidth(columnRight - titleLeft));
        } else {
            title->setMinimumSize(0, 0);
            title->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
            title->adjustSize();
        }
        title->move(titleLeft, top + 3);
        value->setGeometry(titleLeft, title->y() + title->height() + 5, kValueWidth, kValueHeight);
    }

    // Bottom row.
    const int bottomTop = height() - kBottomHeight;
    btnClose->setGeometry(width() - 12 - 80, bottomTop + 9, 80, 26);
    cbbPrinterPort->setGeometry(btnClose->x() - 8 - 120, bottomTop + 10, 120, 24);
    lblVersion->adjustSize();
    lblVersion->move(12, bottomTop + 6);
    lblPrinter->adjustSize();
    lblPrinter->move(12, bottomTop + 24);
    lblPort->adjustSize();
    lblPort->move(lblPrinter->x() + lblPrinter->width() + 6, bottomTop + 24);
    UpdateTabOrder();

    if (bShowReadWarning && g_SchemeOptions && !g_SchemeOptions->m_Sections.AffirmReadDisable &&
        !valuesRead && usbPort && !inkPage)
        ShowMessageOver(this, g_GlobalString.HintTitle, g_GlobalString.ReadTimeout,
                        TMessageIcon::Warning);
}

void TfrmMainView2::UpdateTabOrder() {
    QWidget* previous = nullptr;
    auto chain = [&previous](QWidget* next) {
        if (previous) setTabOrder(previous, next);
        previous = next;
    };
    for (QToolButton* button : btn) chain(button);
    chain(btnMode);
    chain(cbbPrinterPort);
    chain(btnClose);
}

}  // namespace ps::ui
