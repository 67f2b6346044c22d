// SPDX-License-Identifier: MIT
// Reading the current values of chosen items as the windows read them: one page read over USB
// where the printer's port allows it, single-item reads through the port monitor otherwise.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "batch/SettingCatalog.h"

namespace ps {

class TSchemeOptions2;

/// How values are read from a printer.
struct TReadRoute {
    bool bByPage = false;  // whole pages through the worker by USB index
    std::int32_t iUSBPrinter = -1;
};

/// Page reads when the printer is usable (on-line) on a port whose name contains "USB" and the
/// vendor library lists it; single-item reads through the port monitor otherwise.
TReadRoute ChooseReadRoute(const std::string& printerName);

enum class TReadStatus {
    Read,      // the printer returned the value
    Absent,    // the printer answered without this item's value
    NoAnswer,  // the exchange failed; the printer did not answer
};

struct TItemReading {
    TItemRef ref;
    TReadStatus status = TReadStatus::NoAnswer;
    std::int32_t value = 0;  // when Read
};

/// Called after every exchange with the number done and the number planned.
using TReadProgress = std::function<void(std::size_t done, std::size_t total)>;

/// Reads the values of `refs` from g_PrinterName, in the order given. A page read stores the
/// values of its whole page as the items' ValueCurrent, as the main window's read does. Once an
/// exchange has gone unanswered no further one is tried: the items left are NoAnswer, so a
/// printer that stopped answering costs one time-out, not one per item. Pages of more than 255
/// items are read item by item. g_CurrentPage and g_CurrentItem are left as they were.
std::vector<TItemReading> ReadItemValues(TSchemeOptions2& scheme, const std::vector<TItemRef>& refs,
                                         const TReadRoute& route,
                                         const TReadProgress& progress = {});

}  // namespace ps
