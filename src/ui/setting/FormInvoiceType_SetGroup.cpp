// SPDX-License-Identifier: MIT
// The card-type group dialog.
#include "ui/setting/FormInvoiceType_SetGroup.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QShowEvent>
#include <array>
#include <cmath>
#include <vector>

#include "base/Lib_String.h"
#include "localisation/Scheme.h"
#include "platform/Platform.h"
#include "platform/UserInterface.h"
#include "scheme/ReplyView.h"
#include "scheme/Scheme3.h"
#include "scheme/ValueCodec.h"
#include "ui/common/ClockTimer.h"
#include "ui/common/EventGuard.h"
#include "ui/common/ItemPanel.h"
#include "ui/common/QtUserInterface.h"
#include "ui/main/uWaiting.h"

namespace ps::ui {
namespace {

constexpr int kClientWidth = 704;
constexpr int kClientHeight = 282;
constexpr int kFullWidth = 710;
constexpr int kGap = 5;
constexpr int kTopMarginRows = 90;  // -19 ... 70 sixtieths of an inch
constexpr int kTopMarginFirst = -19;
constexpr int kLeftMarginRows = 6;
constexpr int kCopyRows = 8;
constexpr std::uint8_t kCopyAuto = 7;
constexpr std::uint32_t kMeasureWaitMs = 8000;
constexpr std::int32_t kReplyBuffer = 512;

using TBytesList = std::vector<std::uint8_t>;
const TBytesList kEnter = {0x1B, 0x1D, 0x1E, 0x05, 0x01, 0x1B, 0x1D, 0x1F};
const TBytesList kSave = {0x1B, 0x1D, 0x1E, 0x05, 0x02, 0x1B, 0x1D, 0x1F};
const TBytesList kStartMeasure = {0x1B, 0x1D, 0x1E, 0x00, 0x1B, 0x00, 0x00, 0x1B, 0x1D, 0x1F};
const TBytesList kReadMeasured = {0x1B, 0x1D, 0x1E, 0x05, 0x03, 0x01, 0x4E, 0x1B, 0x1D, 0x1F};
const TBytesList kReadPassbook = {0x1B, 0x1D, 0x1E, 0x05, 0x03, 0x04, 0x4B,
                                  0x0A, 0x0F, 0x4D, 0x1B, 0x1D, 0x1F};
const TBytesList kReadOther = {0x1B, 0x1D, 0x1E, 0x05, 0x03, 0x03,
                               0x4B, 0x0A, 0x0F, 0x1B, 0x1D, 0x1F};

// One fixed write: 1B 1D 1E, the command bytes, the value bytes, 1B 1D 1F.
void AppendWrite(TBytesList& buffer, std::uint8_t a, std::uint8_t b, const TBytesList& value) {
    buffer.insert(buffer.end(), {0x1B, 0x1D, 0x1E, a, b});
    buffer.insert(buffer.end(), value.begin(), value.end());
    buffer.insert(buffer.end(), {0x1B, 0x1D, 0x1F});
}

QString Millimetres(double inches) {
    return QString::asprintf("%.2f", inches * 25.4);
}

void Select(QListWidget* list, int row) {
    if (row >= 0 && row < list->count()) list->setCurrentRow(row);
}

int SelectedRow(const QListWidget* list) {
    const int row = list->currentRow();
    return row >= 0 && list->item(row)->isSelected() ? row : -1;
}

}  // namespace

TfrmInvoiceType_SetGruop::TfrmInvoiceType_SetGruop(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint) {
    setObjectName("frmInvoiceType_SetGruop");
    BuildControls();
    // FormCreate.
    lblName1->setText(Q(g_GlobalString.Group64_Name1));
    lblName2->setText(Q(g_GlobalString.Group64_Name2));
    lblName3->setText(Q(g_GlobalString.Group64_Name3));
    lblName4->setText(Q(g_GlobalString.Group64_Name4));
    btnDetect->setText(Q(g_GlobalString.Group64_btnDetect));
    lblInfo->setText(Q(g_GlobalString.Group64_Info));
    grp1->setTitle(Q(g_GlobalString.ParametersNoteTitle));
    btnSet->setText(Q(g_GlobalString.ParametersBtnSet));
    btnCancel->setText(Q(g_GlobalString.ParametersBtnCancel));
    medt1->setAccessibleName(Q(g_GlobalString.Group64_Name2));
    lst1->setAccessibleName(Q(g_GlobalString.Group64_Name1));
    lst3->setAccessibleName(Q(g_GlobalString.Group64_Name3));
    lst4->setAccessibleName(Q(g_GlobalString.Group64_Name4));
}

void TfrmInvoiceType_SetGruop::BuildControls() {
    setFixedSize(kClientWidth, kClientHeight);
    pnl1 = new QWidget(this);
    pnl1->setObjectName("pnl1");
    pnl1->setGeometry(0, 0, kFullWidth, 160);

    pnlItem1 = MakeItemPanel(pnl1, "pnlItem1", 3, 8);
    lst1 = MakeItemList(pnlItem1, "lst1");
    lblName1 = MakeItemName(pnlItem1, "lblName1", lst1);

    pnlItem2 = MakeItemPanel(pnl1, "pnlItem2", 174, 8);
    medt1 = new QLineEdit(pnlItem2);
    medt1->setObjectName("medt1");
    medt1->setGeometry(4, 40, 100, 24);
    medt1->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9.]*"), medt1));
    medt1->installEventFilter(this);
    // The longest name: two lines above the edit instead of one cut short.
    lblName2 = MakeItemName(pnlItem2, "lblName2", medt1, 34);
    lblName2->setWordWrap(true);
    lblName2->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lbl1 = new QLabel(" mm", pnlItem2);
    lbl1->setObjectName("lbl1");
    lbl1->setGeometry(107, 42, 40, 20);
    btnDetect = new QPushButton(pnlItem2);
    btnDetect->setObjectName("btnDetect");
    btnDetect->setGeometry(4, 72, 100, 28);

