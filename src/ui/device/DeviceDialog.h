// SPDX-License-Identifier: MIT
// What every device function dialog shares: a fixed-size dialog that stays on top, the item it
// works on, its USB status port for the busy test, and the makers of its common controls
// (explanation group, track bar with its scale, buttons).
#pragma once

#include <QDialog>
#include <memory>
#include <string>

#include "device/DeviceQuery.h"
#include "scheme/Scheme3.h"

class QGroupBox;
class QLabel;
class QPushButton;
class QSlider;
class QWidget;

namespace ps {
class TUSBPrinterPort;
}

namespace ps::ui {

class TTickScale;

class TDeviceDialog : public QDialog {
    Q_OBJECT
public:
    ~TDeviceDialog() override;

    /// The current item (g_CurrentPage, g_CurrentItem) as it was when the dialog was made.
    const TSettingItem& Item() const { return m_Item; }
    /// The scheme's global settings (defaults when no scheme is loaded).
    static const TTagSections& Sections();

    /// The USB status port of the busy test, its device list filled at creation.
    std::unique_ptr<TUSBPrinterPort> m_USBPort;

protected:
    TDeviceDialog(QWidget* parent, const char* objectName);

    /// Runs once per show (not for a spontaneous one), guarded.
    virtual void FormShow() {}
    void showEvent(QShowEvent* event) override;

    /// Fixed client width; the height is the designed one or what the contents need.
    void FitSize(int width, int designHeight);

    QPushButton* MakeButton(const char* name, const std::string& text);
    /// A group box holding a word-wrapped plain-text label.
    QGroupBox* MakeInfoGroup(const char* groupName, const char* labelName, QLabel*& label);
    /// A horizontal track bar (page size 1, ticks below) and its scale label.
    QSlider* MakeTrackBar(const char* name, int minimum, int maximum);
    TTickScale* MakeScale(QSlider* slider, const char* name, const QString& text);

    /// A write that did not reach the printer: SetPrinterFail (warning), and the dialog closes.
    void SaySendFailedAndClose();
    /// The outcome of a write-then-confirm on the scale dialogs: a failed send as above, a value
    /// read back otherwise or not at all with its box. True when the write stands confirmed.
    bool WriteConfirmedOrSay(TDeviceWriteOutcome outcome);

    TSettingItem m_Item;
};

}  // namespace ps::ui
