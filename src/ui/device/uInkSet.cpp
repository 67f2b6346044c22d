// SPDX-License-Identifier: MIT
// The ink adjustment dialog.
#include "ui/device/uInkSet.h"

#include <QCheckBox>
#include <QComboBox>
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

const char* const TfrmInkSet::kCommonScale =
    "-10  -9  -8  -7    -6  -5  -4  -3   -2   -1    0   1    2    3    4    5    6   7    8   9  "
    " 10";
const char* const TfrmInkSet::kScale12 =
    "  0        1        2        3        4         5        6       7        8       9      10 "
    "    11      12";
const char* const TfrmInkSet::kScale16 =
    "  0     1      2      3     4     5     6     7     8     9    10    11    12    13    14    "
    "15   16";
int TfrmInkSet::s_iMode = kInkModeNormal;

namespace {

// The five entries of the 6B22 mode list and their modes.
const char* const kDpiEntries[] = {"经济", "标准", "优质", "水平微调", "垂直微调"};
constexpr int kDpiModes[] = {kInkModeDraft, kInkModeNormal, kInkModeQuality, kInkModeHorizontalFine,
                             kInkModeVerticalFine};
constexpr int kCommonOffset = 10;  // position = value + 10 on the common scale

// The read of the ink adjustment reads only a USB port, and has no busy test.
TDeviceQuery ReadQuery(const TUSBPrinterPort& port) {
    return TDeviceQuery({TOfflineBox::PrinterNameWarning, false, true}, port);
}

}  // namespace

TfrmInkSet::TfrmInkSet(QWidget* parent) : TDeviceDialog(parent, "frmInkSet") {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 6, 8, 8);
    layout->setSpacing(4);

    pnlType = new QWidget(this);
    pnlType->setObjectName("pnlType");
    auto* type = new QVBoxLayout(pnlType);
    type->setContentsMargins(0, 0, 0, 0);
    type->setSpacing(2);
    lbl1 = new QLabel(pnlType);
    lbl1->setObjectName("lbl1");
    trckbrAdjust = MakeTrackBar("trckbrAdjust", 0, 20);
    lbl1->setBuddy(trckbrAdjust);
    lblAdjust = MakeScale(trckbrAdjust, "lblAdjust", kCommonScale);
    type->addWidget(lbl1);
    type->addWidget(trckbrAdjust);
    type->addWidget(lblAdjust);
    layout->addWidget(pnlType);

    pnlSelect = new QWidget(this);
    pnlSelect->setObjectName("pnlSelect");
    auto* select = new QHBoxLayout(pnlSelect);
    select->setContentsMargins(5, 0, 0, 0);
    cbbDPI = new QComboBox(pnlSelect);
    cbbDPI->setObjectName("cbbDPI");
    for (const char* entry : kDpiEntries) cbbDPI->addItem(QString::fromUtf8(entry));
    cbbDPI->setVisible(false);
    chkDraft = new QCheckBox(pnlSelect);
    chkDraft->setObjectName("chkDraft");
    chkNormal = new QCheckBox(pnlSelect);
    chkNormal->setObjectName("chkNormal");
    chkQuality = new QCheckBox(pnlSelect);
    chkQuality->setObjectName("chkQuality");
    chkNormal->setChecked(true);
    select->addWidget(cbbDPI);
    select->addWidget(chkDraft);
    select->addWidget(chkNormal);
    select->addWidget(chkQuality);
    select->addStretch(1);
    layout->addWidget(pnlSelect);

    pnlInfo = new QWidget(this);
    pnlInfo->setObjectName("pnlInfo");
    auto* info = new QVBoxLayout(pnlInfo);
    info->setContentsMargins(0, 0, 0, 0);
    grp1 = MakeInfoGroup("grp1", "lblInfo", lblInfo);
    info->addWidget(grp1);
    layout->addWidget(pnlInfo, 1);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(4);
    btnPrn = MakeButton("btnPrn", g_GlobalString.btnInkPrn);
    btnResult = MakeButton("btnResult", "调整结果");
    btnDefault = MakeButton("btnDefault", g_GlobalString.ParametersBtnDefault);
    btnSet = MakeButton("btnSet", g_GlobalString.ParametersBtnSet);
    btnClose = MakeButton("btnClose", g_GlobalString.ParametersBtnReturn);
    btnResult->setVisible(false);
    btnSet->setEnabled(false);
    buttons->addWidget(btnPrn);
    buttons->addWidget(btnResult);
    buttons->addWidget(btnDefault);
    buttons->addStretch(1);
    buttons->addWidget(btnSet);
    buttons->addWidget(btnClose);
    layout->addLayout(buttons);

    connect(chkDraft, &QCheckBox::toggled, this,
            Guarded(this, [this] { chkModeClick(chkDraft, kInkModeDraft); }));
    connect(chkNormal, &QCheckBox::toggled, this,
            Guarded(this, [this] { chkModeClick(chkNormal, kInkModeNormal); }));
    connect(chkQuality, &QCheckBox::toggled, this,
            Guarded(this, [this] { chkModeClick(chkQuality, kInkModeQuality); }));
    connect(cbbDPI, &QComboBox::currentIndexChanged, this,
            Guarded(this, [this] { cbbDPIChange(); }));
    // A user's move enables the write; showing a value read does not.
    connect(trckbrAdjust, &QSlider::actionTriggered, this, [this] { btnSet->setEnabled(true); });
    connect(btnPrn, &QPushButton::clicked, this, Guarded(this, [this] { btnPrnClick(); }));
    connect(btnResult, &QPushButton::clicked, this, Guarded(this, [this] { btnResultClick(); }));
    connect(btnSet, &QPushButton::clicked, this, Guarded(this, [this] { btnSetClick(); }));
    connect(btnDefault, &QPushButton::clicked, this, Guarded(this, [this] { btnDefaultClick(); }));
    connect(btnClose, &QPushButton::clicked, this, [this] { close(); });

    // FormCreate.
    SetApplicationTitle(g_PrinterName);
    setWindowTitle(Q(g_GlobalString.ParametersCaption));
    lbl1->setText(Q(g_GlobalString.ParametersTitle));
    trckbrAdjust->setAccessibleName(Q(g_GlobalString.ParametersTitle));
    cbbDPI->setAccessibleName(Q(g_GlobalString.ParametersTitle));
    grp1->setTitle(Q(g_GlobalString.ParametersNoteTitle));
    chkDraft->setText(Q(g_GlobalString.DraftPrint));
    chkNormal->setText(Q(g_GlobalString.NormalPrint2));
    chkQuality->setText(Q(g_GlobalString.QualityPrint));
    FitSize(kClientWidth, kClientHeight);
}

