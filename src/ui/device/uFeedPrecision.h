// SPDX-License-Identifier: MIT
// TFormFeedPrecision: the paper feed correction, one step -5..5, or for command set 6B22 a
// step 0..12 for each of four feed distance modes; prints a check pattern.
#pragma once

#include <cstdint>
#include <vector>

#include "ui/device/DeviceDialog.h"

class QComboBox;

namespace ps::ui {

class TFormFeedPrecision : public TDeviceDialog {
    Q_OBJECT
public:
    explicit TFormFeedPrecision(QWidget* parent = nullptr);

    /// The correction read for each feed distance mode (-1 or 0 when it was not read).
    std::vector<std::int32_t> m_SubItemValue;

    QLabel* lbl1;
    QLabel* lblFeedDistance;
    QComboBox* cbbDistance;
    QSlider* trckbrAdjust;
    TTickScale* lblAdjust;
    QGroupBox* grp1;
    QLabel* lblInfo;
    QPushButton* btnRead;
    QPushButton* btnPrn;
    QPushButton* btnSet;
    QPushButton* btnDefault;
    QPushButton* btnClose;

    void btnReadClick();
    bool GetSubItemValuesFromPrinter();
    void cbbDistanceChange();
    void btnDefaultClick();
    void btnSetClick();
    void btnPrnClick();

protected:
    void FormShow() override;

private:
    void ShowSelectedMode();
};

}  // namespace ps::ui
