// SPDX-License-Identifier: MIT
// The per-printer read record ("ReadPrinter" of the per-printer INI, g_ReadCount, g_LastReadOk)
// and the switch it drives, written by the thread that ran a worker exchange, after the join.
#pragma once

namespace ps {

class TRWPrinter;

/// Records a finished worker exchange: counts the read, writes "Count" and "Last" when the port
/// opened, sets g_ReadCount and g_LastReadOk, and switches read-back confirmation off in
/// g_SchemeOptions after a failed read when the scheme asks for it (ReadOnLastFail = 0).
void RecordWorkerExchange(const TRWPrinter& worker);

}  // namespace ps
