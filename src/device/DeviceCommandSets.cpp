// SPDX-License-Identifier: MIT
// The command-set table.
#include "device/DeviceCommandSets.h"

#include <vector>

namespace ps {
namespace {

// Mode parameters of the read and print commands: the 6A3C family counts up from draft, the
// other sets count down from it; both print mode 6 with 5.
constexpr TInkModeBytes kReadUp = {0, 1, 2, 3, 5, 6};
constexpr TInkModeBytes kReadDown = {3, 2, 1, 3, 5, 6};
constexpr TInkModeBytes kPrintUp = {0, 1, 2, 3, 5, 5};
constexpr TInkModeBytes kPrintDown = {3, 2, 1, 3, 5, 5};
constexpr TInkModeBytes kResult = {0, 1, 2, 3, 5, 6};

constexpr TInkModeCodes kWriteUp = {"00", "01", "02", "", "", ""};
constexpr TInkModeCodes kWriteAll = {"00", "01", "02", "03", "05", "06"};
constexpr TInkModeCodes kWriteDown = {"03", "02", "01", "", "", ""};

TDeviceCommandSet Row(std::string_view code, TInkAdjustLayout layout, const TInkModeBytes& read,
                      const TInkModeBytes& print, const TInkModeCodes& write) {
    TDeviceCommandSet row;
    row.code = code;
    row.inkLayout = layout;
    row.inkReadMode = read;
    row.inkPrintMode = print;
    row.inkResultMode = kResult;
    row.inkWriteCode = write;
    return row;
}

const std::vector<TDeviceCommandSet>& Table() {
    static const std::vector<TDeviceCommandSet> table = [] {
        using L = TInkAdjustLayout;
        std::vector<TDeviceCommandSet> rows;
        rows.push_back(Row("6A3C", L::ThreeModes, kReadUp, kPrintUp, kWriteUp));

        TDeviceCommandSet r6B21 = Row("6B21", L::ThreeModes, kReadUp, kPrintUp, kWriteUp);
        r6B21.bTotalPagesOnly = true;
        rows.push_back(r6B21);

        TDeviceCommandSet r6B22 = Row("6B22", L::FiveModes, kReadUp, kPrintUp, kWriteAll);
        r6B22.bInkScaleIsValue = true;
        r6B22.bDryingTimeInSteps = true;
        r6B22.bFeedPerMode = true;
        rows.push_back(r6B22);

        // Prints its check pattern as the 6A3C family, reads and writes as the others.
        rows.push_back(Row("6B58", L::ThreeModes, kReadDown, kPrintUp, kWriteDown));

        TDeviceCommandSet r7E40 = Row("7E40", L::ThreeModes, kReadDown, kPrintDown, kWriteDown);
        r7E40.bInkAdjustHalved = true;
        r7E40.bTotalPagesOnly = true;
        rows.push_back(r7E40);

        TDeviceCommandSet r7D05 = Row("7D05", L::ThreeModes, kReadDown, kPrintDown, kWriteDown);
        r7D05.bInkAdjustHalved = true;
        rows.push_back(r7D05);

        rows.push_back(Row("4E17", L::TwoModes, kReadDown, kPrintDown, kWriteDown));

        TDeviceCommandSet r5C90 = Row("5C90", L::ThreeModes, kReadDown, kPrintDown, kWriteDown);
        r5C90.bTotalPagesOnly = true;
        rows.push_back(r5C90);

        // Every other set, last.
        rows.push_back(Row("", L::ThreeModes, kReadDown, kPrintDown, kWriteDown));
        return rows;
    }();
    return table;
}

}  // namespace

const TDeviceCommandSet& DeviceCommandSet(std::string_view settingCommand) {
    const auto& table = Table();
    for (const TDeviceCommandSet& row : table)
        if (!row.code.empty() && row.code == settingCommand) return row;
    return table.back();
}

std::uint8_t ModeByte(const TInkModeBytes& table, int mode) {
    return mode >= 1 && mode <= kInkModeCount ? table[static_cast<std::size_t>(mode - 1)] : 0;
}

std::string_view ModeCode(const TInkModeCodes& table, int mode) {
    return mode >= 1 && mode <= kInkModeCount ? table[static_cast<std::size_t>(mode - 1)]
                                              : std::string_view();
}

}  // namespace ps
