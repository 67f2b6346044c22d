// SPDX-License-Identifier: MIT
// The Qt user-interface hook.
#include "ui/common/QtUserInterface.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include "ui/main/uWaiting.h"

namespace ps::ui {
namespace {

TQtUserInterface* g_pInstalled = nullptr;
std::string g_strApplicationTitle = "Printer Settings";

QMessageBox::Icon BoxIcon(TMessageIcon icon) {
    switch (icon) {
        case TMessageIcon::Information:
            return QMessageBox::Information;
        case TMessageIcon::Warning:
            return QMessageBox::Warning;
        case TMessageIcon::Error:
            return QMessageBox::Critical;
        case TMessageIcon::Question:
            return QMessageBox::Question;
        case TMessageIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons BoxButtons(TMessageButtons buttons) {
    switch (buttons) {
        case TMessageButtons::Ok:
            return QMessageBox::Ok;
        case TMessageButtons::OkCancel:
            return QMessageBox::Ok | QMessageBox::Cancel;
        case TMessageButtons::YesNo:
            return QMessageBox::Yes | QMessageBox::No;
        case TMessageButtons::YesNoCancel:
            return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

TMessageResult ResultOf(int button, TMessageButtons buttons) {
    switch (button) {
        case QMessageBox::Ok:
            return TMessageResult::Ok;
        case QMessageBox::Yes:
            return TMessageResult::Yes;
        case QMessageBox::No:
            return TMessageResult::No;
        default:
            break;
    }
    // Esc or the title bar's close: the box's way out.
    return buttons == TMessageButtons::Ok      ? TMessageResult::Ok
           : buttons == TMessageButtons::YesNo ? TMessageResult::No
                                               : TMessageResult::Cancel;
}

}  // namespace

const std::string& ApplicationTitle() {
    return g_strApplicationTitle;
}

void SetApplicationTitle(const std::string& title) {
    g_strApplicationTitle = title;
}

QString Q(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string S(const QString& text) {
    return text.toUtf8().toStdString();
}

TQtUserInterface::TQtUserInterface() {
    g_pInstalled = this;
}

TQtUserInterface::~TQtUserInterface() {
    if (g_pInstalled == this) g_pInstalled = nullptr;
}

TQtUserInterface* TQtUserInterface::Installed() {
    return g_pInstalled;
}

TMessageResult TQtUserInterface::ShowMessage(TOwnerWindow ownerWindow, const std::string& caption,
                                             const std::string& text, TMessageIcon icon,
                                             TMessageButtons buttons) {
    const auto* owner = static_cast<const QWidget*>(ownerWindow);
    if (m_pHook) return m_pHook->Answer({owner, caption, text, icon, buttons});
    QWidget* parent = const_cast<QWidget*>(owner);
    if (!parent) parent = QApplication::activeModalWidget();
    if (!parent) parent = QApplication::activeWindow();
    // The waiting window stays on top of everything; a box must not hide behind it.
    if (m_pWaiting && parent == m_pWaiting.get()) parent = nullptr;
    QMessageBox box(BoxIcon(icon), Q(caption), Q(text), BoxButtons(buttons), parent);
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    box.setAccessibleName(Q(caption));
    if (buttons == TMessageButtons::OkCancel) box.setDefaultButton(QMessageBox::Ok);
    return ResultOf(box.exec(), buttons);
}

void TQtUserInterface::ProcessMessages() {
    ++m_iPumpDepth;
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    --m_iPumpDepth;
}

void TQtUserInterface::ShowWaiting(const std::string& caption, const std::string& text) {
    m_pWaiting = std::make_unique<TfrmWaiting>();
    m_pWaiting->SetTexts(caption, text);
    m_pWaiting->show();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TQtUserInterface::HideWaiting() {
    if (m_pWaiting) m_pWaiting->hide();
    m_pWaiting.reset();
}

TMessageResult ShowMessageOver(const QWidget* owner, const std::string& caption,
                               const std::string& text, TMessageIcon icon,
                               TMessageButtons buttons) {
    return UserInterface().ShowMessage(owner, caption, text, icon, buttons);
}

}  // namespace ps::ui
