// SPDX-License-Identifier: MIT
// The item setting dialog: controls, arranging, reading, marking and writing the value.
#include "ui/setting/uSetItem.h"

#include <QApplication>
#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QShowEvent>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>

#include "app/StartUp.h"
#include "localisation/Scheme.h"
#include "localisation/WaitingTexts.h"
#include "maintenance/NozzlePatterns.h"
#include "platform/Platform.h"
#include "platform/UserInterface.h"
#include "printer/Globals.h"
#include "printer/UtilPrinter.h"
#include "scheme/SettingWrite.h"
#include "transport/USBPrinterPort.h"
#include "ui/common/Artwork.h"
#include "ui/common/EventGuard.h"
#include "ui/common/ItemDialogTable.h"
#include "ui/common/QtUserInterface.h"
#include "ui/common/QtWindowFactory.h"
#include "ui/setting/FormInvoiceType_SetGroup.h"
#include "ui/setting/uSetGroupItem.h"

namespace ps::ui {
namespace {

constexpr std::uint8_t kRunModeItem = 1;  // the item dialog is the program's window
constexpr int kClientWidth = 358;
constexpr int kBottomHeight = 44;
constexpr int kRadioMinHeight = 78;
constexpr int kListMinHeight = 100;
constexpr int kPicturePageHeight = 390;

bool UsablePrinter(std::string* portOut = nullptr) {
    std::string port;
    bool online = false;
    const bool usable = GetPrinterPortInfo(g_PrinterName, port, online) && online;
    if (portOut) *portOut = port;
    return usable;
}

void SayPrinterNotFound(const QWidget* owner) {
    ShowMessageOver(owner, g_GlobalString.HintTitle, g_GlobalString.PrinterNotFound,
                    TMessageIcon::Error);
}

// Keeps the windows alive for about half a second after a successful read.
void SettleAfterRead() {
    for (int round = 0; round < 51; ++round) {
        QThread::yieldCurrentThread();
        UserInterface().ProcessMessages();
        Platform().Clock().Sleep(10);
    }
}

bool IsInkPage(const std::string& icon) {
    return icon.starts_with("Ink") && icon != "Ink_Adjust";
}

// Only web addresses are handed to the shell, never a program or a file.
bool IsWebAddress(const std::string& address) {
    auto starts = [&](const char* prefix) {
        const std::string p(prefix);
        if (address.size() <= p.size()) return false;
        for (std::size_t i = 0; i < p.size(); ++i)
            if (std::tolower(static_cast<unsigned char>(address[i])) != p[i]) return false;
        return true;
    };
    return starts("http://") || starts("https://");
}

void Collapse(QWidget* panel) {
    panel->setVisible(false);
    panel->setMinimumHeight(0);
}

}  // namespace

TfrmSetItem::TfrmSetItem(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint) {
    setObjectName("frmSetItem");
    BuildControls();
    RunGuarded(this, [this] { FormCreate(); });
}

TfrmSetItem::~TfrmSetItem() = default;

void TfrmSetItem::BuildControls() {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    pnlTop = new QWidget(this);
    pnlTop->setObjectName("pnlTop");
    auto* top = new QVBoxLayout(pnlTop);
    top->setContentsMargins(8, 8, 8, 4);
    top->setSpacing(6);
    layout->addWidget(pnlTop, 1);

    pnlType1 = new QWidget(pnlTop);
    pnlType1->setObjectName("pnlType1");
    auto* type1 = new QVBoxLayout(pnlType1);
    type1->setContentsMargins(0, 0, 0, 0);
    rg1 = new QGroupBox(pnlType1);
    rg1->setObjectName("rg1");
    new QVBoxLayout(rg1);
    rg1Buttons = new QButtonGroup(this);
    rg1Buttons->setExclusive(true);
    // Only a user's click chooses; marking the printer's value does not come here.
    connect(rg1Buttons, &QButtonGroup::idClicked, this, Guarded(this, [this] { rg1Click(); }));
    type1->addWidget(rg1);
    top->addWidget(pnlType1, 1);

    pnlType2 = new QWidget(pnlTop);
    pnlType2->setObjectName("pnlType2");
    auto* type2 = new QVBoxLayout(pnlType2);
    type2->setContentsMargins(0, 0, 0, 0);
    lbl1 = new QLabel(pnlType2);
    lbl1->setObjectName("lbl1");
    lst2 = new QListWidget(pnlType2);
    lst2->setObjectName("lst2");
    lbl1->setBuddy(lst2);
    // The user's choices only: marking the printer's value blocks the list's signals. A
    // selection changed by mouse or keyboard, a click on the row already selected and Enter on
    // it choose, so a write that failed can be tried again from the same row.
    const auto choose = Guarded(this, [this] { lst2Click(); });
    connect(lst2, &QListWidget::itemSelectionChanged, this, choose);
    connect(lst2, &QAbstractItemView::clicked, this, choose);
    connect(lst2, &QAbstractItemView::activated, this, choose);
    type2->addWidget(lbl1);
    type2->addWidget(lst2, 1);
    top->addWidget(pnlType2, 1);

    pnlType3 = new QWidget(pnlTop);
    pnlType3->setObjectName("pnlType3");
    auto* type3 = new QVBoxLayout(pnlType3);
    type3->setContentsMargins(0, 0, 0, 0);
    tsb3 = new QScrollArea(pnlType3);
    tsb3->setObjectName("tsb3");
    tsb3->setAlignment(Qt::AlignCenter);
    tsb3->setFocusPolicy(Qt::NoFocus);
    imgPicture = new QLabel;
    imgPicture->setAlignment(Qt::AlignCenter);
    tsb3->setWidget(imgPicture);
    tsb3->setWidgetResizable(true);
    type3->addWidget(tsb3);
    top->addWidget(pnlType3, 1);

    pnlInfo = new QWidget(pnlTop);
    pnlInfo->setObjectName("pnlInfo");
    auto* info = new QVBoxLayout(pnlInfo);
    info->setContentsMargins(0, 0, 0, 0);
    grp1 = new QGroupBox(pnlInfo);
    grp1->setObjectName("grp1");
    auto* grp = new QVBoxLayout(grp1);
    lblInfo = new QLabel(grp1);
    lblInfo->setObjectName("lblInfo");
    lblInfo->setWordWrap(true);
    lblInfo->setTextFormat(Qt::PlainText);
    lblInfo->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblWeb = new QLabel(grp1);
    lblWeb->setObjectName("lblWeb");
    lblWeb->setTextFormat(Qt::RichText);
    lblWeb->setOpenExternalLinks(false);
    lblWeb->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    lblWeb->setFocusPolicy(Qt::StrongFocus);
    lblWeb->setVisible(false);
    connect(lblWeb, &QLabel::linkActivated, this, Guarded(this, [this] { lblWebClick(); }));
    grp->addWidget(lblInfo);
    grp->addWidget(lblWeb);
    info->addWidget(grp1);
    top->addWidget(pnlInfo, 0);

    pnlBottom = new QWidget(this);
    pnlBottom->setObjectName("pnlBottom");
    pnlBottom->setFixedHeight(kBottomHeight);
    auto* bottom = new QHBoxLayout(pnlBottom);
    bottom->setContentsMargins(8, 6, 8, 8);
    auto makeButton = [this](const char* name) {
        auto* button = new QPushButton(pnlBottom);
        button->setObjectName(name);
        button->setAutoDefault(false);
        return button;
    };
    btnDefault = makeButton("btnDefault");
    btnBack = makeButton("btnBack");
    btnNext = makeButton("btnNext");
    btnInkset = makeButton("btnInkset");
    btnClean = makeButton("btnClean");
    btnSet = makeButton("btnSet");
    btnCancel = makeButton("btnCancel");
    btnSet->setEnabled(false);
    // Back, Next and OK of the change sequence stand in this order.
    bottom->addWidget(btnDefault);
    bottom->addWidget(btnBack);
    bottom->addWidget(btnNext);
    bottom->addWidget(btnInkset);
    bottom->addWidget(btnClean);
    bottom->addStretch(1);
    bottom->addWidget(btnSet);
    bottom->addWidget(btnCancel);
    layout->addWidget(pnlBottom, 0);

    connect(btnDefault, &QPushButton::clicked, this, Guarded(this, [this] { btnDefaultClick(); }));
    connect(btnSet, &QPushButton::clicked, this, Guarded(this, [this] { btnSetClick(); }));
    connect(btnCancel, &QPushButton::clicked, this, Guarded(this, [this] { btnCancelClick(); }));
    connect(btnInkset, &QPushButton::clicked, this, Guarded(this, [this] { btnInksetClick(); }));
    connect(btnNext, &QPushButton::clicked, this, Guarded(this, [this] { btnNextClick(); }));
    connect(btnBack, &QPushButton::clicked, this, Guarded(this, [this] { btnBackClick(); }));
    connect(btnClean, &QPushButton::clicked, this, Guarded(this, [this] { btnCleanClick(); }));
}

void TfrmSetItem::FormCreate() {
    const TNozzlePatternPaths patterns = WriteNozzlePatternFiles();
    m_Holecheck6A3C = patterns[0];
    m_Holecheck6A3C_2 = patterns[1];
    m_HolecheckKV = patterns[2];
    m_Holecheck4E17 = patterns[3];
    m_Holecheck4D00 = patterns[4];
    m_Holecheck7D05 = patterns[5];
    SetApplicationTitle(g_PrinterName);
    setWindowTitle(Q(g_GlobalString.ParametersCaption));
    rg1->setTitle(Q(g_GlobalString.ParametersTitle));
    lbl1->setText(Q(g_GlobalString.ParametersTitle));
    // Named by the caption above it, as the radio group is by its own (item views do not take
    // their buddy's text).
    lst2->setAccessibleName(lbl1->text());
    grp1->setTitle(Q(g_GlobalString.ParametersNoteTitle));
    btnSet->setText(Q(g_GlobalString.ParametersBtnSet));
    btnCancel->setText(Q(g_GlobalString.ParametersBtnCancel));
    btnDefault->setText(Q(g_GlobalString.ParametersBtnDefault));
    btnInkset->setText(Q(g_GlobalString.ParametersBtnOK));
    btnBack->setText(Q(g_GlobalString.Back));
    btnNext->setText(Q(g_GlobalString.btnInkset));
    btnClean->setText(Q(g_GlobalString.BtnClean));
    m_USBPort = std::make_unique<TUSBPrinterPort>(true);
}

void TfrmSetItem::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) RunGuarded(this, [this] { FormShow(); });
}

