// SPDX-License-Identifier: MIT
// The item dialog's change sequence: the start page, Start/Next and Back through the steps,
// the serial number dialog, and the abort when the dialog is cancelled.
#include <QLabel>
#include <QPushButton>

#include "localisation/Scheme.h"
#include "maintenance/ActionChecks.h"
#include "maintenance/InkChange.h"
#include "maintenance/InkMaintenance.h"
#include "printer/Globals.h"
#include "ui/common/QtUserInterface.h"
#include "ui/setting/uHeadsn.h"
#include "ui/setting/uSetItem.h"

namespace ps::ui {
namespace {
constexpr int kStepPageHeight = 390;
}

void TfrmSetItem::ArrangeChangeStartPage() {
    btnBack->setVisible(true);
    btnBack->setEnabled(false);
    btnNext->setVisible(true);
    btnNext->setEnabled(true);
    btnNext->setText(Q(g_GlobalString.btnInkset));
    btnInkset->setEnabled(false);
}

void TfrmSetItem::ShowStep(int step) {
    const TChangeVariant* variant = FindChangeVariant(m_Item.Name);
    if (!variant) return;
    ShowPicture(variant->StepPicture(step));
    lblInfo->setText(Q(variant->StepText(step)));
    m_count = step;
}

void TfrmSetItem::btnNextClick() {
    RunInkAction([this] {
        const TActionCheck check =
            CheckAndTell(g_PrinterName, m_USBPort.get(), this, TActionCheckSet::UsableNotBusy());
        if (!check.Passed()) return;
        const TChangeVariant* variant = FindChangeVariant(m_Item.Name);
        if (!variant) return;
        if (m_count == 0) {
            // Start: the printer goes into change mode; the page stays when it does not.
            const auto askSerialNumber = [this] {
                THeadSNForm form(this);
                form.exec();
            };
            if (StartChange(InkTarget(check.portName), *variant, CommandSet(), askSerialNumber,
                            m_bChangeStarted) != TChangeStart::Started)
                return;
            btnNext->setText(Q(g_GlobalString.Next));
        }
        int step = m_count + 1;
        if (step > variant->Steps()) step = 1;
        if (step == variant->Steps()) {
            if (variant->bSerialAtLastStep && !HeadSerialNumberValid(g_HeadSN)) {
                btnInkset->setEnabled(false);
                btnNext->setEnabled(false);
                ShowMessageOver(this, g_GlobalString.HintTitle, g_GlobalString.HeadSNError,
                                TMessageIcon::Error);
                // The printer is not left in change mode behind a closed dialog.
                if (m_bChangeStarted) SendInkCommand(HeadChangeAbortCommand());
                CloseDialog(QDialog::Rejected);
                return;
            }
            btnInkset->setEnabled(true);
            btnNext->setEnabled(false);
        }
        btnBack->setEnabled(true);
        ShowStep(step);
        FitHeight(kStepPageHeight);
    });
}

void TfrmSetItem::btnBackClick() {
    if (m_bInkActionRunning) return;
    const TChangeVariant* variant = FindChangeVariant(m_Item.Name);
    if (!variant) return;
    const int step = std::max(m_count - 1, 1);
    if (step == 1) btnBack->setEnabled(false);
    btnInkset->setEnabled(false);
    btnNext->setEnabled(true);
    ShowStep(step);
    // Some variants have no text on the way back.
    if (!variant->bBackShowsText) lblInfo->clear();
    FitHeight(kStepPageHeight);
}

TChangeKind TfrmSetItem::ChangeKind() const {
    return m_Item.Icon == "Ink_Changehead" ? TChangeKind::Head : TChangeKind::Box;
}

void TfrmSetItem::ChangeCancelClick(const std::string& portName) {
    RunInkAction(
        [this, &portName] { EndInkAction(AbortChange(InkTarget(portName), ChangeKind())); });
}

void TfrmSetItem::AbortChangeOfUnusablePrinter(const std::string& portName) {
    RunInkAction(
        [this, &portName] { ps::AbortChangeOfUnusablePrinter(InkTarget(portName), ChangeKind()); });
}

}  // namespace ps::ui
