// SPDX-License-Identifier: MIT
// The ink drying time dialog.
#include "ui/device/uInkDry.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

#include "device/DeviceQuery.h"
#include "localisation/Scheme.h"
#include "platform/UserInterface.h"
#include "printer/Globals.h"
#include "ui/common/EventGuard.h"
#include "ui/common/QtUserInterface.h"
#include "ui/device/TickScale.h"

namespace ps::ui {
namespace {

constexpr int kClientWidth = 360;
constexpr int kClientHeight = 220;

TDeviceQuery DryingQuery(const TUSBPrinterPort& port) {
    return TDeviceQuery({TOfflineBox::HintError, true, false}, port);
}

const TDeviceCommandSet& CommandSet() {
    return DeviceCommandSet(TDeviceDialog::Sections().SettingCommand);
}

}  // namespace

TInkDry::TInkDry(QWidget* parent) : TDeviceDialog(parent, "InkDry") {
    auto* layout = new QVBoxLayout(this);
    lblTitle = new QLabel(this);
    lblTitle->setObjectName("lblTitle");
    lblTitle->setWordWrap(true);
    lblTitle->setTextFormat(Qt::PlainText);
    trckbrTime = MakeTrackBar("trckbrTime", 0, 4);
    lblTitle->setBuddy(trckbrTime);
    lblTime = MakeScale(trckbrTime, "lblTime", "0s  0.5s  1s  1.5s  2s");
    layout->addWidget(lblTitle);
    layout->addWidget(trckbrTime);
    layout->addWidget(lblTime);
    grpInfo = MakeInfoGroup("grpInfo", "lblInfo", lblInfo);
    layout->addWidget(grpInfo, 1);

    auto* buttons = new QHBoxLayout;
    btnRead = MakeButton("btnRead", g_GlobalString.ReadData);
    btnSet = MakeButton("btnSet", g_GlobalString.ParametersBtnSet);
    btnReturn = MakeButton("btnReturn", g_GlobalString.ParametersBtnReturn);
    buttons->addWidget(btnRead);
    buttons->addStretch(1);
    buttons->addWidget(btnSet);
    buttons->addWidget(btnReturn);
    layout->addLayout(buttons);

    connect(btnRead, &QPushButton::clicked, this, Guarded(this, [this] { btnReadClick(); }));
    connect(btnSet, &QPushButton::clicked, this, Guarded(this, [this] { btnSetClick(); }));
    connect(btnReturn, &QPushButton::clicked, this, [this] { close(); });

    // FormCreate.
    SetApplicationTitle(g_PrinterName);
    setWindowTitle(Q(g_GlobalString.ParametersCaption));
    grpInfo->setTitle(Q(g_GlobalString.ParametersNoteTitle));
    FitSize(kClientWidth, kClientHeight);
}

void TInkDry::FormShow() {
    lblInfo->setText(Q(m_Item.Explain));
    setWindowTitle(Q(m_Item.Title));
    lblTitle->setText(Q(m_Item.Note));
    trckbrTime->setAccessibleName(Q(m_Item.Note.empty() ? m_Item.Title : m_Item.Note));
    lblTime->raise();
    FitSize(kClientWidth, kClientHeight);
    std::string port;
    if (!DevicePrinterOnlineOrSay(port)) return;
    g_PrinterPort = port;
    ReadUnderWaitingWindow([this] { return GetCurrentItemValueFromPrinterI(); });
}

bool TInkDry::GetItemValueFromUSBPrinterI(std::int64_t& value) {
    return DryingQuery(*m_USBPort).GetItemValueFromUSBPrinterI(DryingTimeRead(CommandSet()), value);
}

bool TInkDry::GetCurrentItemValueFromPrinterI() {
    if (!DryingQuery(*m_USBPort)
             .GetCurrentItemValueFromPrinterI(DryingTimeRead(CommandSet()), m_iPrinterItemValue))
        return false;
    trckbrTime->setValue(static_cast<int>(m_iPrinterItemValue));
    return true;
}

void TInkDry::btnReadClick() {
    if (GetCurrentItemValueFromPrinterI() || Sections().AffirmReadDisable)
        trckbrTime->setValue(static_cast<int>(m_iPrinterItemValue));
}

void TInkDry::btnSetClick() {
    std::string port;
    if (!DevicePrinterOnlineOrSay(port)) return;
    const TDeviceQuery query = DryingQuery(*m_USBPort);
    if (query.RefuseWhenBusy(port)) return;
    const TDeviceCommandSet& set = CommandSet();
    const int position = trckbrTime->value();
    const TBytes write = DryingTimeWrite(set, position);
    // Read back as a value of the same scale the read gives: the track-bar position.
    std::optional<std::int64_t> readBack;
    const TDeviceWriteOutcome outcome =
        query.WriteAndConfirm(write, DryingTimeRead(set), position, &readBack);
    if (readBack) {
        // The value the printer gave back, confirmed or not, is shown as after a read.
        m_iPrinterItemValue = *readBack;
        trckbrTime->setValue(static_cast<int>(m_iPrinterItemValue));
    }
    if (outcome == TDeviceWriteOutcome::SendFailed) {
        ShowMessage(nullptr, g_GlobalString.HintTitle, g_GlobalString.SetPrinterFail,
                    TMessageIcon::Error);
        return;
    }
    if (SayUnconfirmedWrite(outcome)) return;
    ShowMessage(nullptr, g_GlobalString.HintTitle, g_GlobalString.InkFinish,
                TMessageIcon::Information);
}

}  // namespace ps::ui
