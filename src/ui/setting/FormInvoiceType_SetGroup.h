// SPDX-License-Identifier: MIT
// TfrmInvoiceType_SetGruop: the paper geometry of a card or passbook type (sub group 64) with
// its fixed commands: top margin, opened page height (measured by the printer), left margin
// and copy capability.
#pragma once

#include <QDialog>
#include <cstdint>
#include <optional>
#include <string>

class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace ps::ui {

class TfrmInvoiceType_SetGruop : public QDialog {
    Q_OBJECT
public:
    explicit TfrmInvoiceType_SetGruop(QWidget* parent = nullptr);

    QGroupBox* grp1;
    QLabel* lblInfo;
    QWidget* pnlBottom;
    QPushButton* btnSet;
    QPushButton* btnCancel;
    QPushButton* btnRead;
    QWidget* pnl1;
    QWidget* pnlItem1;
    QLabel* lblName1;
    QListWidget* lst1;
    QWidget* pnlItem2;
    QLabel* lblName2;
    QLabel* lbl1;
    QLineEdit* medt1;
    QPushButton* btnDetect;
    QWidget* pnlItem3;
    QLabel* lblName3;
    QListWidget* lst3;
    QWidget* pnlItem4;
    QLabel* lblName4;
    QListWidget* lst4;

    /// Arranges the dialog for the chosen row of the card-type item: row 3 without the page
    /// height, row 4 with it.
    void ArrangeForRow(int row);
    /// True while the page height panel is part of the dialog (passbooks).
    bool PassbookLayout() const;

    void btnReadClick();
    void btnDetectClick();
    void btnSetClick();
    void btnCancelClick();

    /// Millimetres shown for a height in 1/60 inch: the nearest whole millimetre, "00.0".
    static std::string HeightText(double sixtiethsOfInch);
    /// The page height typed: a decimal number in the user's format (or with a full stop).
    static std::optional<double> ParseMillimetres(const std::string& text);
    /// 1/60 inch for millimetres, nearest in single precision (halves to even). Throws when
    /// the two value bytes cannot carry it.
    static std::int32_t HeightValue(double millimetres);

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormShow();
    void BuildControls();
};

}  // namespace ps::ui
