// SPDX-License-Identifier: MIT
// The start-up checks for one printer.
#include "app/PrinterSession.h"

#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <system_error>

#include "app/CommandLine.h"
#include "base/IniFile.h"
#include "base/PathText.h"
#include "localisation/Scheme.h"
#include "localisation/WaitingTexts.h"
#include "maintenance/ActionChecks.h"
#include "platform/Platform.h"
#include "platform/UserInterface.h"
#include "printer/Globals.h"
#include "printer/UtilPrinter.h"
#include "scheme/Scheme3.h"
#include "transport/ExchangeLock.h"

namespace ps {
namespace {

bool FileExists(const std::string& path) {
    std::error_code ec;
    return !path.empty() && std::filesystem::is_regular_file(PathFromUtf8(path), ec);
}

// The printer's name as the spooler spells it (names compare without regard to letter case),
// or the name as given when the spooler cannot say.
std::string SpoolerSpelling(const std::string& printerName) {
    if (printerName.empty()) return printerName;
    auto printer = Platform().Spooler().Open(printerName, TPrinterAccess::Default);
    const auto info = printer ? printer->GetInfo2() : std::nullopt;
    return info && !info->printerName.empty() ? info->printerName : printerName;
}

// One lock per device the printer reaches, so two printers (or queues) on one device share it;
// where the spooler cannot name the device, the printer's own.
std::string LockFile(const std::string& printerName, const std::string& folder,
                     const std::string& fileName) {
    const auto device = Platform().Spooler().GetDeviceKey(printerName);
    if (!device) return folder + fileName + ".lock";
    const std::string locks = folder + "locks" + kPathDelimiter;
    std::error_code ec;
    std::filesystem::create_directories(locks, ec);  // a failure shows as the lock's failure
    return locks + PrinterFileName(*device) + ".lock";
}

void ShowMenuMissing() {
    ShowMessage(nullptr, g_GlobalString.ErrorTitle, g_GlobalString.ReadPrinterFailRetry,
                TMessageIcon::Error);
}

}  // namespace

void SetUpPrinterPaths(const std::string& printerName) {
    g_PrinterName = printerName;
    const std::string temp = Platform().Kernel().GetTempPath();
    // A temporary folder that is not safe to use (a planted link) ends the start.
    if (temp.empty()) throw std::runtime_error(ThreadLastErrorText());
    const std::string folder = PrinterCacheFolder(temp);
    std::error_code ec;
    std::filesystem::create_directories(PathFromUtf8(folder), ec);  // a failure shows later as defaults
    const std::string fileName = PrinterFileName(SpoolerSpelling(printerName));
    g_PrinterCacheBase = folder + fileName;
    g_PrinterIniFile = g_PrinterCacheBase + ".ini";
    const TWaitingTexts texts = WaitingWindowTexts(g_PrinterName);
    SetExchangeLock({LockFile(printerName, folder, fileName), texts.caption, texts.text});
}

TPrinterCheck LoadPrinterScheme() {
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
        return TPrinterCheck::MenuVersionUnknown;
    }

    if (!FileExists(g_MenuFile)) {
        g_SchemeOptions->GetPrinterMenuResources();
        g_MenuDownloaded = true;
    }
    if (!FileExists(g_MenuFile)) {
        ShowMenuMissing();
        return TPrinterCheck::MenuMissing;
    }
    g_SchemeOptions->LoadPrinterMenu(g_MenuFile);

    const TIniFile printerIni = TIniFile::FromFile(g_PrinterIniFile);
    g_ReadCount = printerIni.ReadInteger("ReadPrinter", "Count", 0);
    g_LastReadOk = printerIni.ReadInteger("ReadPrinter", "Last", 0) != 0;
    return TPrinterCheck::Ready;
}

TPrinterCheck CheckPrinterIdle() {
    if (!Platform().Spooler().Open(g_PrinterName, TPrinterAccess::Default))
        return TPrinterCheck::NotOpened;
    // A queue that cannot be listed may hold jobs: it is refused like a queue that does.
    if (PrinterQueueState(g_PrinterName) != TQueueState::Empty) {
        ShowMessage(nullptr, g_GlobalString.HintTitle, g_GlobalString.mPrintQueue,
                    TMessageIcon::Error);
        return TPrinterCheck::JobsQueued;
    }
    return TPrinterCheck::Ready;
}

}  // namespace ps