void TfrmSetItem::FormShow() {
    m_Item = TSettingItem();
    if (g_SchemeOptions) g_SchemeOptions->GetItem(g_CurrentPage, g_CurrentItem, m_Item);
    if (IsInkPage(m_Item.Icon)) {
        ArrangeForItem();
    } else {
        TWaitingWindowGuard waiting(g_PrinterName);
        m_bHasSetPrinter = false;
        ArrangeForItem();
        if (ReadCurrentValue()) SettleAfterRead();
    }
    const std::string& web = g_SchemeOptions ? g_SchemeOptions->m_Sections.WebAddress : "0";
    if (web == "0") {
        lblWeb->setVisible(false);
    } else {
        lblWeb->setText("<a href=\"#\">" + Q(web).toHtmlEscaped() + "</a>");
        lblWeb->setAccessibleName(Q(web));
        lblWeb->setVisible(true);
    }
    FitHeight(height());
}

void TfrmSetItem::ArrangeForItem() {
    btnSet->setEnabled(m_Item.iSubGroup >= 1);
    lblInfo->setText(Q(m_Item.Icon.starts_with("Ink") ? m_Item.Explain : m_Item.Note));
    setWindowTitle(Q(m_Item.Title));
    setAccessibleName(Q(m_Item.Title));
    const std::size_t count = m_Item.RuleValues.RuleTitle.size();
    {
        const QSignalBlocker blocker(lst2);
        lst2->clear();
    }

    int designHeight = 0;
    btnDefault->setVisible(true);
    btnSet->setVisible(true);
    if (count == 2 || count == 3) {
        m_iShowMode = 0;
        Collapse(pnlType2);
        Collapse(pnlType3);
        pnlType1->setVisible(true);
        pnlType1->setMinimumHeight(kRadioMinHeight);
        SetRadioTitles();
        designHeight = 21 * static_cast<int>(count) + 200;
        for (QPushButton* button : {btnInkset, btnBack, btnNext, btnClean})
            button->setVisible(false);
    } else if (count == 1) {
        // A picture page with its action buttons.
        m_iShowMode = 2;
        ArrangePicturePage();
        designHeight = kPicturePageHeight;
    } else {
        m_iShowMode = 1;
        Collapse(pnlType1);
        Collapse(pnlType3);
        pnlType2->setVisible(true);
        pnlType2->setMinimumHeight(kListMinHeight);
        for (const std::string& title : m_Item.RuleValues.RuleTitle) lst2->addItem(Q(title));
        if (m_Item.nParameterByte == 3) {
            lst2->setSelectionMode(QAbstractItemView::MultiSelection);
            lst2->setToolTip(Q(g_GlobalString.CanSelectMultiItem));
            designHeight = 320;
        } else {
            lst2->setSelectionMode(QAbstractItemView::SingleSelection);
            lst2->setToolTip(Q(g_GlobalString.CanSelectAnItem));
            designHeight = count <= 10 ? 260 : 330;
        }
        lst2->setAccessibleDescription(lst2->toolTip());
        for (QPushButton* button : {btnInkset, btnBack, btnNext, btnClean})
            button->setVisible(false);
    }
    if (m_Item.Icon == "Ink_Adjust") {
        btnInkset->setVisible(true);
        btnInkset->setText(Q(g_GlobalString.btnInkPrn));
    }
    if (m_Item.Icon == "Ink_Holecheck") btnInkset->setText(Q(g_GlobalString.btnInkPrn));
    {
        const QSignalBlocker blocker(lst2);
        lst2->clearSelection();
    }
    m_iValueIndex = m_iShowMode == 2 ? 0 : kNothingSelected;
    FitHeight(designHeight);
}