    pnlItem3 = MakeItemPanel(pnl1, "pnlItem3", 345, 8);
    lst3 = MakeItemList(pnlItem3, "lst3");
    lblName3 = MakeItemName(pnlItem3, "lblName3", lst3);
    pnlItem4 = MakeItemPanel(pnl1, "pnlItem4", 519, 8);
    lst4 = MakeItemList(pnlItem4, "lst4");
    lblName4 = MakeItemName(pnlItem4, "lblName4", lst4);

    grp1 = new QGroupBox(this);
    grp1->setObjectName("grp1");
    lblInfo = new QLabel(grp1);
    lblInfo->setObjectName("lblInfo");
    lblInfo->setWordWrap(true);
    lblInfo->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    pnlBottom = new QWidget(this);
    pnlBottom->setObjectName("pnlBottom");
    btnSet = new QPushButton(pnlBottom);
    btnSet->setObjectName("btnSet");
    btnCancel = new QPushButton(pnlBottom);
    btnCancel->setObjectName("btnCancel");
    btnRead = new QPushButton(pnlBottom);
    btnRead->setObjectName("btnRead");
    btnRead->setVisible(false);
    for (QPushButton* button : {btnSet, btnCancel, btnRead, btnDetect})
        button->setAutoDefault(false);

    connect(btnSet, &QPushButton::clicked, this, Guarded(this, [this] { btnSetClick(); }));
    connect(btnCancel, &QPushButton::clicked, this, Guarded(this, [this] { btnCancelClick(); }));
    connect(btnRead, &QPushButton::clicked, this, Guarded(this, [this] { btnReadClick(); }));
    connect(btnDetect, &QPushButton::clicked, this, Guarded(this, [this] { btnDetectClick(); }));
}

bool TfrmInvoiceType_SetGruop::PassbookLayout() const {
    return !pnlItem2->isHidden();
}

void TfrmInvoiceType_SetGruop::ArrangeForRow(int row) {
    if (row == 3) {
        pnlItem2->setVisible(false);
        pnlItem3->move(pnlItem1->x() + pnlItem1->width() + kGap, pnlItem3->y());
        setFixedWidth(kFullWidth - pnlItem2->width());
    } else if (row == 4) {
        pnlItem2->setVisible(true);
        pnlItem3->move(pnlItem2->x() + pnlItem2->width() + kGap, pnlItem3->y());
        setFixedWidth(kFullWidth);
    } else {
        return;
    }
    pnlItem4->move(pnlItem3->x() + pnlItem3->width() + kGap, pnlItem4->y());
}

