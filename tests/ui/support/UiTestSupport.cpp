// SPDX-License-Identifier: MIT
// The UI test ground.
#include "support/UiTestSupport.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QTest>
#include <QTextDocument>
#include <algorithm>
#include <optional>

#include "app/StartUp.h"
#include "localisation/Scheme.h"
#include "printer/Globals.h"
#include "scheme/Scheme3.h"
#include "support/EmulatedPlatformSupport.h"
#include "ui/common/QtWindowFactory.h"
#include "ui/device/DeviceDialogs.h"
#include "ui/main/uMain2.h"
#include "ui/setting/uSetItem.h"

namespace ps::test {
namespace {

const char* IconName(TMessageIcon icon) {
    switch (icon) {
        case TMessageIcon::Information:
            return "information";
        case TMessageIcon::Warning:
            return "warning";
        case TMessageIcon::Error:
            return "error";
        case TMessageIcon::Question:
            return "question";
        case TMessageIcon::None:
            break;
    }
    return "none";
}

// The start-up sequence hands its main window to the fixture instead of running a loop.
class TFixtureWindows : public TWindowFactory {
public:
    explicit TFixtureWindows(std::unique_ptr<ui::TfrmMainView2>& main) : m_Main(main) {}
    int RunItemDialog() override { return ui::TQtWindowFactory().RunItemDialog(); }
    int RunMainWindow() override {
        m_Main = std::make_unique<ui::TfrmMainView2>();
        return m_Main->Created() ? kExitDone : kExitStartRefused;
    }

private:
    std::unique_ptr<ui::TfrmMainView2>& m_Main;
};

// A caption as a person reads it: plain text, without the mnemonic marks, blanks simplified.
QString ReadableText(const QString& text, bool richText) {
    QString plain = text;
    if (richText) {
        QTextDocument document;
        document.setHtml(text);
        plain = document.toPlainText();
    }
    QString stripped;
    for (qsizetype i = 0; i < plain.size(); ++i) {
        if (plain[i] == '&' && i + 1 < plain.size()) ++i;
        stripped += plain[i];
    }
    return stripped.simplified();
}

QString LabelText(const QLabel* label) {
    const bool rich = label->textFormat() == Qt::RichText ||
                      (label->textFormat() == Qt::AutoText && Qt::mightBeRichText(label->text()));
    return ReadableText(label->text(), rich);
}

// What a control shows as its caption: the shown entry of a drop-down list (the Linux bridge
// reads nothing else for it), the text of a visible label whose buddy it is, its own text or
// title. Nothing for a control that shows no words (a picture, a row of dots).
std::optional<QString> VisibleCaption(QWidget* control, const QList<QLabel*>& labels) {
    if (const auto* box = qobject_cast<QComboBox*>(control); box && !box->isEditable())
        return ReadableText(box->currentText(), false);
    for (const QLabel* label : labels)
        if (label->buddy() == control && label->isVisible() && !label->text().isEmpty())
            return LabelText(label);
    QString caption;
    if (const auto* button = qobject_cast<QAbstractButton*>(control))
        caption = ReadableText(button->text(), false);
    else if (const auto* group = qobject_cast<QGroupBox*>(control))
        caption = ReadableText(group->title(), false);
    else if (const auto* label = qobject_cast<QLabel*>(control))
        caption = LabelText(label);
    if (std::none_of(caption.begin(), caption.end(), [](QChar c) { return c.isLetterOrNumber(); }))
        return std::nullopt;
    return caption;
}

// The texts a name may come from: the running language's string table and what the window
// shows (its caption, labels, buttons and group titles).
QStringList KnownTexts(QWidget* window, const QList<QLabel*>& labels) {
    QStringList known;
    TGlobalString table = g_GlobalString;
    ForEachGlobalString(table, [&](const char*, const std::string& text) {
        known << ReadableText(QString::fromStdString(text), false);
    });
    known << ReadableText(window->windowTitle(), false);
    for (const QLabel* label : labels)
        if (label->isVisible()) known << LabelText(label);
    for (const QAbstractButton* button : window->findChildren<QAbstractButton*>())
        if (button->isVisible()) known << ReadableText(button->text(), false);
    for (const QGroupBox* group : window->findChildren<QGroupBox*>())
        if (group->isVisible()) known << ReadableText(group->title(), false);
    return known;
}

}  // namespace

TMessageScript& TMessageScript::Expect(std::string caption, std::string text, TMessageIcon icon,
                                       TMessageResult answer) {
    m_Expected.push_back({std::move(caption), std::move(text), icon, answer});
    return *this;
}

TMessageResult TMessageScript::Answer(const ui::TShownMessage& message) {
    shown.push_back(message);
    if (m_OnNext) {
        auto action = std::move(m_OnNext);
        m_OnNext = nullptr;
        action(message);
    }
    if (m_Expected.empty()) {
        ADD_FAILURE() << "unexpected message box [" << IconName(message.icon) << "] "
                      << message.caption << ": " << message.text;
        return message.buttons == TMessageButtons::Ok ? TMessageResult::Ok : TMessageResult::Cancel;
    }
    TExpected expected = m_Expected.front();
    m_Expected.pop_front();
    EXPECT_EQ(message.caption, expected.caption) << "text: " << message.text;
    EXPECT_EQ(message.text, expected.text);
    EXPECT_EQ(IconName(message.icon), std::string(IconName(expected.icon)))
        << "text: " << message.text;
    return expected.answer;
}

void TMessageScript::VerifyAllShown() {
    for (const TExpected& expected : m_Expected)
        ADD_FAILURE() << "expected message box never shown: [" << IconName(expected.icon) << "] "
                      << expected.caption << ": " << expected.text;
    m_Expected.clear();
}

TUiFixture::TUiFixture() : m_Builder(m_Dir.Path()) {
    m_Builder.VirtualClock();
    m_Builder.Kernel("TempDir", "temp");
}

TUiFixture::~TUiFixture() {
    DestroyMainWindow();
    InstallUserInterface(nullptr);
    g_SchemeOptions.reset();
    ResetGlobals();
    InstallTestPlatform();
}

void TUiFixture::TearDown() {
    DestroyMainWindow();
    m_Boxes.VerifyAllShown();
}

TEmulationDirBuilder::TSection& TUiFixture::AddUsbPrinter(const std::string& name,
                                                          const std::string& port,
                                                          const std::string& device,
                                                          const std::string& schemeText,
                                                          const std::string& values) {
    const std::string scheme = "schemes/" + device + "_Settings.Dat";
    m_Dir.Write(scheme, schemeText);
    auto& section = m_Builder.Device(device, port, "MFG:Talvenor;MDL:" + device + ";");
    section.Set("Scheme", scheme);
    if (!values.empty()) section.Set("Values", values);
    return m_Builder.Printer(name, port)
        .Set("DriverName", "Talvenor " + device)
        .Set("DependentFiles", "drivers/3/UI.DLL|" + scheme)
        .Set("Device", device);
}

void TUiFixture::AddShippedQr520() {
    AddUsbPrinter("Talvenor QR-520", "USB001", "qr520",
                  ReadFileBytes(SourceDir() / "resources/Scheme/QR-520_Settings.Dat"));
}

void TUiFixture::Install(std::uint16_t langId) {
    char id[8];
    std::snprintf(id, sizeof id, "0x%04X", langId);
    m_Builder.Kernel("LangId", id);
    m_Builder.Write();
    ResetGlobals();
    g_SchemeOptions.reset();
    InstallEmulation(m_Dir.Path());
    LoadGlobalStrings("RESSTRING", langId);
    auto qt = std::make_unique<ui::TQtUserInterface>();
    qt->SetMessageHook(&m_Boxes);
    InstallUserInterface(std::move(qt));
    ui::RegisterSettingDialogs();
    ui::RegisterDeviceDialogs();
    m_bInstalled = true;
}

int TUiFixture::StartUp(const std::vector<std::string>& args) {
    if (!m_bInstalled) Install();
    ui::SetCommandLineArguments(args);
    TFixtureWindows windows(m_pMain);
    return RunStartUp(args, windows);
}

void TUiFixture::ShowMainWindow() {
    ASSERT_NE(m_pMain, nullptr);
    m_pMain->show();
    QApplication::processEvents();
}

void TUiFixture::DestroyMainWindow() {
    if (!m_pMain) return;
    m_pMain->close();
    m_pMain.reset();
    QApplication::processEvents();
}

std::vector<std::string> TUiFixture::Commands(const std::string& device) const {
    return m_Builder.CommandLog(device);
}

std::string TUiFixture::SpoolerState() const {
    return m_Builder.StateText();
}

std::filesystem::path TUiFixture::CacheBase(const std::string& printer) const {
    return m_Dir.Path() / "temp" / "Talvenor Printer" / printer;
}

void TUiFixture::Click(QAbstractButton* button) {
    ASSERT_NE(button, nullptr);
    ASSERT_TRUE(button->isVisible()) << button->objectName().toStdString();
    QTest::mouseClick(button, Qt::LeftButton);
}

bool TUiFixture::WaitUntil(const std::function<bool()>& done, int timeoutMs) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > timeoutMs) return false;
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