// The designed height, or more when the texts need it (a long note, large fonts).
void TfrmSetItem::FitHeight(int designHeight) {
    // The note wraps inside the group box; its lines decide how tall the box must be.
    constexpr int kNoteInset = 40;
    // An empty note has no height for a width (-1).
    lblInfo->setMinimumHeight(std::max(0, lblInfo->heightForWidth(kClientWidth - kNoteInset)));
    layout()->activate();
    const int needed = layout()->totalMinimumSize().height();
    setFixedSize(kClientWidth, std::max(designHeight, needed));
}

void TfrmSetItem::SetRadioTitles() {
    for (QAbstractButton* button : rg1Buttons->buttons()) {
        rg1Buttons->removeButton(button);
        delete button;
    }
    int id = 0;
    for (const std::string& title : m_Item.RuleValues.RuleTitle) {
        auto* radio = new QRadioButton(Q(title), rg1);
        radio->setObjectName(QString("rg1_%1").arg(id));
        rg1->layout()->addWidget(radio);
        radio->setVisible(true);
        rg1Buttons->addButton(radio, id++);
    }
}

void TfrmSetItem::ClearRadioSelection() {
    rg1Buttons->setExclusive(false);
    for (QAbstractButton* button : rg1Buttons->buttons()) button->setChecked(false);
    rg1Buttons->setExclusive(true);
}

