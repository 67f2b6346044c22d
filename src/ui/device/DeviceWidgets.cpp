// SPDX-License-Identifier: MIT
// Shared device dialog pieces.
#include "ui/device/DeviceWidgets.h"

#include <QLabel>
#include <QLineEdit>

#include "platform/Platform.h"
#include "scheme/Scheme3.h"
#include "ui/common/QtUserInterface.h"

namespace ps::ui {

QLineEdit* MakeCounterBox(QWidget* parent, const char* name) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setReadOnly(true);
    QFont font(QStringLiteral("Microsoft YaHei"));
    font.setPixelSize(13);
    font.setBold(true);
    box->setFont(font);
    QPalette palette = box->palette();
    palette.setColor(QPalette::Text, Qt::blue);
    box->setPalette(palette);
    return box;
}

QLabel* MakeWebLabel(QWidget* parent, bool clickable) {
    auto* label = new QLabel(parent);
    label->setObjectName("lblWeb");
    if (clickable) {
        label->setTextFormat(Qt::RichText);
        label->setOpenExternalLinks(false);
        label->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
        label->setFocusPolicy(Qt::StrongFocus);
        label->setCursor(Qt::PointingHandCursor);
    } else {
        label->setTextFormat(Qt::PlainText);
        QFont font = label->font();
        font.setUnderline(true);
        label->setFont(font);
    }
    SetWebText(label, kVendorWebAddress, clickable);
    return label;
}

void SetWebText(QLabel* label, const std::string& address, bool clickable) {
    if (clickable)
        label->setText("<a href=\"#\">" + Q(address).toHtmlEscaped() + "</a>");
    else
        label->setText(Q(address));
    label->setAccessibleName(Q(address));
}

void OpenSchemeWebAddress() {
    const std::string web = g_SchemeOptions ? g_SchemeOptions->m_Sections.WebAddress : "";
    const QString lower = Q(web).toLower();
    // Only web addresses go to the shell, never a program or a file.
    if ((lower.startsWith("http://") && lower.size() > 7) ||
        (lower.startsWith("https://") && lower.size() > 8))
        Platform().Shell().OpenUrl(web);
}

bool SchemeNamesVendorPrinter() {
    return g_SchemeOptions &&
           g_SchemeOptions->m_Sections.PrinterName.find("Talvenor") != std::string::npos;
}

}  // namespace ps::ui
