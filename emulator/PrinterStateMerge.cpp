// SPDX-License-Identifier: MIT
// Merging a printer's changes with the state another process stored.
#include "PrinterState.h"

namespace ps::emu {
namespace {

template <typename T>
void Take(const T& base, const T& ours, T& disk) {
    if (!(ours == base)) disk = ours;
}

template <typename K, typename V>
void TakeEntries(const std::map<K, V>& base, const std::map<K, V>& ours, std::map<K, V>& disk) {
    for (const auto& [key, value] : ours) {
        auto was = base.find(key);
        if (was == base.end() || !(was->second == value)) disk[key] = value;
    }
}

// A counter that only grows adds what it grew by here; one that went back (a new ink box
// starts its count again) takes our reading.
void AddIncrease(std::uint32_t base, std::uint32_t ours, std::uint32_t& disk) {
    if (ours >= base)
        disk += ours - base;
    else
        disk = ours;
}

}  // namespace

void MergeState(const TPrinterState& base, const TPrinterState& ours, bool bClockSet,
                TPrinterState& disk) {
    TakeEntries(base.values, ours.values, disk.values);
    const TDeviceRegisters& b = base.registers;
    const TDeviceRegisters& o = ours.registers;
    TDeviceRegisters& d = disk.registers;
    Take(b.dryingTime, o.dryingTime, d.dryingTime);
    Take(b.alignment, o.alignment, d.alignment);
    Take(b.alignmentByte, o.alignmentByte, d.alignmentByte);
    TakeEntries(b.feedModes, o.feedModes, d.feedModes);
    TakeEntries(b.inkAdjust, o.inkAdjust, d.inkAdjust);

    AddIncrease(base.totalPages, ours.totalPages, disk.totalPages);
    AddIncrease(base.inkBoxPages, ours.inkBoxPages, disk.inkBoxPages);
    for (const auto& [name, count] : ours.counters) {
        auto was = base.counters.find(name);
        AddIncrease(was == base.counters.end() ? 0 : was->second, count, disk.counters[name]);
    }

    Take(base.bScreenLocked, ours.bScreenLocked, disk.bScreenLocked);
    Take(base.bPaperBoxLocked, ours.bPaperBoxLocked, disk.bPaperBoxLocked);
    Take(base.headSerial, ours.headSerial, disk.headSerial);
    Take(base.changeMode, ours.changeMode, disk.changeMode);

    const bool bOtherClock =
        disk.bClockKnown && base.bClockKnown && disk.clockSeconds != base.clockSeconds;
    if (bClockSet || !bOtherClock) {
        disk.clockSeconds = ours.clockSeconds;
        disk.bClockKnown = ours.bClockKnown;
    }
}

}  // namespace ps::emu
