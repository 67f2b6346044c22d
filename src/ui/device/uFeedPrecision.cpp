// SPDX-License-Identifier: MIT
// The feed precision dialog.
#include "ui/device/uFeedPrecision.h"

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
namespace {

constexpr int kClientWidth = 385;
constexpr int kClientHeight = 240;
constexpr const char* kNotice = "Notice";
constexpr const char* kSetDone = "设置打印机成功！";
constexpr const char* kSetFailed = "设置打印机失败！";
constexpr const char* kPrintSent = "指令发送成功，请检查打印机打印内容。";
constexpr const char* kPrintFailed = "发送失败！请确保打印机连接正常。";
constexpr int kFeedModes = 4;

const TDeviceCommandSet& CommandSet() {
    return DeviceCommandSet(TDeviceDialog::Sections().SettingCommand);
}

// No busy test and no port test: the feed precision goes to any port.
TDeviceQuery FeedQuery(const TUSBPrinterPort& port) {
    return TDeviceQuery({TOfflineBox::PrinterNameWarning, false, false}, port);
}

QString ModeName(int mode) {
    return QString::fromUtf8("模式") + QString::number(mode);
}

}  // namespace

TFormFeedPrecision::TFormFeedPrecision(QWidget* parent)
    : TDeviceDialog(parent, "FormFeedPrecision") {
    const bool perMode = CommandSet().bFeedPerMode;
    auto* layout = new QVBoxLayout(this);
    lbl1 = new QLabel(this);
    lbl1->setObjectName("lbl1");
    layout->addWidget(lbl1);
    auto* distance = new QHBoxLayout;
    lblFeedDistance = new QLabel(this);
    lblFeedDistance->setObjectName("lblFeedDistance");
    cbbDistance = new QComboBox(this);
    cbbDistance->setObjectName("cbbDistance");
    lblFeedDistance->setBuddy(cbbDistance);
    distance->addWidget(lblFeedDistance);
    distance->addWidget(cbbDistance);
    distance->addStretch(1);
    layout->addLayout(distance);
    trckbrAdjust =
        perMode ? MakeTrackBar("trckbrAdjust", 0, 12) : MakeTrackBar("trckbrAdjust", -5, 5);
    lblAdjust = MakeScale(trckbrAdjust, "lblAdjust",
                          perMode ? "0  1  2  3  4  5  6  7  8  9  10  11  12"
                                  : "-5  -4  -3  -2  -1  0  1  2  3  4  5");
    lbl1->setBuddy(trckbrAdjust);
    layout->addWidget(trckbrAdjust);
    layout->addWidget(lblAdjust);
    grp1 = MakeInfoGroup("grp1", "lblInfo", lblInfo);
    layout->addWidget(grp1, 1);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(4);
    btnRead = MakeButton("btnRead", g_GlobalString.ReadData);
    btnPrn = MakeButton("btnPrn", g_GlobalString.btnInkPrn);
    btnDefault = MakeButton("btnDefault", g_GlobalString.ParametersBtnDefault);
    btnSet = MakeButton("btnSet", g_GlobalString.ParametersBtnSet);
    btnClose = MakeButton("btnClose", g_GlobalString.ParametersBtnReturn);
    buttons->addWidget(btnRead);
    buttons->addWidget(btnPrn);
    buttons->addWidget(btnDefault);
    buttons->addStretch(1);
    buttons->addWidget(btnSet);
    buttons->addWidget(btnClose);
    layout->addLayout(buttons);

    // Create handler: captions, the mode list, the track bar and the values by command set.
    setWindowTitle(Q(m_Item.Title));
    lbl1->setText(Q(g_GlobalString.ParametersTitle));
    trckbrAdjust->setAccessibleName(Q(g_GlobalString.ParametersTitle));
    lblFeedDistance->setText(Q(g_GlobalString.FeedDistance));
    grp1->setTitle(Q(g_GlobalString.ParametersNoteTitle));
    lblInfo->setText(Q(m_Item.Explain));
    const int modes = perMode ? kFeedModes : 1;
    for (int mode = 0; mode < modes; ++mode) cbbDistance->addItem(ModeName(mode));
    cbbDistance->setCurrentIndex(0);
    lblFeedDistance->setVisible(perMode);
    cbbDistance->setVisible(perMode);
    trckbrAdjust->setValue(m_Item.ValueDefault);
    m_SubItemValue.assign(static_cast<std::size_t>(modes), 0);

    connect(cbbDistance, &QComboBox::currentIndexChanged, this,
            Guarded(this, [this] { cbbDistanceChange(); }));
    connect(btnRead, &QPushButton::clicked, this, Guarded(this, [this] { btnReadClick(); }));
    connect(btnPrn, &QPushButton::clicked, this, Guarded(this, [this] { btnPrnClick(); }));
    connect(btnDefault, &QPushButton::clicked, this, Guarded(this, [this] { btnDefaultClick(); }));
    connect(btnSet, &QPushButton::clicked, this, Guarded(this, [this] { btnSetClick(); }));
    connect(btnClose, &QPushButton::clicked, this, [this] { close(); });
    FitSize(kClientWidth, kClientHeight);
}

