// SPDX-License-Identifier: MIT
// The head serial number dialog.
#include "ui/setting/uHeadsn.h"

#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

#include "localisation/Scheme.h"
#include "printer/Globals.h"
#include "ui/common/ClockTimer.h"
#include "ui/common/EventGuard.h"
#include "ui/common/QtUserInterface.h"

namespace ps::ui {

THeadSNForm::THeadSNForm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint) {
    setObjectName("HeadSNForm");
    setFixedSize(279, 84);
    edtSN = new QLineEdit(this);
    edtSN->setObjectName("edtSN");
    edtSN->setGeometry(16, 14, 247, 24);
    btnOK = new QPushButton(this);
    btnOK->setObjectName("btnOK");
    btnOK->setGeometry(188, 46, 75, 28);
    btnOK->setEnabled(false);
    btnOK->setAutoDefault(false);
    tmrEnBtn = new TClockTimer(this, 1000);
    connect(tmrEnBtn, &TClockTimer::timeout, this, Guarded(this, [this] { tmrEnBtnTimer(); }));
    connect(btnOK, &QPushButton::clicked, this, Guarded(this, [this] { btnOKClick(); }));
    // Enter in the edit presses OK when it is enabled.
    connect(edtSN, &QLineEdit::returnPressed, this, Guarded(this, [this] {
                if (btnOK->isEnabled()) btnOKClick();
            }));
    // FormCreate.
    setWindowTitle(Q(g_GlobalString.InputHeadSN));
    setAccessibleName(Q(g_GlobalString.InputHeadSN));
    edtSN->setAccessibleName(Q(g_GlobalString.InputHeadSN));
    btnOK->setText(Q(g_GlobalString.ParametersBtnOK));
    tmrEnBtn->Start();
}

void THeadSNForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) g_HeadSN.clear();
}

void THeadSNForm::RefuseNumber() {
    btnOK->setEnabled(false);
    edtSN->clear();
    ShowMessageOver(this, g_GlobalString.HintTitle, g_GlobalString.HeadSNError,
                    TMessageIcon::Error);
}

void THeadSNForm::tmrEnBtnTimer() {
    const auto length = edtSN->text().size();
    if (length >= kEnableFrom) btnOK->setEnabled(true);
    if (length > kLongest) RefuseNumber();
}

void THeadSNForm::btnOKClick() {
    const auto length = edtSN->text().size();
    if (length < kShortest || length > kLongest) {
        RefuseNumber();
        return;
    }
    g_HeadSN = S(edtSN->text());
    accept();
}

}  // namespace ps::ui
