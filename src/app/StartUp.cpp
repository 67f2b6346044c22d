// SPDX-License-Identifier: MIT
// The start-up sequence.
#include "app/StartUp.h"

#include <filesystem>
#include <system_error>

#include "app/CommandLine.h"
#include "app/PrinterSession.h"
#include "base/PathText.h"
#include "localisation/Scheme.h"
#include "platform/Platform.h"
#include "platform/UserInterface.h"
#include "printer/Globals.h"
#include "scheme/Scheme3.h"

namespace ps {
namespace {

constexpr std::uint8_t kRunModeItemDialog = 1;
constexpr std::uint8_t kRunModeValuesReport = 101;
constexpr std::uint8_t kRunModeMenuRefresh = 102;

bool FileExists(const std::string& path) {
    std::error_code ec;
    return !path.empty() && std::filesystem::is_regular_file(PathFromUtf8(path), ec);
}

void ShowMenuMissing() {
    ShowMessage(nullptr, g_GlobalString.ErrorTitle, g_GlobalString.ReadPrinterFailRetry,
                TMessageIcon::Error);
}

// Steps 5-12: printer, paths, scheme and menu. False when start-up must end.
bool PreparePrinter(const TCommandLine& line) {
    g_CurrentPage = line.iRunMode;
    g_CurrentItem = line.iItem;
    g_RunMode = g_CurrentPage;
    SetUpPrinterPaths(line.strPrinterName);
    return LoadPrinterScheme() == TPrinterCheck::Ready;
}

int RefreshMenu() {
    if (g_SchemeOptions->m_Sections.MenuVersion == 1 && !g_MenuDownloaded)
        g_SchemeOptions->GetPrinterMenuResources();
    if (!FileExists(g_MenuFile)) {
        ShowMenuMissing();
        return kExitNoResult;
    }
    return kExitDone;
}

int WriteValuesReport() {
    g_SchemeOptions->CreatePrinterValuesIni_ForPage(kPageBaseReport);
    return FileExists(g_PrinterCacheBase) ? kExitDone : kExitNoResult;
}

}  // namespace

int RunStartUp(const std::vector<std::string>& args, TWindowFactory& windows) {
    if (Platform().SingleInstance().FindWindowClass(kMainWindowClass)) return kExitSecondInstance;

    g_MenuDownloaded = false;
    g_PrinterName.clear();
    g_CurrentPage = kDefaultRunMode;
    g_RunMode = kDefaultRunMode;
    g_CurrentItem = 0;

    const TCommandLine line = ParseCommandLine(args);
    try {
        if (line.bHasArguments && !PreparePrinter(line)) return kExitStartRefused;
        if (CheckPrinterIdle() != TPrinterCheck::Ready) return kExitStartRefused;
        switch (g_RunMode) {
            case kRunModeItemDialog:
                return windows.RunItemDialog();
            case kRunModeValuesReport:
                return WriteValuesReport();
            case kRunModeMenuRefresh:
                return RefreshMenu();
            default:
                return windows.RunMainWindow();
        }
    } catch (const std::exception& e) {
        // Errors nobody handled on the way (a scheme that cannot be loaded, a conversion
        // error) end the program with their text, as the framework's error box would.
        ShowMessage(nullptr, "Printer Settings", e.what(), TMessageIcon::Error);
        return kExitStartRefused;
    }
}

}  // namespace ps
