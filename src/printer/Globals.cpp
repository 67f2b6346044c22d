// SPDX-License-Identifier: MIT
// Storage of the process-wide state.
#include "printer/Globals.h"

#include "transport/ExchangeLock.h"

namespace ps {

std::string g_PrinterName;
std::uint8_t g_RunMode = kDefaultRunMode;
std::uint8_t g_CurrentPage = kDefaultRunMode;
std::int32_t g_CurrentItem = 0;
std::string g_PrinterPort;
std::string g_PrinterCacheBase;
std::string g_PrinterIniFile;
std::string g_SchemeFile;
std::string g_MenuFile;
bool g_MenuDownloaded = false;
std::int32_t g_ReadCount = 0;
bool g_LastReadOk = false;
std::string g_HeadSN;

void ResetGlobals() {
    g_PrinterName.clear();
    g_RunMode = kDefaultRunMode;
    g_CurrentPage = kDefaultRunMode;
    g_CurrentItem = 0;
    g_PrinterPort.clear();
    g_PrinterCacheBase.clear();
    g_PrinterIniFile.clear();
    g_SchemeFile.clear();
    g_MenuFile.clear();
    g_MenuDownloaded = false;
    g_ReadCount = 0;
    g_LastReadOk = false;
    g_HeadSN.clear();
    SetExchangeLock({});
}

}  // namespace ps
