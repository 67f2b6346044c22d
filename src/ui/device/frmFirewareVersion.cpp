// SPDX-License-Identifier: MIT
// The firmware version dialog.
#include "ui/device/frmFirewareVersion.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "device/DeviceQuery.h"
#include "localisation/Scheme.h"
#include "ui/common/EventGuard.h"
#include "ui/common/QtUserInterface.h"

namespace ps::ui {
namespace {
constexpr int kClientWidth = 340;
constexpr int kClientHeight = 84;
}  // namespace

TFormFirewareVersion::TFormFirewareVersion(QWidget* parent)
    : TDeviceDialog(parent, "FormFirewareVersion") {
    auto* layout = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    lbl1 = new QLabel(this);
    lbl1->setObjectName("lbl1");
    edtFirewareVersion = new QLineEdit(this);
    edtFirewareVersion->setObjectName("edtFirewareVersion");
    edtFirewareVersion->setReadOnly(true);
    lbl1->setBuddy(edtFirewareVersion);
    row->addWidget(lbl1);
    row->addWidget(edtFirewareVersion, 1);
    layout->addLayout(row);
    layout->addStretch(1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    btnUpdate = MakeButton("btnUpdate", g_GlobalString.ReadData);
    btnClose = MakeButton("btnClose", g_GlobalString.ParametersBtnReturn);
    buttons->addWidget(btnUpdate);
    buttons->addWidget(btnClose);
    layout->addLayout(buttons);

    connect(btnUpdate, &QPushButton::clicked, this, Guarded(this, [this] { btnUpdateClick(); }));
    connect(btnClose, &QPushButton::clicked, this, [this] { close(); });

    // FormCreate.
    setWindowTitle(Q(m_Item.Title));
    lbl1->setText(Q(g_GlobalString.FirewareVersion));
    edtFirewareVersion->setAccessibleName(Q(g_GlobalString.FirewareVersion));
    FitSize(kClientWidth, kClientHeight);
}

void TFormFirewareVersion::FormShow() {
    btnUpdateClick();
}

void TFormFirewareVersion::btnUpdateClick() {
    edtFirewareVersion->clear();
    std::string text;
    if (GetFirewareVersion(text)) edtFirewareVersion->setText(Q(text));
}

bool TFormFirewareVersion::GetFirewareVersion(std::string& text) {
    text.clear();
    // A failed or short reply shows nothing, never half a date.
    const auto version = ReadFirmwareVersion();
    if (!version) return false;
    text = *version;
    return true;
}

}  // namespace ps::ui