void TfrmInvoiceType_SetGruop::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) RunGuarded(this, [this] { FormShow(); });
}

void TfrmInvoiceType_SetGruop::FormShow() {
    const int w = width();
    const int h = height();
    pnl1->setGeometry(0, 0, w, 160);
    const int infoWidth = w - 16 - 16;
    const int infoHeight = std::max(lblInfo->heightForWidth(infoWidth), 34);
    const int needed = 160 + infoHeight + 30 + 44;
    if (needed > h) setFixedHeight(needed);
    grp1->setGeometry(8, 160, w - 16, height() - 160 - 44);
    lblInfo->setGeometry(8, 20, infoWidth, grp1->height() - 26);
    pnlBottom->setGeometry(0, height() - 44, w, 44);
    btnCancel->setGeometry(w - 8 - 75, 8, 75, 30);
    btnSet->setGeometry(btnCancel->x() - 6 - 75, 8, 75, 30);

    lst1->clear();
    lst3->clear();
    lst4->clear();
    const QString inch = Q(g_GlobalString.Inch);
    for (int i = kTopMarginFirst; i < kTopMarginFirst + kTopMarginRows; ++i)
        AddItemRow(lst1, QString("%1/60 %2 (%3mm)").arg(i).arg(inch, Millimetres(i / 60.0)));
    for (int i = 0; i < kLeftMarginRows; ++i)
        AddItemRow(lst3, QString("%1/10 %2 (%3mm)").arg(i).arg(inch, Millimetres(i / 10.0)));
    AddItemRow(lst4, Q(g_GlobalString.Auto));
    for (int i = 1; i < kCopyRows; ++i)
        AddItemRow(lst4, QString("%1%2").arg(i).arg(Q(g_GlobalString.Layer)));
    // A height from an earlier showing is not this type's.
    medt1->clear();
    btnDetect->setToolTip({});
    setTabOrder(lst1, medt1);
    setTabOrder(medt1, btnDetect);
    setTabOrder(btnDetect, lst3);
    setTabOrder(lst3, lst4);
    setTabOrder(lst4, btnSet);
    setTabOrder(btnSet, btnCancel);
    btnReadClick();
}

std::string TfrmInvoiceType_SetGruop::HeightText(double sixtiethsOfInch) {
    const double millimetres = std::nearbyint(sixtiethsOfInch / 60.0 * 25.4);
    return QString::asprintf("%04.1f", millimetres).toStdString();
}

std::optional<double> TfrmInvoiceType_SetGruop::ParseMillimetres(const std::string& text) {
    bool ok = false;
    double number = QLocale::system().toDouble(Q(text), &ok);
    if (!ok) number = QLocale::c().toDouble(Q(text), &ok);
    if (!ok || !std::isfinite(number)) return std::nullopt;
    return number;
}

std::int32_t TfrmInvoiceType_SetGruop::HeightValue(double millimetres) {
    const float sixtieths = static_cast<float>(millimetres) / 25.4f * 60.0f;
    if (!(std::fabs(sixtieths) <= 0x7FFF))
        throw EConvertError("The page height " + QString::number(millimetres).toStdString() +
                            " mm cannot be written");
    return static_cast<std::int32_t>(std::nearbyint(sixtieths));
}

void TfrmInvoiceType_SetGruop::btnReadClick() {
    const bool passbook = PassbookLayout();
    const TBytesList& command = passbook ? kReadPassbook : kReadOther;
    std::array<std::uint8_t, kReplyBuffer> buffer{};
    std::copy(command.begin(), command.end(), buffer.begin());
    std::int32_t nRead = kReplyBuffer;
    if (!g_SchemeOptions->WriteAndReadPrinter(buffer.data(),
                                              static_cast<std::int32_t>(command.size()),
                                              buffer.data(), kReplyBuffer - 1, nRead, false))
        return;
    // Every value the dialog shows must be in the reply; a shorter one changes nothing.
    const TReplyView reply(buffer.data(), nRead);
    const auto top = reply.SignMagnitude16(8);
    const auto left = reply.Byte(12);
    const auto copy = reply.Byte(15);
    const auto height = reply.LE16(18);
    if (!top || !left || !copy || (passbook && !height)) return;
    Select(lst1, *top - kTopMarginFirst);
    Select(lst3, *left);
    Select(lst4, *copy == kCopyAuto ? 0 : *copy + 1);
    if (passbook) medt1->setText(Q(HeightText(static_cast<std::int16_t>(*height))));
}