int TfrmSetItem::Rg1ItemIndex() const {
    return rg1Buttons->checkedId();
}

bool TfrmSetItem::ReadCurrentValue() {
    if (!UsablePrinter()) {
        SayPrinterNotFound(this);
        return false;
    }
    if (const auto value = ReadCurrentItemValue(*g_SchemeOptions)) {
        m_iPrinterItemValue = *value;
        ShowCurrentValue(m_iPrinterItemValue);
        return true;
    }
    if (!g_SchemeOptions->m_Sections.AffirmReadDisable)
        ShowMessageOver(this, g_GlobalString.ErrorTitle, g_GlobalString.PrinterStatusError,
                        TMessageIcon::Warning);
    return false;
}

void TfrmSetItem::ShowCurrentValue(std::int32_t value) {
    const QSignalBlocker blocker(lst2);
    m_iValueIndex = kNothingSelected;
    if (m_Item.nParameterByte == 3) {
        m_iValueIndex = value;
        lst2->clearSelection();
        for (int bit = 23; bit >= 0; --bit) {
            const int row = 23 - bit;
            if ((value >> bit) & 1 && row < lst2->count()) lst2->item(row)->setSelected(true);
        }
    } else {
        lst2->clearSelection();
        ClearRadioSelection();
        const auto& values = m_Item.RuleValues.RuleValue;
        for (std::size_t i = 0; i < values.size(); ++i)
            if (values[i] == value) m_iValueIndex = static_cast<std::int32_t>(i);
        if (m_iValueIndex >= 0) {
            if (m_iShowMode == 0) {
                if (QAbstractButton* radio = rg1Buttons->button(m_iValueIndex))
                    radio->setChecked(true);
            } else if (m_iValueIndex < lst2->count()) {
                lst2->setCurrentRow(m_iValueIndex);
            }
        }
    }
    btnSet->setEnabled(m_Item.iSubGroup >= 1);
}

