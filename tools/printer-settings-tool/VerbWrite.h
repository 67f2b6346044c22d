// SPDX-License-Identifier: MIT
// Writing values for the "set" and "import" verbs and reporting each one's outcome.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "VerbSession.h"
#include "batch/SettingBatch.h"

namespace ps::tool {

/// What a rule holds, for messages: "0=Off, 1=On", "18..90 in steps of 3" or, for flags,
/// "flags 1=Paper, 2=Cover (joined by +)".
std::string RuleSummary(const TSettingItem& item);

/// Writes `values` in one enter/save bracket and confirms each (dry run: sends nothing and
/// shows the bytes it would send), then reports: the document (`header`, the verb's header and
/// any members of its own) gets "dryRun", "command" and one "items" entry per value with its
/// outcome, and "previous" when `previous` holds what the printer had. Exit code: done when every
/// value was confirmed (or dry run), unreachable otherwise, with the values written and not written
/// named on standard error.
int WriteAndReport(TPrinterSession& session, const json& header,
                   const std::vector<TBatchValue>& values,
                   const std::vector<std::optional<std::int32_t>>& previous, bool dryRun,
                   bool asJson, TVerbIo& io);

}  // namespace ps::tool
