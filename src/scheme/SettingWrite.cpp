// SPDX-License-Identifier: MIT
// Setting writes and their confirmation.
#include "scheme/SettingWrite.h"

#include <string>

#include "platform/Platform.h"
#include "printer/Globals.h"
#include "scheme/Scheme3.h"
#include "scheme/ValueCodec.h"
#include "transport/UtilDataSend.h"

namespace ps {
bool ValueFitsWidth(std::uint32_t nParameterByte, std::int32_t value) {
    switch (nParameterByte) {
        case 1:
            return value >= -128 && value <= 255;
        case 2:
            return value >= -0x7FFF && value <= 0x7FFF;
        case 3:
            return value >= 0 && value <= 0xFFFFFF;
        default:
            return false;
    }
}

void CheckValueFitsWidth(std::uint32_t nParameterByte, std::int32_t value) {
    if (ValueFitsWidth(nParameterByte, value)) return;
    throw EConvertError("The value " + std::to_string(value) + " cannot be written in " +
                        std::to_string(nParameterByte) + " byte(s)");
}

bool SameValueBytes(std::uint32_t nParameterByte, std::int32_t a, std::int32_t b) {
    return ValueToBytes(nParameterByte, a) == ValueToBytes(nParameterByte, b);
}

std::optional<std::int32_t> ReadCurrentItemValue(TSchemeOptions2& scheme) {
    // No reply decodes to ValueAbsent, so it still being there means no value came.
    std::int32_t value = ValueAbsent;
    if (!scheme.GetItemValueFromPrinter(value) || value == ValueAbsent) return std::nullopt;
    return value;
}

TItemWriteResult WriteItemAndConfirm(TSchemeOptions2& scheme, const TBytes& command,
                                     std::int32_t expected, std::uint32_t nParameterByte) {
    TItemWriteResult result;
    std::int32_t noReply = 0;
    if (!PortMonitorExchange(g_PrinterName, command.data(),
                             static_cast<std::int32_t>(command.size()), nullptr, noReply))
        return result;
    Platform().Clock().Sleep(scheme.m_Sections.SleepBeforeRead);
    result.readBack = ReadCurrentItemValue(scheme);
    const bool same = result.readBack && SameValueBytes(nParameterByte, *result.readBack, expected);
    result.outcome = same || scheme.m_Sections.AffirmReadDisable ? TWriteOutcome::Confirmed
                                                                 : TWriteOutcome::NotConfirmed;
    return result;
}

TPageConfirm ConfirmPageValues(TSchemeOptions2& scheme, std::int32_t iUSBPrinter,
                               std::uint8_t iPage, const std::vector<TWrittenValue>& written) {
    if (scheme.m_Sections.AffirmReadDisable) return TPageConfirm::Confirmed;
    Platform().Clock().Sleep(scheme.m_Sections.SleepBeforeRead);
    if (!scheme.GetPrinterValues_ForPage(iUSBPrinter, iPage))
        return scheme.m_Sections.AffirmReadDisable ? TPageConfirm::Confirmed
                                                   : TPageConfirm::Unreadable;
    for (const TWrittenValue& value : written) {
        TSettingItem item;
        if (!scheme.GetItem(iPage, value.iIndex, item)) return TPageConfirm::NotConfirmed;
        if (item.ValueCurrent == ValueAbsent) return TPageConfirm::Unreadable;
        if (!SameValueBytes(item.nParameterByte, item.ValueCurrent, value.value))
            return TPageConfirm::NotConfirmed;
    }
    return TPageConfirm::Confirmed;
}

}  // namespace ps
