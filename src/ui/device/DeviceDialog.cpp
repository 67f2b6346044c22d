// SPDX-License-Identifier: MIT
// The device dialog base.
#include "ui/device/DeviceDialog.h"

#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QShowEvent>
#include <QSlider>
#include <QVBoxLayout>

#include "localisation/Scheme.h"
#include "platform/UserInterface.h"
#include "printer/Globals.h"
#include "transport/USBPrinterPort.h"
#include "ui/common/EventGuard.h"
#include "ui/common/QtUserInterface.h"
#include "ui/device/TickScale.h"

namespace ps::ui {

TDeviceDialog::TDeviceDialog(QWidget* parent, const char* objectName)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint) {
    setObjectName(objectName);
    if (g_SchemeOptions) g_SchemeOptions->GetItem(g_CurrentPage, g_CurrentItem, m_Item);
    // Filled, so that a printer at work is recognised before a command is sent.
    m_USBPort = std::make_unique<TUSBPrinterPort>(true);
}

TDeviceDialog::~TDeviceDialog() = default;

const TTagSections& TDeviceDialog::Sections() {
    static const TTagSections none;
    return g_SchemeOptions ? g_SchemeOptions->m_Sections : none;
}

void TDeviceDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) RunGuarded(this, [this] { FormShow(); });
}

void TDeviceDialog::FitSize(int width, int designHeight) {
    if (layout()) {
        layout()->activate();
        const int needed = layout()->heightForWidth(width);
        designHeight = std::max({designHeight, needed, layout()->minimumSize().height()});
    }
    setFixedSize(width, designHeight);
}

QPushButton* TDeviceDialog::MakeButton(const char* name, const std::string& text) {
    auto* button = new QPushButton(Q(text), this);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

QGroupBox* TDeviceDialog::MakeInfoGroup(const char* groupName, const char* labelName,
                                        QLabel*& label) {
    auto* group = new QGroupBox(this);
    group->setObjectName(groupName);
    auto* box = new QVBoxLayout(group);
    label = new QLabel(group);
    label->setObjectName(labelName);
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    box->addWidget(label);
    return group;
}

QSlider* TDeviceDialog::MakeTrackBar(const char* name, int minimum, int maximum) {
    auto* slider = new QSlider(Qt::Horizontal, this);
    slider->setObjectName(name);
    slider->setRange(minimum, maximum);
    slider->setPageStep(1);
    slider->setSingleStep(1);
    slider->setTickPosition(QSlider::TicksBelow);
    slider->setTickInterval(1);
    slider->setFocusPolicy(Qt::StrongFocus);
    return slider;
}

TTickScale* TDeviceDialog::MakeScale(QSlider* slider, const char* name, const QString& text) {
    auto* scale = new TTickScale(slider, this);
    scale->setObjectName(name);
    scale->setText(text);
    return scale;
}

void TDeviceDialog::SaySendFailedAndClose() {
    ShowMessage(nullptr, g_GlobalString.HintTitle, g_GlobalString.SetPrinterFail,
                TMessageIcon::Warning);
    close();
}

bool TDeviceDialog::WriteConfirmedOrSay(TDeviceWriteOutcome outcome) {
    if (outcome == TDeviceWriteOutcome::SendFailed) {
        SaySendFailedAndClose();
        return false;
    }
    return !SayUnconfirmedWrite(outcome);
}

}  // namespace ps::ui
