// SPDX-License-Identifier: MIT
// The start-up sequence.
#include "app/StartUp.h"

#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <system_error>

#include "app/CommandLine.h"
#include "base/IniFile.h"
#include "localisation/Scheme.h"
#include "platform/Platform.h"
#include "platform/UserInterface.h"
#include "printer/Globals.h"
#include "printer/UtilPrinter.h"
#include "scheme/Scheme3.h"

namespace ps {
namespace {

constexpr std::uint8_t kRunModeItemDialog = 1;
constexpr std::uint8_t kRunModeValuesReport = 101;
constexpr std::uint8_t kRunModeMenuRefresh = 102;

bool FileExists(const std::string& path) {
    std::error_code ec;
    return !path.empty() && std::filesystem::is_regular_file(path, ec);
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
    g_PrinterName = line.strPrinterName;

    const std::string temp = Platform().Kernel().GetTempPath();
    // A temporary folder that is not safe to use (a planted link) ends the start.
    if (temp.empty()) throw std::runtime_error(ThreadLastErrorText());
    const std::string folder = PrinterCacheFolder(temp);
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);  // a failure shows later as defaults
    g_PrinterCacheBase = folder + PrinterFileName(g_PrinterName);
    g_PrinterIniFile = g_PrinterCacheBase + ".ini";

    g_SchemeOptions = std::make_unique<TSchemeOptions2>();
    FindDriverSchemeFile(g_PrinterName, g_SchemeFile);
    g_SchemeOptions->LoadFromFile(g_SchemeFile);

    const std::int32_t menuVersion = g_SchemeOptions->m_Sections.MenuVersion;
    if (menuVersion == 0) {
        g_MenuFile = g_SchemeFile;
    } else if (menuVersion == 1) {
        g_MenuFile = g_PrinterCacheBase + ".DAT";
    } else {
        char text[128];
        std::snprintf(text, sizeof text,
                      "\xE5\xBD\x93\xE5\x89\x8D\xE7\x89\x88\xE6\x9C\xAC\xE3\x80\x90%d\xE3\x80\x91"
                      "\xE7\x9A\x84\xE8\x8F\x9C\xE5\x8D\x95\xE6\xB2\xA1\xE6\x9C\x89\xE5\xAE\x9E"
                      "\xE7\x8E\xB0\xEF\xBC\x81",
                      menuVersion);
        ShowMessage(nullptr, g_GlobalString.ErrorTitle, text, TMessageIcon::Error);
        return false;
    }

    if (!FileExists(g_MenuFile)) {
        g_SchemeOptions->GetPrinterMenuResources();
        g_MenuDownloaded = true;
    }
    if (!FileExists(g_MenuFile)) {
        ShowMenuMissing();
        return false;
    }
    g_SchemeOptions->LoadPrinterMenu(g_MenuFile);

    const TIniFile printerIni = TIniFile::FromFile(g_PrinterIniFile);
    g_ReadCount = printerIni.ReadInteger("ReadPrinter", "Count", 0);
    g_LastReadOk = printerIni.ReadInteger("ReadPrinter", "Last", 0) != 0;
    return true;
}

// Steps 13-14: the printer must open and have no queued jobs.
bool PrinterIsIdle() {
    auto printer = Platform().Spooler().Open(g_PrinterName, TPrinterAccess::Default);
    if (!printer) return false;
    auto jobs = printer->GetJobs(0, 10);
    if (jobs && !jobs->empty()) {
        ShowMessage(nullptr, g_GlobalString.HintTitle, g_GlobalString.mPrintQueue,
                    TMessageIcon::Error);
        return false;
    }
    return true;
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
        if (!PrinterIsIdle()) return kExitStartRefused;
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