void TfrmSetItem::rg1Click() {
    btnSet->setEnabled(true);
    m_iValueIndex = Rg1ItemIndex();
}

void TfrmSetItem::lst2Click() {
    btnSet->setEnabled(true);
    if (m_Item.nParameterByte == 3) {
        std::int32_t mask = 0;
        for (int row = 0; row < lst2->count() && row < 24; ++row)
            if (lst2->item(row)->isSelected()) mask |= 1 << (23 - row);
        m_iValueIndex = mask;
    } else {
        m_iValueIndex = lst2->currentRow();
    }
}

void TfrmSetItem::btnDefaultClick() {
    m_iValueIndex = kNothingSelected;
    ShowCurrentValue(m_Item.ValueDefault);
    btnSet->setEnabled(true);
}

void TfrmSetItem::btnSetClick() {
    if (!UsablePrinter()) {
        SayPrinterNotFound(this);
        return;
    }
    const int index = m_iShowMode == 0 ? Rg1ItemIndex() : m_iShowMode == 2 ? 0 : lst2->currentRow();
    const auto& values = m_Item.RuleValues.RuleValue;
    const bool threeBytes = m_Item.nParameterByte == 3;
    // Nothing chosen, or a row the rule has no value for.
    if (m_iValueIndex < 0 ||
        (!threeBytes && (index < 0 || static_cast<std::size_t>(index) >= values.size()))) {
        ShowMessageOver(this, g_GlobalString.HintTitle, g_GlobalString.HaveToSelectAnItem,
                        TMessageIcon::Error);
        return;
    }
    // Three-byte items write the selection mask, the others the chosen row's value.
    const std::int32_t written =
        threeBytes ? m_iValueIndex : values[static_cast<std::size_t>(index)];
    CheckValueFitsWidth(m_Item.nParameterByte, written);
    const TBytes command = SpacedHexToBytes(g_SchemeOptions->WriteCommandOf(m_Item, written));

    pnlTop->setEnabled(false);
    btnSet->setEnabled(false);
    btnCancel->setEnabled(false);
    btnDefault->setEnabled(false);
    struct TEnableAgain {
        TfrmSetItem* dialog;
        ~TEnableAgain() {
            dialog->pnlTop->setEnabled(true);
            dialog->btnCancel->setEnabled(true);
            dialog->btnDefault->setEnabled(true);
        }
    } enableAgain{this};

    const TItemWriteResult result =
        WriteItemAndConfirm(*g_SchemeOptions, command, written, m_Item.nParameterByte);
    if (result.outcome == TWriteOutcome::SendFailed) {
        ShowMessageOver(this, g_GlobalString.HintTitle, g_GlobalString.SetPrinterFail,
                        TMessageIcon::Error);
        return;
    }
    m_bHasSetPrinter = true;
    if (result.outcome == TWriteOutcome::NotConfirmed) {
        ShowMessageOver(this, g_GlobalString.HintTitle, g_GlobalString.SetPrinterTimeout,
                        TMessageIcon::Error);
        return;
    }
    m_iPrinterItemValue = result.readBack.value_or(written);
    ShowCurrentValue(m_iPrinterItemValue);
    btnCancel->setText(Q(g_GlobalString.ParametersBtnReturn));
    if (m_Item.iSubGroup < 1) {
        ShowMessageOver(this, g_GlobalString.HintTitle, g_GlobalString.SetPrinterSuccessI,
                        TMessageIcon::Information);
        CloseDialog(QDialog::Accepted);
        return;
    }
    OpenSubGroup(threeBytes ? std::max(index, 0) : index);
}

