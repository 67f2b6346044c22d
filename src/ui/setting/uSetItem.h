// SPDX-License-Identifier: MIT
// TfrmSetItem: the dialog of one setting item. Reads the item's current value, offers its
// values as a radio group or a list, writes the chosen one inside the enter/save bracket and
// reads it back; a value with a sub group leads on to the group dialogs.
#pragma once

#include <QDialog>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "maintenance/InkActions.h"
#include "maintenance/InkChange.h"
#include "scheme/Scheme3.h"

class QButtonGroup;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class QScrollArea;

namespace ps {
class TUSBPrinterPort;
}

namespace ps::ui {

class TFormSetGroupItem;
class TfrmInvoiceType_SetGruop;

/// m_iValueIndex when nothing is selected.
inline constexpr std::int32_t kNothingSelected = INT32_MIN;

class TfrmSetItem : public QDialog {
    Q_OBJECT
public:
    explicit TfrmSetItem(QWidget* parent = nullptr);
    ~TfrmSetItem() override;

    // Fields, as the dialog's state.
    std::int32_t m_iValueIndex = kNothingSelected;  // rule index, or the 24-bit mask
    std::int32_t m_iShowMode = 0;                   // 0 radio group, 1 list, 2 picture page
    std::int32_t m_count = 0;
    // Paths of the nozzle-check pattern files, written when the dialog is created.
    std::string m_Holecheck6A3C_2;
    std::string m_Holecheck6A3C;
    std::string m_Holecheck4E17;
    std::string m_HolecheckKV;
    std::string m_Holecheck4D00;
    std::string m_Holecheck7D05;
    std::unique_ptr<TUSBPrinterPort> m_USBPort;
    bool m_bHasSetPrinter = false;
    std::int32_t m_iPrinterItemValue = 0;

    // Controls, named as in the dialog's layout.
    QWidget* pnlTop;
    QWidget* pnlType1;
    QGroupBox* rg1;
    QButtonGroup* rg1Buttons;
    QWidget* pnlType2;
    QLabel* lbl1;
    QListWidget* lst2;
    QWidget* pnlType3;
    QScrollArea* tsb3;
    QLabel* imgPicture;
    QWidget* pnlInfo;
    QGroupBox* grp1;
    QLabel* lblInfo;
    QLabel* lblWeb;
    QWidget* pnlBottom;
    QPushButton* btnSet;
    QPushButton* btnCancel;
    QPushButton* btnDefault;
    QPushButton* btnInkset;
    QPushButton* btnBack;
    QPushButton* btnNext;
    QPushButton* btnClean;

    void ArrangeForItem();
    bool ReadCurrentValue();
    void ShowCurrentValue(std::int32_t value);

    // Handlers.
    void rg1Click();
    void lst2Click();
    void btnDefaultClick();
    void btnSetClick();
    void btnCancelClick();
    void lblWebClick();
    // The ink maintenance page and the change sequence (uSetItem_Ink.cpp, uSetItem_Change.cpp).
    void btnInksetClick();
    void btnNextClick();
    void btnBackClick();
    void btnCleanClick();
    void SendFormFeed();

    /// True while an ink action runs: the buttons take no clicks until it is over.
    bool InkActionRunning() const { return m_bInkActionRunning; }

    /// The checked row of rg1, or -1.
    int Rg1ItemIndex() const;
    /// The group dialogs: created at start-up in run mode 1, else when first needed.
    void CreateGroupDialogs();
    TFormSetGroupItem* GroupItemDialog();
    TfrmInvoiceType_SetGruop* CardTypeDialog();

    /// The item the dialog works on (as it was when the dialog was shown).
    const TSettingItem& Item() const { return m_Item; }

public slots:
    /// Esc and the title bar's close go the way of btnCancel.
    void reject() override;
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void BuildControls();
    void FormCreate();
    void FormShow();
    void FormClose();
    void CloseDialog(int result);
    void SetRadioTitles();
    void ClearRadioSelection();
    void FitHeight(int designHeight);
    void OpenSubGroup(int index);
    void ArrangePicturePage();
    void ArrangeChangeStartPage();
    void ShowPicture(const std::string& name);
    void ShowStep(int step);
    TNozzlePatternPaths PatternPaths() const;
    TInkTarget InkTarget(const std::string& portName) const;
    /// Runs an ink action with the dialog's buttons off; a second one is refused meanwhile.
    void RunInkAction(const std::function<void()>& action);
    void EndInkAction(TInkActionEnd end);
    void ChangeCancelClick(const std::string& portName);
    void AbortChangeOfUnusablePrinter(const std::string& portName);
    TChangeKind ChangeKind() const;
    std::string CommandSet() const;

    TSettingItem m_Item;
    bool m_bInkActionRunning = false;
    bool m_bChangeStarted = false;  // a start command of the change sequence was accepted
    std::unique_ptr<TFormSetGroupItem> m_pGroupItem;
    std::unique_ptr<TfrmInvoiceType_SetGruop> m_pCardType;
};

/// Plugs the setting dialogs in: the item dialog into the main window's dispatch table and as
/// the window of run mode 1.
void RegisterSettingDialogs();

/// Run mode 1: the item dialog of item g_CurrentItem of page 1 as the program's window, with
/// the group dialogs created hidden. OutOfIndex for an item the page does not have.
int RunItemDialogMode();

}  // namespace ps::ui