const TDeviceCommandSet& TfrmInkSet::Set() const {
    return DeviceCommandSet(Sections().SettingCommand);
}

void TfrmInkSet::SetScale(int maximum, const char* text) {
    trckbrAdjust->setMaximum(maximum);
    lblAdjust->setText(QString::fromUtf8(text));
    lblAdjust->raise();
}

void TfrmInkSet::FormShow() {
    lblInfo->setText(Q(m_Item.Explain));
    setWindowTitle(Q(m_Item.Title));
    switch (Set().inkLayout) {
        case TInkAdjustLayout::ThreeModes:
            chkNormal->setText(Q(g_GlobalString.NormalPrint2));
            chkQuality->setVisible(true);
            btnResult->setVisible(false);
            break;
        case TInkAdjustLayout::TwoModes:
            chkNormal->setText(Q(g_GlobalString.NormalPrint));
            chkQuality->setVisible(false);
            btnResult->setVisible(false);
            break;
        case TInkAdjustLayout::FiveModes: {
            const QSignalBlocker blocker(cbbDPI);
            cbbDPI->setVisible(true);
            cbbDPI->setCurrentIndex(1);
            for (QCheckBox* box : {chkDraft, chkNormal, chkQuality}) box->setVisible(false);
            btnResult->setVisible(true);
            SetScale(12, kScale12);
            break;
        }
    }
    s_iMode = kInkModeNormal;
    FitSize(kClientWidth, kClientHeight);
    ReadFlow();
}

void TfrmInkSet::ReadFlow() {
    std::string port;
    if (!DevicePrinterOnlineOrSay(port)) return;
    g_PrinterPort = port;
    ReadUnderWaitingWindow([this] { return GetCurrentItemValueFromPrinterI(); });
}

void TfrmInkSet::chkModeClick(QCheckBox* box, int mode) {
    if (!box->isChecked()) return;  // unchecking a box changes nothing
    for (QCheckBox* other : {chkDraft, chkNormal, chkQuality}) {
        if (other == box) continue;
        const QSignalBlocker blocker(other);
        other->setChecked(false);
    }
    s_iMode = mode;
    ReadFlow();
}