void TfrmSetItem::OpenSubGroup(int index) {
    const auto& titles = m_Item.RuleValues.RuleTitle;
    const std::string caption = static_cast<std::size_t>(index) < titles.size()
                                    ? titles[static_cast<std::size_t>(index)]
                                    : std::string();
    if (m_Item.iSubGroup == 64 && index >= 3) {
        TfrmInvoiceType_SetGruop* card = CardTypeDialog();
        card->ArrangeForRow(index);
        card->setWindowTitle(Q(caption));
        card->exec();
        return;
    }
    TFormSetGroupItem* group = GroupItemDialog();
    group->SetParameters(caption, m_Item.iSubGroup);  // refuses a sub group that does not exist
    group->exec();
}

void TfrmSetItem::btnCancelClick() {
    if (m_bInkActionRunning) return;
    std::string port;
    if (!UsablePrinter(&port)) {
        // A change the printer was put in is aborted all the same: the port monitor does not
        // ask whether the spooler holds the printer off-line.
        if (m_bChangeStarted) AbortChangeOfUnusablePrinter(port);
        SayPrinterNotFound(this);
        CloseDialog(QDialog::Rejected);
        return;
    }
    std::uint8_t status = 0;
    if (m_USBPort && m_USBPort->GetPrinterStatusByte(port, status) &&
        status == kStatusPrinterAtWork) {
        ShowMessageOver(this, g_GlobalString.HintTitle, g_GlobalString.WaitingForPrinterWork,
                        TMessageIcon::Error);
        return;
    }
    if (m_Item.Icon == "Ink_Changehead" || m_Item.Icon == "Ink_Changebox") {
        ChangeCancelClick(port);
        return;
    }
    CloseDialog(QDialog::Rejected);
}

void TfrmSetItem::lblWebClick() {
    const std::string& web = g_SchemeOptions ? g_SchemeOptions->m_Sections.WebAddress : "";
    if (IsWebAddress(web)) Platform().Shell().OpenUrl(web);
}

void TfrmSetItem::reject() {
    // Esc and the title bar's close wait until a running ink action is over.
    if (m_bInkActionRunning) return;
    RunGuarded(this, [this] { btnCancelClick(); });
}

void TfrmSetItem::CloseDialog(int result) {
    done(result);
}

void TfrmSetItem::done(int result) {
    RunGuarded(this, [this] { FormClose(); });
    QDialog::done(result);
}

void TfrmSetItem::FormClose() {
    if (m_bHasSetPrinter && g_RunMode == kRunModeItem && g_SchemeOptions)
        g_SchemeOptions->CreatePrinterValuesIni_ForPage(kPageBaseReport);
}

void TfrmSetItem::CreateGroupDialogs() {
    if (!m_pGroupItem) m_pGroupItem = std::make_unique<TFormSetGroupItem>(this);
    if (!m_pCardType) m_pCardType = std::make_unique<TfrmInvoiceType_SetGruop>(this);
}

TFormSetGroupItem* TfrmSetItem::GroupItemDialog() {
    CreateGroupDialogs();
    return m_pGroupItem.get();
}

TfrmInvoiceType_SetGruop* TfrmSetItem::CardTypeDialog() {
    CreateGroupDialogs();
    return m_pCardType.get();
}

int RunItemDialogMode() {
    const std::int32_t count = g_SchemeOptions ? g_SchemeOptions->GetItemLength(g_CurrentPage) : 0;
    if (g_CurrentItem < 0 || g_CurrentItem >= count) {
        std::string text = g_GlobalString.OutOfIndex;
        // The table's text names the index with one "%d".
        if (const std::size_t at = text.find("%d"); at != std::string::npos)
            text.replace(at, 2, std::to_string(g_CurrentItem));
        ShowMessageOver(nullptr, g_GlobalString.ErrorTitle, text, TMessageIcon::Error);
        return kExitStartRefused;
    }
    TfrmSetItem dialog;
    dialog.CreateGroupDialogs();
    // The program's foreground once the dialog is up (it is the program's main window here).
    QTimer::singleShot(0, &dialog, [] { Platform().SingleInstance().BringProgramToFront(); });
    dialog.exec();
    return kExitDone;
}

void RegisterSettingDialogs() {
    RegisterItemDialog("TfrmSetItem", [](QWidget* parent) -> std::unique_ptr<QDialog> {
        return std::make_unique<TfrmSetItem>(parent);
    });
    SetRunItemDialog(RunItemDialogMode);
}

}  // namespace ps::ui