void TFormFeedPrecision::FormShow() {
    btnReadClick();
}

void TFormFeedPrecision::btnReadClick() {
    ReadUnderWaitingWindow([this] { return GetSubItemValuesFromPrinter(); });
}

void TFormFeedPrecision::ShowSelectedMode() {
    const int mode = cbbDistance->currentIndex();
    if (mode >= 0 && static_cast<std::size_t>(mode) < m_SubItemValue.size())
        trckbrAdjust->setValue(m_SubItemValue[static_cast<std::size_t>(mode)]);
}

bool TFormFeedPrecision::GetSubItemValuesFromPrinter() {
    std::string port;
    if (!DevicePrinterOnlineOrSay(port, TOfflineBox::PrinterNameWarning)) return false;
    const TDeviceCommandSet& set = CommandSet();
    QStringList unread;
    if (set.bFeedPerMode) {
        std::fill(m_SubItemValue.begin(), m_SubItemValue.end(), -1);
        for (int mode = 0; mode < static_cast<int>(m_SubItemValue.size()); ++mode) {
            if (const auto value = DeviceExchangeRead(FeedPrecisionRead(set, mode)))
                m_SubItemValue[static_cast<std::size_t>(mode)] = static_cast<std::int32_t>(*value);
            else
                unread << ModeName(mode);
        }
    } else {
        m_SubItemValue.assign(1, 0);
        if (const auto value = DeviceExchangeRead(FeedPrecisionRead(set, 0)))
            m_SubItemValue[0] = static_cast<std::int32_t>(*value);
        else
            unread << ModeName(0);
    }
    ShowSelectedMode();
    // Every mode must have been read; a mode that was not is named (unless read failures are
    // switched off).
    if (set.bFeedPerMode && !unread.isEmpty() && !Sections().AffirmReadDisable)
        ShowMessage(nullptr, g_GlobalString.ErrorTitle,
                    g_GlobalString.PrinterStatusError + "\n" + S(unread.join(", ")),
                    TMessageIcon::Warning);
    return unread.isEmpty();
}

void TFormFeedPrecision::cbbDistanceChange() {
    ShowSelectedMode();
}

void TFormFeedPrecision::btnDefaultClick() {
    trckbrAdjust->setValue(m_Item.ValueDefault);
}

void TFormFeedPrecision::btnSetClick() {
    const TDeviceCommandSet& set = CommandSet();
    const int position = trckbrAdjust->value();
    const int mode = std::max(cbbDistance->currentIndex(), 0);
    const TBytes write = FeedPrecisionWrite(set, mode, position);
    std::optional<std::int64_t> readBack;
    const TDeviceWriteOutcome outcome =
        FeedQuery(*m_USBPort)
            .WriteAndConfirm(write, FeedPrecisionRead(set, mode), position, &readBack);
    if (outcome == TDeviceWriteOutcome::SendFailed) {
        ShowMessage(nullptr, kNotice, kSetFailed, TMessageIcon::Error);
        return;
    }
    if (readBack) {
        // The value the printer gave back, confirmed or not, is shown as after a read.
        if (static_cast<std::size_t>(mode) < m_SubItemValue.size())
            m_SubItemValue[static_cast<std::size_t>(mode)] = static_cast<std::int32_t>(*readBack);
        trckbrAdjust->setValue(static_cast<int>(*readBack));
    }
    if (SayUnconfirmedWrite(outcome)) return;
    if (static_cast<std::size_t>(mode) < m_SubItemValue.size())
        m_SubItemValue[static_cast<std::size_t>(mode)] = position;
    ShowMessage(nullptr, kNotice, kSetDone, TMessageIcon::Information);
}

void TFormFeedPrecision::btnPrnClick() {
    const int mode = std::max(cbbDistance->currentIndex(), 0);
    if (DeviceSend(FeedCheckPattern(CommandSet(), mode)))
        ShowMessage(nullptr, kNotice, kPrintSent, TMessageIcon::Information);
    else
        ShowMessage(nullptr, kNotice, kPrintFailed, TMessageIcon::Error);
}

}  // namespace ps::ui