std::vector<std::string> TUiFixture::ScreenReaderFaults(QWidget* window) {
    std::vector<std::string> faults;
    QAccessibleInterface* top = QAccessible::queryAccessibleInterface(window);
    if (!top || top->text(QAccessible::Name).isEmpty() ||
        top->text(QAccessible::Name) != window->windowTitle())
        faults.push_back("window " + window->objectName().toStdString() + " (caption)");
    const QList<QLabel*> labels = window->findChildren<QLabel*>();
    const QStringList known = KnownTexts(window, labels);
    for (QWidget* control : window->findChildren<QWidget*>()) {
        if (!control->isVisible()) continue;
        QAccessibleInterface* item = QAccessible::queryAccessibleInterface(control);
        const QString name = item ? item->text(QAccessible::Name).simplified() : QString();
        const std::string id = control->objectName().toStdString();
        if ((control->focusPolicy() & Qt::TabFocus) && name.isEmpty()) {
            faults.push_back(id + " (no name)");
            continue;
        }
        const auto caption = VisibleCaption(control, labels);
        if (caption && *caption != name)
            faults.push_back(id + " is read as \"" + name.toStdString() + "\" but shows \"" +
                             caption->toStdString() + "\"");
        // A name given to a control without a caption is a text of the running language.
        if (!caption && !control->accessibleName().isEmpty() && !known.contains(name))
            faults.push_back(id + " is read as \"" + name.toStdString() +
                             "\", a text neither shown nor in the string table");
    }
    return faults;
}

std::filesystem::path TUiFixture::Grab(QWidget* widget, const std::filesystem::path& file) {
    std::filesystem::create_directories(file.parent_path());
    widget->grab().save(QString::fromStdString(file.string()));
    return file;
}

}  // namespace ps::test
