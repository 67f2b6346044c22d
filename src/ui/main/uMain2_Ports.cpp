// SPDX-License-Identifier: MIT
// The main window in local-port mode: local options, default scheme and the port box.
#include <QComboBox>
#include <QSignalBlocker>
#include <filesystem>

#include "app/Options.h"
#include "base/PathText.h"
#include "printer/Globals.h"
#include "printer/UtilPrinter.h"
#include "scheme/Scheme3.h"
#include "ui/common/ClockTimer.h"
#include "ui/common/QtUserInterface.h"
#include "ui/main/uMain2.h"

namespace ps::ui {
namespace {

bool SameText(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

// A relative path of the options file ("Scheme\QR-520_Settings.Dat") on this machine.
std::string NativeRelativePath(std::string path) {
    for (char& c : path) {
        if (c == '\\' || c == '/')
            c = static_cast<char>(std::filesystem::path::preferred_separator);
    }
    return path;
}

}  // namespace

void TfrmMainView2::LoadLocalOptions() {
    m_IniOptions = std::make_unique<TIniOptions>();
    m_IniOptions->LoadFromFile(LocalOptionsFile());
    std::string folder = PathToUtf8(ProgramFolder());
    if (!folder.empty() && folder.back() != std::filesystem::path::preferred_separator)
        folder += static_cast<char>(std::filesystem::path::preferred_separator);
    g_SchemeFile = folder + NativeRelativePath(m_IniOptions->SettingsDefaultScheme);
    auto scheme = std::make_unique<TSchemeOptions2>();
    scheme->LoadFromFile(g_SchemeFile);
    scheme->LoadPrinterMenu(g_SchemeFile);
    g_SchemeOptions = std::move(scheme);
}

void TfrmMainView2::RefreshPortList() {
    const std::string portText = m_IniOptions ? m_IniOptions->SettingsLocalPorts : std::string();
    BuildPortList(portText, &m_slPorts, &m_slLocalPortFile);
    for (std::string& name : m_slPorts) {
        if (name.find("USB") == std::string::npos) continue;
        const std::size_t dash = name.find(" - ");
        if (dash != std::string::npos) name = name.substr(dash + 3, 6);
    }
    {
        const QSignalBlocker quiet(cbbPrinterPort);
        cbbPrinterPort->clear();
        for (const std::string& name : m_slPorts) cbbPrinterPort->addItem(Q(name));
        int selected = -1;
        for (std::size_t i = 0; i < m_slLocalPortFile.size(); ++i) {
            if (SameText(m_slLocalPortFile[i], g_PrinterPort)) {
                selected = static_cast<int>(i);
                break;
            }
        }
        if (selected < 0) {
            for (std::size_t i = 0; i < m_slPorts.size(); ++i) {
                if (SameText(m_slPorts[i], "LPT1")) {
                    selected = static_cast<int>(i);
                    break;
                }
            }
        }
        cbbPrinterPort->setCurrentIndex(selected);
    }
    cbbPrinterPortChange();
}

void TfrmMainView2::cbbPrinterPortChange() {
    const int index = cbbPrinterPort->currentIndex();
    if (m_slLocalPortFile.empty() || index < 0 ||
        index >= static_cast<int>(m_slLocalPortFile.size()))
        return;
    g_PrinterPort = m_slLocalPortFile[static_cast<std::size_t>(index)];
}

void TfrmMainView2::tmrFreshPortTimer() {
    RefreshPortList();
}

}  // namespace ps::ui