void TfrmInvoiceType_SetGruop::btnDetectClick() {
    btnDetect->setToolTip({});
    if (ShowMessageOver(this, g_GlobalString.HintTitle, g_GlobalString.PutTheCard,
                        TMessageIcon::Information, TMessageButtons::OkCancel) != TMessageResult::Ok)
        return;
    medt1->clear();
    if (!g_SchemeOptions->WritePrinter(kStartMeasure.data(),
                                       static_cast<std::int32_t>(kStartMeasure.size())))
        return;
    {
        // The waiting window closes itself once the printer has had time to measure.
        TfrmWaiting waitDlg1;
        waitDlg1.setObjectName("waitDlg1");
        waitDlg1.setWindowModality(Qt::ApplicationModal);
        waitDlg1.tmrClose->SetInterval(kMeasureWaitMs);
        waitDlg1.show();
        while (waitDlg1.isVisible()) {
            UserInterface().ProcessMessages();
            waitDlg1.tmrWaiting->Poll();
            waitDlg1.tmrClose->Poll();
            if (waitDlg1.isVisible()) Platform().Clock().Sleep(50);
        }
    }
    std::array<std::uint8_t, kReplyBuffer> buffer{};
    std::copy(kReadMeasured.begin(), kReadMeasured.end(), buffer.begin());
    std::int32_t nRead = kReplyBuffer;
    if (!g_SchemeOptions->WriteAndReadPrinter(buffer.data(),
                                              static_cast<std::int32_t>(kReadMeasured.size()),
                                              buffer.data(), kReplyBuffer - 1, nRead, false))
        return;
    const TReplyView reply(buffer.data(), nRead);
    const auto value = reply.LE16(8);
    if (nRead < 12 || !value) return;
    btnDetect->setToolTip(QString::asprintf("%x", *value));
    medt1->setText(Q(HeightText(*value)));
}

void TfrmInvoiceType_SetGruop::btnSetClick() {
    TBytesList buffer = kEnter;
    if (const int row = SelectedRow(lst1); row >= 0)
        AppendWrite(buffer, 0x04, 0x13, ValueToBytes(2, row + kTopMarginFirst));
    if (PassbookLayout()) {
        const auto number = ParseMillimetres(S(medt1->text()));
        if (!number) {
            ShowMessageOver(this, g_GlobalString.ErrorTitle, g_GlobalString.PaperLengthInvalid,
                            TMessageIcon::Warning);
            medt1->setFocus();
            return;
        }
        // 1 mm or less sends no page height.
        if (std::fabs(*number) > 1)
            AppendWrite(buffer, 0x00, 0x1A, ValueToBytes(2, HeightValue(*number)));
    }
    if (const int row = SelectedRow(lst3); row >= 0)
        AppendWrite(buffer, 0x00, 0x0B, {static_cast<std::uint8_t>(row)});
    if (const int row = SelectedRow(lst4); row >= 0)
        AppendWrite(buffer, 0x00, 0x10,
                    {static_cast<std::uint8_t>(row == 0 ? kCopyAuto : row - 1)});
    buffer.insert(buffer.end(), kSave.begin(), kSave.end());
    g_SchemeOptions->WritePrinter(buffer.data(), static_cast<std::int32_t>(buffer.size()));
    accept();
}

void TfrmInvoiceType_SetGruop::btnCancelClick() {
    reject();
}

bool TfrmInvoiceType_SetGruop::eventFilter(QObject* watched, QEvent* event) {
    // medt1 takes digits, the full stop and backspace; other typed characters are dropped.
    if (watched == medt1 && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const QString text = key->text();
        if (key->key() != Qt::Key_Backspace && text.size() == 1 && text[0].isPrint() &&
            !text[0].isDigit() && text[0] != '.')
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace ps::ui
