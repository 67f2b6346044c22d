// SPDX-License-Identifier: MIT
// TFormSetGroupItem: the items of a sub group side by side, each with its list of values,
// preselected with the printer's values and written together in one framed command.
#pragma once

#include <QDialog>
#include <array>
#include <cstdint>
#include <string>

class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace ps::ui {

inline constexpr int kGroupItemSlots = 8;

class TFormSetGroupItem : public QDialog {
    Q_OBJECT
public:
    explicit TFormSetGroupItem(QWidget* parent = nullptr);

    /// Caption and sub group (1, 2 or 64). Throws for any other number: "SubGroup out of
    /// index: N".
    void SetParameters(const std::string& strCaption, std::int32_t iSubGroup);

    QWidget* pnlBottom;
    QPushButton* btnSet;
    QPushButton* btnCancel;
    QWidget* pnl1;
    QWidget* pnl3;
    std::array<QWidget*, kGroupItemSlots> pnlItem{};  // pnlItem1 ... pnlItem8
    std::array<QLabel*, kGroupItemSlots> lblName{};
    std::array<QListWidget*, kGroupItemSlots> lst{};
    QWidget* pnl4;
    QGroupBox* grp1;
    QLabel* lblInfo;
    std::uint8_t m_pm = 0;
    std::int32_t m_iItems = 0;
    /// The page was read in this showing: only then are the printer's values preselected.
    bool m_bValuesRead = false;

    void btnSetClick();
    void btnCancelClick();

    /// A scheme note with its first "%s" replaced by `caption`; nothing else in it is a format.
    static std::string NoteWithCaption(const std::string& note, const std::string& caption);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();
    int ShownItems() const;
};

}  // namespace ps::ui
