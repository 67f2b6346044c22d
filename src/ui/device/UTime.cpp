// SPDX-License-Identifier: MIT
// The printer clock dialog.
#include "ui/device/UTime.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "device/DeviceCodecs.h"
#include "device/DeviceQuery.h"
#include "localisation/Scheme.h"
#include "platform/UserInterface.h"
#include "printer/Globals.h"
#include "ui/common/EventGuard.h"
#include "ui/common/QtUserInterface.h"

namespace ps::ui {
namespace {

constexpr int kClientWidth = 360;
constexpr int kClientHeight = 180;

TDeviceQuery ClockQuery(const TUSBPrinterPort& port) {
    return TDeviceQuery({TOfflineBox::HintError, true, false}, port);
}

}  // namespace

TTime::TTime(QWidget* parent) : TDeviceDialog(parent, "Time") {
    auto* layout = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    lblDateInfo = new QLabel(this);
    lblDateInfo->setObjectName("lblDateInfo");
    pnlDate = new QLabel(kNoTime, this);
    pnlDate->setObjectName("pnlDate");
    pnlDate->setFrameShape(QFrame::Panel);
    pnlDate->setFrameShadow(QFrame::Sunken);
    pnlDate->setAlignment(Qt::AlignCenter);
    pnlDate->setMinimumHeight(28);
    pnlDate->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblDateInfo->setBuddy(pnlDate);
    row->addWidget(lblDateInfo);
    row->addWidget(pnlDate, 1);
    layout->addLayout(row);

    auto* actions = new QHBoxLayout;
    btnGetDate = MakeButton("btnGetDate", g_GlobalString.btnInkGetTimer);
    btnSetDate = MakeButton("btnSetDate", g_GlobalString.btnInkSetTimer);
    actions->addWidget(btnGetDate);
    actions->addWidget(btnSetDate);
    layout->addLayout(actions);

    grp1 = new QGroupBox("说明", this);
    grp1->setObjectName("grp1");
    auto* group = new QVBoxLayout(grp1);
    lblWebInfo = new QLabel(kVendorWebAddress, grp1);
    lblWebInfo->setObjectName("lblWebInfo");
    lblWebInfo->setTextFormat(Qt::PlainText);
    group->addWidget(lblWebInfo);
    layout->addWidget(grp1, 1);

    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    btnReturn = MakeButton("btnReturn", g_GlobalString.ParametersBtnReturn);
    bottom->addWidget(btnReturn);
    layout->addLayout(bottom);

    connect(btnGetDate, &QPushButton::clicked, this, Guarded(this, [this] { btnGetDateClick(); }));
    connect(btnSetDate, &QPushButton::clicked, this, Guarded(this, [this] { btnSetDateClick(); }));
    connect(btnReturn, &QPushButton::clicked, this, [this] { close(); });

    // FormCreate.
    SetApplicationTitle(g_PrinterName);
    setWindowTitle(Q(g_GlobalString.ParametersCaption));
    lblDateInfo->setText(Q(g_GlobalString.btnInkTimerInfo));
    pnlDate->setAccessibleName(Q(g_GlobalString.btnInkTimerInfo));
    FitSize(kClientWidth, kClientHeight);
}

void TTime::FormShow() {
    btnGetDateClick();
}

bool TTime::GetItemValueFromUSBPrinterI(std::int64_t& value) {
    return ClockQuery(*m_USBPort).GetItemValueFromUSBPrinterI(ClockRead(), value);
}

void TTime::btnGetDateClick() {
    // A failed read leaves the time shown before, without a message.
    std::int64_t seconds = 0;
    if (GetItemValueFromUSBPrinterI(seconds))
        pnlDate->setText(Q(FormatPrinterClock(static_cast<std::uint32_t>(seconds))));
}

void TTime::btnSetDateClick() {
    std::string port;
    if (!DevicePrinterOnlineOrSay(port)) return;
    if (ClockQuery(*m_USBPort).RefuseWhenBusy(port)) return;
    const auto now = ComputerTimeForPrinter();
    if (!now) throw EConvertError("The computer's clock cannot be read.");
    if (DeviceSend(ClockWrite(*now)))
        ShowMessage(nullptr, g_GlobalString.HintTitle, g_GlobalString.mSetTime,
                    TMessageIcon::Information);
    else
        ShowMessage(nullptr, g_GlobalString.HintTitle, g_GlobalString.SetPrinterFail,
                    TMessageIcon::Error);
}

}  // namespace ps::ui
