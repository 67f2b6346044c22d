// SPDX-License-Identifier: MIT
// The per-printer read record, kept by the owner of a worker exchange.
#include "scheme/ReadRecord.h"

#include <cstdint>

#include "base/IniFile.h"
#include "base/IniWriter.h"
#include "printer/Globals.h"
#include "scheme/Scheme3.h"
#include "transport/ThreadRWPrinter.h"

namespace ps {
namespace {

// The per-printer record is plain ASCII; reading it needs no code page.
constexpr std::uint16_t kRecordLanguage = 0x0409;

}  // namespace

void RecordWorkerExchange(const TRWPrinter& worker) {
    std::int32_t count = 0;
    if (!g_PrinterIniFile.empty())
        count = TIniFile::FromFile(g_PrinterIniFile, kRecordLanguage)
                    .ReadInteger("ReadPrinter", "Count", 0);
    if (worker.m_bReadAttempted) ++count;
    // Both keys in one replacement of the file: one write per exchange, never half a record.
    if (worker.m_bPortOpened && !g_PrinterIniFile.empty())
        WriteIniStrings(g_PrinterIniFile, "ReadPrinter",
                        {{"Count", std::to_string(count)}, {"Last", worker.m_bResult ? "-1" : "0"}});
    g_ReadCount = count;
    g_LastReadOk = worker.m_bResult;
    if (!worker.m_bResult && g_SchemeOptions && g_SchemeOptions->m_Sections.ReadOnLastFail == 0 &&
        count >= 1)
        g_SchemeOptions->SetAffirmReadDisableStatus(true);
}

}  // namespace ps
