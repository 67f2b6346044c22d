// SPDX-License-Identifier: MIT
// The item dialog's ink maintenance page: the picture page, its action button (cleanings,
// nozzle check, the change sequence's OK), the clean button and the form feed.
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>

#include "localisation/Scheme.h"
#include "maintenance/ActionChecks.h"
#include "maintenance/InkChange.h"
#include "printer/Globals.h"
#include "ui/common/Artwork.h"
#include "ui/common/QtUserInterface.h"
#include "ui/setting/uSetItem.h"

namespace ps::ui {
namespace {

// Pictures are 346 x 194; the page shows them in the client width less its margins.
constexpr int kPictureHeight = 194;
constexpr int kPictureAreaWidth = 342;

// The variant: the item Name without its "Ink_".
std::string VariantOf(const std::string& name) {
    return name.size() > 4 ? name.substr(4) : std::string();
}

}  // namespace

void TfrmSetItem::ArrangePicturePage() {
    for (QWidget* panel : {pnlType1, pnlType2}) {
        panel->setVisible(false);
        panel->setMinimumHeight(0);
    }
    pnlType3->setVisible(true);
    btnDefault->setVisible(false);
    btnSet->setVisible(false);
    tsb3->setFrameShape(QFrame::NoFrame);
    tsb3->setFixedHeight(kPictureHeight);
    ShowPicture("Img_" + VariantOf(m_Item.Name));
    imgPicture->setAccessibleName(Q(m_Item.Title));
    btnInkset->setText(Q(g_GlobalString.ParametersBtnOK));
    btnInkset->setVisible(true);
    btnInkset->setEnabled(true);
    btnBack->setVisible(false);
    btnNext->setVisible(false);
    btnClean->setVisible(m_Item.Icon == "Ink_Holecheck");
    m_count = 0;
    m_bChangeStarted = false;
    if (FindChangeVariant(m_Item.Name)) ArrangeChangeStartPage();
}

void TfrmSetItem::ShowPicture(const std::string& name) {
    // Drawn at the size it is shown, so it stays sharp on every screen.
    const QSize size(kPictureAreaWidth, kPictureHeight);
    imgPicture->setPixmap(HasPicture(name)
                              ? PicturePixmap(name, devicePixelRatioF(), size)
                              : ItemPixmap(m_Item.Icon, devicePixelRatioF(), QSize(92, 76)));
    imgPicture->setObjectName("imgPicture");
    imgPicture->setProperty("picture", Q(name));
}

TNozzlePatternPaths TfrmSetItem::PatternPaths() const {
    return {m_Holecheck6A3C, m_Holecheck6A3C_2, m_HolecheckKV,
            m_Holecheck4E17, m_Holecheck4D00,   m_Holecheck7D05};
}

TInkTarget TfrmSetItem::InkTarget(const std::string& portName) const {
    return {this, m_USBPort.get(), portName};
}

std::string TfrmSetItem::CommandSet() const {
    return g_SchemeOptions ? g_SchemeOptions->m_Sections.SettingCommand : std::string();
}

void TfrmSetItem::RunInkAction(const std::function<void()>& action) {
    if (m_bInkActionRunning) return;
    m_bInkActionRunning = true;
    // Clicks that reach the dialog while a wait keeps the windows alive find no button.
    pnlBottom->setEnabled(false);
    struct TOver {
        TfrmSetItem* dialog;
        ~TOver() {
            dialog->m_bInkActionRunning = false;
            dialog->pnlBottom->setEnabled(true);
        }
    } over{this};
    action();
}

void TfrmSetItem::EndInkAction(TInkActionEnd end) {
    if (end == TInkActionEnd::Close) CloseDialog(QDialog::Accepted);
}

void TfrmSetItem::btnInksetClick() {
    RunInkAction([this] {
        const TActionCheck check = CheckAndTell(g_PrinterName, m_USBPort.get(), this);
        if (!check.Passed()) return;
        const TInkTarget target = InkTarget(check.portName);
        const std::string& icon = m_Item.Icon;
        TInkActionEnd end = TInkActionEnd::StayOpen;
        if (icon == "Ink_Clean") {
            end = RunHeadCleaning(target);
        } else if (icon == "Ink_Deepclean") {
            end = RunDeepCleaning(target);
        } else if (icon == "Ink_Bearing_Clean") {
            end = RunRollerCleaning(target);
        } else if (icon == "Ink_Holecheck") {
            end = RunNozzleCheck(target, m_Item.Name, PatternPaths());
        } else if (icon == "Ink_Changehead") {
            end = ExecuteHeadChange(target, CommandSet(), m_bChangeStarted);
        } else if (icon == "Ink_Changebox") {
            end = ExecuteBoxChange(target, VariantOf(m_Item.Name), m_bChangeStarted);
        }
        EndInkAction(end);
    });
}

void TfrmSetItem::btnCleanClick() {
    RunInkAction([this] {
        const TActionCheck check =
            CheckAndTell(g_PrinterName, m_USBPort.get(), this, TActionCheckSet::UsableNotBusy());
        if (!check.Passed()) return;
        EndInkAction(RunCleanButton(InkTarget(check.portName)));
    });
}

void TfrmSetItem::SendFormFeed() {
    ps::SendFormFeed(this);
}

}  // namespace ps::ui