void TfrmInkSet::cbbDPIChange() {
    const int index = cbbDPI->currentIndex();
    if (index < 0 || index >= static_cast<int>(std::size(kDpiModes))) return;
    if (index >= 3)
        SetScale(16, kScale16);
    else
        SetScale(12, kScale12);
    s_iMode = kDpiModes[index];
    ReadFlow();
}

void TfrmInkSet::ShowValue(std::int64_t value) {
    trckbrAdjust->setValue(
        static_cast<int>(Set().bInkScaleIsValue ? value : value + kCommonOffset));
}

bool TfrmInkSet::GetItemValueFromUSBPrinterI(std::int64_t& value) {
    return ReadQuery(*m_USBPort).GetItemValueFromUSBPrinterI(InkAdjustRead(Set(), s_iMode), value);
}

bool TfrmInkSet::GetCurrentItemValueFromPrinterI() {
    if (!ReadQuery(*m_USBPort)
             .GetCurrentItemValueFromPrinterI(InkAdjustRead(Set(), s_iMode), m_iPrinterItemValue))
        return false;
    ShowValue(m_iPrinterItemValue);
    return true;
}

void TfrmInkSet::PrintPattern(bool result) {
    std::string port;
    if (!DevicePrinterOnlineOrSay(port)) return;
    if (TDeviceQuery({TOfflineBox::HintError, true, false}, *m_USBPort).RefuseWhenBusy(port))
        return;
    const TBytes command =
        result ? InkResultPattern(Set(), s_iMode) : InkCheckPattern(Set(), s_iMode);
    if (ShowMessage(nullptr, g_GlobalString.HintTitle, g_GlobalString.Adjust,
                    TMessageIcon::Question, TMessageButtons::OkCancel) != TMessageResult::Ok)
        return;
    if (!DeviceSend(command))
        ShowMessage(nullptr, g_GlobalString.HintTitle, g_GlobalString.SetPrinterFail,
                    TMessageIcon::Warning);
}

void TfrmInkSet::btnPrnClick() {
    PrintPattern(false);
}

void TfrmInkSet::btnResultClick() {
    PrintPattern(true);
}

void TfrmInkSet::btnSetClick() {
    std::string port;
    if (!DevicePrinterOnlineOrSay(port)) return;
    if (TDeviceQuery({TOfflineBox::HintError, true, false}, *m_USBPort).RefuseWhenBusy(port))
        return;
    const TDeviceCommandSet& set = Set();
    const int position = trckbrAdjust->value();
    std::int64_t value = position;
    if (!set.bInkScaleIsValue) {
        // The rule lists one value per position; a shorter rule cannot say what to send.
        const auto& values = m_Item.RuleValues.RuleValue;
        if (position < 0 || static_cast<std::size_t>(position) >= values.size())
            throw EConvertError("The item's rule has no value for position " +
                                std::to_string(position) + " of the scale (it lists " +
                                std::to_string(values.size()) + "); nothing was sent.");
        value = values[static_cast<std::size_t>(position)];
    }
    const TBytes write = InkAdjustWrite(m_Item, set, s_iMode, value, Sections().InstructionTail);
    std::optional<std::int64_t> readBack;
    const TDeviceWriteOutcome outcome =
        ReadQuery(*m_USBPort).WriteAndConfirm(write, InkAdjustRead(set, s_iMode), value, &readBack);
    if (readBack) {
        // The value the printer gave back, confirmed or not, is shown as after a read.
        m_iPrinterItemValue = *readBack;
        ShowValue(m_iPrinterItemValue);
    }
    if (!WriteConfirmedOrSay(outcome)) return;
    ShowValue(m_iPrinterItemValue);
    btnClose->setText(Q(g_GlobalString.ParametersBtnReturn));
    ShowMessage(nullptr, g_GlobalString.HintTitle, g_GlobalString.SetPrinterSuccessI,
                TMessageIcon::Information);
}

void TfrmInkSet::btnDefaultClick() {
    trckbrAdjust->setValue((trckbrAdjust->maximum() - trckbrAdjust->minimum()) / 2);
    btnSet->setEnabled(true);
}

}  // namespace ps::ui
