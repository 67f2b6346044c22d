// SPDX-License-Identifier: MIT
// Writing several setting values in one enter/save bracket and confirming each by reading it
// back, for the command-line tool and any window that sets more than one item at a time.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "batch/SettingCatalog.h"
#include "batch/ValueReading.h"
#include "scheme/SettingWrite.h"

namespace ps {

class TSchemeOptions2;

struct TBatchValue {
    TItemRef ref;
    std::int32_t value = 0;
};

/// "Enter", then per value "SetInstruction XX.. Tail", then "Save": every write of the batch
/// between one enter and one save, as one command text. For a single value it is the item
/// dialog's write command. Throws EConvertError for a value its item's width cannot carry or
/// an item that does not exist.
std::string BatchWriteCommandOf(const TSchemeOptions2& scheme,
                                const std::vector<TBatchValue>& values);

struct TBatchItemResult {
    TBatchValue written;
    TWriteOutcome outcome = TWriteOutcome::SendFailed;
    std::optional<std::int32_t> readBack;  // what the printer holds after the write, when read
};

/// How the bracket went out: whole, or not, and then whether the save instruction sent alone
/// after it got out (the printer then left setting mode).
struct TBatchSend {
    bool bBracketSent = false;
    bool bSaveSentAlone = false;
};

/// Sends the batch to g_PrinterName through the port monitor in one piece. When that send
/// fails, the save instruction goes alone after it, so a printer that took part of the batch
/// does not stay in setting mode. Then waits SleepBeforeRead and reads every value back: a
/// single value alone through the port monitor, as the item dialog does, several by `route`, as
/// the group dialog reads its page again. Each value is Confirmed when it reads back as written
/// (or, once sent, when the scheme's AffirmReadDisable is set), NotConfirmed when sent but read
/// back otherwise or not at all, SendFailed when the send failed and the printer does not hold it.
/// Throws EConvertError as BatchWriteCommandOf, and for a command the port-monitor block cannot
/// carry, before anything is sent. `send`, when given, learns how the bracket went out.
std::vector<TBatchItemResult> WriteValuesAndConfirm(TSchemeOptions2& scheme,
                                                    const std::vector<TBatchValue>& values,
                                                    const TReadRoute& route,
                                                    const TReadProgress& progress = {},
                                                    TBatchSend* send = nullptr);

}  // namespace ps
