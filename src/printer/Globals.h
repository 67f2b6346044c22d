// SPDX-License-Identifier: MIT
// The process-wide state set by the start-up sequence and read by every window and dialog.
// Plain data only, so the core (worker, exchanges, menu download) can reach it too.
#pragma once

#include <cstdint>
#include <string>

namespace ps {

inline constexpr std::uint8_t kDefaultRunMode = 100;

extern std::string g_PrinterName;       // printer name from the command line
extern std::uint8_t g_RunMode;          // fixed after start
extern std::uint8_t g_CurrentPage;      // page code of the item list being worked on
extern std::int32_t g_CurrentItem;      // index of the current item in that page
extern std::string g_PrinterPort;       // port shared by the main window and the dialogs
extern std::string g_PrinterCacheBase;  // cache folder + printer file name, no extension
extern std::string g_PrinterIniFile;    // g_PrinterCacheBase + ".ini"
extern std::string g_SchemeFile;        // the driver's scheme file (or the local default)
extern std::string g_MenuFile;          // the file the item menu is loaded from
extern bool g_MenuDownloaded;           // the menu was downloaded during this start
extern std::int32_t g_ReadCount;        // "ReadPrinter"/"Count" of the per-printer INI
extern bool g_LastReadOk;               // "ReadPrinter"/"Last" of the per-printer INI
extern std::string g_HeadSN;            // print head serial number accepted by its dialog

/// Puts every value back to its state before start-up (tests run several start-ups), the
/// exchange lock's file included.
void ResetGlobals();

}  // namespace ps
