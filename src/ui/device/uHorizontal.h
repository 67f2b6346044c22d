// SPDX-License-Identifier: MIT
// THorizontal: the print-head alignment and its test page. The item named "Ink_Horizontal2"
// sets a signed step -5..4; every other item a twelve-step value stored in units of 30.
#pragma once

#include <cstdint>

#include "ui/device/DeviceDialog.h"

namespace ps::ui {

class THorizontal : public TDeviceDialog {
    Q_OBJECT
public:
    explicit THorizontal(QWidget* parent = nullptr);

    /// The item name of the signed-step variant.
    static constexpr const char* kStepVariantName = "Ink_Horizontal2";

    std::int64_t m_iPrinterItemValue = 0;

    QLabel* lblpValue;
    QGroupBox* grpType1;
    QSlider* trckbrpValue;
    TTickScale* lblValue;
    QGroupBox* grpType2;
    QSlider* trckbrpValue2;
    TTickScale* lblValue2;
    QGroupBox* grpInfo;
    QLabel* lblInfo;
    QPushButton* btnRead;
    QPushButton* btnPrn;
    QPushButton* btnSet;
    QPushButton* btnReturn;

    void btnReadClick();
    void btnSetClick();
    void btnPrnClick();
    bool GetCurrentItemValueFromPrinterI();
    bool GetItemValueFromUSBPrinterI(std::int64_t& value);

    /// True for the signed-step variant.
    bool StepVariant() const;

protected:
    void FormShow() override;

private:
    void ShowValue(std::int64_t value);
    void ReadWithPause();
};

}  // namespace ps::ui
