// SPDX-License-Identifier: MIT
// The direct option dialog.
#include "ui/device/UNormalSet.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "device/DirectOption.h"
#include "localisation/Scheme.h"
#include "printer/Globals.h"
#include "ui/common/EventGuard.h"
#include "ui/common/QtUserInterface.h"

namespace ps::ui {
namespace {
constexpr int kClientWidth = 360;
constexpr int kClientHeight = 196;
}  // namespace

TNormalSet::TNormalSet(QWidget* parent) : TDeviceDialog(parent, "NormalSet") {
    auto* layout = new QVBoxLayout(this);
    grpInfo = MakeInfoGroup("grpInfo", "lblInfo", lblInfo);
    layout->addWidget(grpInfo, 1);
    lblReturnInfo = new QLabel(this);
    lblReturnInfo->setObjectName("lblReturnInfo");
    lblReturnInfo->setWordWrap(true);
    lblReturnInfo->setTextFormat(Qt::PlainText);
    lblReturn = new QLabel(this);
    lblReturn->setObjectName("lblReturn");
    lblReturn->setTextFormat(Qt::PlainText);
    lblReturn->setFrameShape(QFrame::Panel);
    lblReturn->setFrameShadow(QFrame::Sunken);
    lblReturn->setMinimumHeight(26);
    lblReturn->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblReturnInfo->setBuddy(lblReturn);
    layout->addWidget(lblReturnInfo);
    layout->addWidget(lblReturn);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    btnSet = MakeButton("btnSet", g_GlobalString.ParametersBtnSet);
    btnCancel = MakeButton("btnCancel", g_GlobalString.ParametersBtnCancel);
    buttons->addWidget(btnSet);
    buttons->addWidget(btnCancel);
    layout->addLayout(buttons);

    connect(btnSet, &QPushButton::clicked, this, Guarded(this, [this] { btnSetClick(); }));
    connect(btnCancel, &QPushButton::clicked, this, [this] { close(); });

    // FormCreate.
    SetApplicationTitle(g_PrinterName);
    setWindowTitle(Q(g_GlobalString.ParametersCaption));
    grpInfo->setTitle(Q(g_GlobalString.ParametersNoteTitle));
    lblInfo->setText(Q(m_Item.Note));
    lblReturnInfo->setText(Q(m_Item.Explain));
    lblReturn->setAccessibleName(Q(m_Item.Explain));
    FitSize(kClientWidth, kClientHeight);
}

void TNormalSet::btnSetClick() {
    // Each answer replaces the one shown before.
    m_iPrinterItemValue.clear();
    const TDirectOptionResult result = SendDirectOption(m_Item, g_CurrentPage, g_PrinterPort);
    if (!result.bShowAnswer) return;
    m_iPrinterItemValue = result.answer;
    btnCancel->setText(Q(g_GlobalString.ParametersBtnReturn));
    lblReturn->setText(Q(m_iPrinterItemValue));
}

}  // namespace ps::ui
