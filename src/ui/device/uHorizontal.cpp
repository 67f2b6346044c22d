// SPDX-License-Identifier: MIT
// The alignment dialog.
#include "ui/device/uHorizontal.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

#include "device/DeviceCodecs.h"
#include "device/DeviceQuery.h"
#include "localisation/Scheme.h"
#include "platform/UserInterface.h"
#include "printer/Globals.h"
#include "ui/common/EventGuard.h"
#include "ui/common/QtUserInterface.h"
#include "ui/device/TickScale.h"

namespace ps::ui {
namespace {

constexpr int kClientWidth = 385;
constexpr int kClientHeight = 240;

// Reads show the printer name on an off-line printer; the read has no busy test (the write
// and the test page have it).
TDeviceQuery AlignmentQuery(const TUSBPrinterPort& port) {
    return TDeviceQuery({TOfflineBox::PrinterNameWarning, false, false}, port);
}

TDeviceQuery BusyTest(const TUSBPrinterPort& port) {
    return TDeviceQuery({TOfflineBox::PrinterNameWarning, true, false}, port);
}

QGroupBox* TrackGroup(QWidget* parent, const char* name, QSlider* slider, QWidget* scale) {
    auto* group = new QGroupBox(parent);
    group->setObjectName(name);
    auto* box = new QVBoxLayout(group);
    box->addWidget(slider);
    box->addWidget(scale);
    return group;
}

}  // namespace

THorizontal::THorizontal(QWidget* parent) : TDeviceDialog(parent, "Horizontal") {
    auto* layout = new QVBoxLayout(this);
    lblpValue = new QLabel(this);
    lblpValue->setObjectName("lblpValue");
    layout->addWidget(lblpValue);

    trckbrpValue = MakeTrackBar("trckbrpValue", -5, 4);
    lblValue = MakeScale(trckbrpValue, "lblValue", "-5  -4  -3  -2  -1  0  1  2  3  4");
    grpType1 = TrackGroup(this, "grpType1", trckbrpValue, lblValue);
    trckbrpValue2 = MakeTrackBar("trckbrpValue2", 1, 12);
    trckbrpValue2->setValue(1);
    lblValue2 = MakeScale(trckbrpValue2, "lblValue2",
                          "001  002  003  004  005  006  007  008  009  010  011  012");
    grpType2 = TrackGroup(this, "grpType2", trckbrpValue2, lblValue2);
    layout->addWidget(grpType1);
    layout->addWidget(grpType2);

    grpInfo = MakeInfoGroup("grpInfo", "lblInfo", lblInfo);
    layout->addWidget(grpInfo, 1);

    auto* buttons = new QHBoxLayout;
    btnRead = MakeButton("btnRead", "读取");
    btnPrn = MakeButton("btnPrn", g_GlobalString.btnInkPrn);
    btnSet = MakeButton("btnSet", g_GlobalString.ParametersBtnSet);
    btnReturn = MakeButton("btnReturn", g_GlobalString.ParametersBtnReturn);
    buttons->addWidget(btnRead);
    buttons->addWidget(btnPrn);
    buttons->addStretch(1);
    buttons->addWidget(btnSet);
    buttons->addWidget(btnReturn);
    layout->addLayout(buttons);

    connect(btnRead, &QPushButton::clicked, this, Guarded(this, [this] { btnReadClick(); }));
    connect(btnPrn, &QPushButton::clicked, this, Guarded(this, [this] { btnPrnClick(); }));
    connect(btnSet, &QPushButton::clicked, this, Guarded(this, [this] { btnSetClick(); }));
    connect(btnReturn, &QPushButton::clicked, this, [this] { close(); });

    // FormCreate: the variant's group shows, the other is hidden.
    SetApplicationTitle(g_PrinterName);
    setWindowTitle(Q(g_GlobalString.ParametersCaption));
    lblpValue->setText(Q(g_GlobalString.ParametersTitle));
    grpInfo->setTitle(Q(g_GlobalString.ParametersNoteTitle));
    grpType1->setVisible(StepVariant());
    grpType2->setVisible(!StepVariant());
    QSlider* slider = StepVariant() ? trckbrpValue : trckbrpValue2;
    lblpValue->setBuddy(slider);
    slider->setAccessibleName(Q(g_GlobalString.ParametersTitle));
    FitSize(kClientWidth, kClientHeight);
}

bool THorizontal::StepVariant() const {
    return m_Item.Name == kStepVariantName;
}

void THorizontal::FormShow() {
    lblInfo->setText(Q(m_Item.Explain));
    setWindowTitle(Q(m_Item.Title));
    lblValue->raise();
    lblValue2->raise();
    FitSize(kClientWidth, kClientHeight);
    std::string port;
    if (!DevicePrinterOnlineOrSay(port)) return;
    g_PrinterPort = port;
    // A network port is not read on show (it is on request and after a write).
    if (port.find("USB") == std::string::npos) return;
    ReadWithPause();
}

void THorizontal::ReadWithPause() {
    ReadUnderWaitingWindow([this] { return GetCurrentItemValueFromPrinterI(); });
}

void THorizontal::ShowValue(std::int64_t value) {
    if (StepVariant())
        trckbrpValue->setValue(static_cast<int>(value));
    else
        trckbrpValue2->setValue(AlignmentPosition(value));
}

bool THorizontal::GetItemValueFromUSBPrinterI(std::int64_t& value) {
    return AlignmentQuery(*m_USBPort)
        .GetItemValueFromUSBPrinterI(AlignmentRead(StepVariant()), value);
}

bool THorizontal::GetCurrentItemValueFromPrinterI() {
    if (!AlignmentQuery(*m_USBPort)
             .GetCurrentItemValueFromPrinterI(AlignmentRead(StepVariant()), m_iPrinterItemValue))
        return false;
    ShowValue(m_iPrinterItemValue);
    return true;
}

void THorizontal::btnReadClick() {
    ReadWithPause();
}

void THorizontal::btnSetClick() {
    std::string port;
    if (!DevicePrinterOnlineOrSay(port)) return;
    if (BusyTest(*m_USBPort).RefuseWhenBusy(port)) return;
    const int position = StepVariant() ? trckbrpValue->value() : trckbrpValue2->value();
    const TBytes write = AlignmentWrite(StepVariant(), position);
    if (!PortCanRead(port)) {
        // A port that cannot be read gives no confirmation either way.
        if (!DeviceSend(write)) SaySendFailedAndClose();
        return;
    }
    const std::int64_t expected = StepVariant() ? position : AlignmentValue(position);
    std::optional<std::int64_t> readBack;
    const TDeviceWriteOutcome outcome =
        AlignmentQuery(*m_USBPort)
            .WriteAndConfirm(write, AlignmentRead(StepVariant()), expected, &readBack);
    if (readBack) {
        // The value the printer gave back, confirmed or not, is shown as after a read.
        m_iPrinterItemValue = *readBack;
        ShowValue(m_iPrinterItemValue);
    }
    if (!WriteConfirmedOrSay(outcome)) return;
    ShowValue(m_iPrinterItemValue);
    btnReturn->setText(Q(g_GlobalString.ParametersBtnReturn));
    ShowMessage(nullptr, g_GlobalString.HintTitle, g_GlobalString.SetPrinterSuccessI,
                TMessageIcon::Information);
}

void THorizontal::btnPrnClick() {
    std::string port;
    if (!DevicePrinterOnlineOrSay(port)) return;
    if (BusyTest(*m_USBPort).RefuseWhenBusy(port)) return;
    if (ShowMessage(nullptr, g_GlobalString.HintTitle, g_GlobalString.Adjust,
                    TMessageIcon::Question, TMessageButtons::OkCancel) != TMessageResult::Ok)
        return;
    if (!DeviceSend(AlignmentTestPage()))
        ShowMessage(nullptr, g_GlobalString.HintTitle, g_GlobalString.SetPrinterFail,
                    TMessageIcon::Warning);
}

}  // namespace ps::ui
