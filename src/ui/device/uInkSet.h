// SPDX-License-Identifier: MIT
// TfrmInkSet: the print-head adjustment per print mode. Reads the printer's adjustment of the
// chosen mode onto a track bar, prints the mode's check pattern, writes the new value.
#pragma once

#include <cstdint>

#include "device/DeviceCommandSets.h"
#include "ui/device/DeviceDialog.h"

class QCheckBox;
class QComboBox;

namespace ps::ui {

class TfrmInkSet : public TDeviceDialog {
    Q_OBJECT
public:
    explicit TfrmInkSet(QWidget* parent = nullptr);

    /// Exact scale texts of the common layout and of the 6B22 modes.
    static const char* const kCommonScale;
    static const char* const kScale12;
    static const char* const kScale16;
    static constexpr int kClientWidth = 385;
    static constexpr int kClientHeight = 251;

    /// The print mode, shared by every instance (1 draft ... 6 vertical fine adjustment).
    static int s_iMode;

    std::int64_t m_iPrinterItemValue = 0;

    QWidget* pnlType;
    QLabel* lbl1;
    QSlider* trckbrAdjust;
    TTickScale* lblAdjust;
    QWidget* pnlSelect;
    QCheckBox* chkDraft;
    QCheckBox* chkNormal;
    QCheckBox* chkQuality;
    QComboBox* cbbDPI;
    QWidget* pnlInfo;
    QGroupBox* grp1;
    QLabel* lblInfo;
    QPushButton* btnPrn;
    QPushButton* btnSet;
    QPushButton* btnResult;
    QPushButton* btnClose;
    QPushButton* btnDefault;

    void chkModeClick(QCheckBox* box, int mode);
    void cbbDPIChange();
    void btnPrnClick();
    void btnResultClick();
    void btnSetClick();
    void btnDefaultClick();
    bool GetCurrentItemValueFromPrinterI();
    bool GetItemValueFromUSBPrinterI(std::int64_t& value);

protected:
    void FormShow() override;

private:
    const TDeviceCommandSet& Set() const;
    void ReadFlow();
    void ShowValue(std::int64_t value);
    void SetScale(int maximum, const char* text);
    void PrintPattern(bool result);
};

}  // namespace ps::ui
