// SPDX-License-Identifier: MIT
// THeadSNForm: asks for the serial number of a new print head and leaves the accepted one in
// g_HeadSN.
#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace ps::ui {

class TClockTimer;

class THeadSNForm : public QDialog {
    Q_OBJECT
public:
    explicit THeadSNForm(QWidget* parent = nullptr);

    static constexpr int kShortest = 7;    // accepted from this length on
    static constexpr int kEnableFrom = 8;  // the button comes on from this length on
    static constexpr int kLongest = 16;

    QLineEdit* edtSN;
    QPushButton* btnOK;
    TClockTimer* tmrEnBtn;

    void tmrEnBtnTimer();
    void btnOKClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void RefuseNumber();
};

}  // namespace ps::ui
