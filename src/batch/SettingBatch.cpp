// SPDX-License-Identifier: MIT
// Several setting values in one enter/save bracket.
#include "batch/SettingBatch.h"

#include "base/Lib_String.h"
#include "platform/Platform.h"
#include "printer/Globals.h"
#include "scheme/Scheme3.h"
#include "scheme/ValueCodec.h"
#include "transport/UtilDataSend.h"

namespace ps {
namespace {

bool SendCommand(const TBytes& bytes) {
    std::int32_t noReply = 0;
    return PortMonitorExchange(g_PrinterName, bytes.data(), static_cast<std::int32_t>(bytes.size()),
                               nullptr, noReply);
}

}  // namespace

std::string BatchWriteCommandOf(const TSchemeOptions2& scheme,
                                const std::vector<TBatchValue>& values) {
    const TTagSections& sections = scheme.m_Sections;
    std::string text = sections.EnterInstruction;
    for (const TBatchValue& value : values) {
        TSettingItem item;
        if (!scheme.GetItem(value.ref.iPage, value.ref.iIndex, item))
            throw EConvertError("No item " + std::to_string(value.ref.iIndex) + " on page " +
                                std::to_string(value.ref.iPage));
        CheckValueFitsWidth(item.nParameterByte, value.value);
        text += ' ';
        text += ItemWriteText(item.SetInstruction, item.nParameterByte, value.value);
        text += ' ';
        text += sections.InstructionTail;
    }
    text += ' ';
    text += sections.SaveInstruction;
    return text;
}

std::vector<TBatchItemResult> WriteValuesAndConfirm(TSchemeOptions2& scheme,
                                                    const std::vector<TBatchValue>& values,
                                                    const TReadRoute& route,
                                                    const TReadProgress& progress,
                                                    TBatchSend* send) {
    const TBytes command = SpacedHexToBytes(BatchWriteCommandOf(scheme, values));
    if (command.size() > static_cast<std::size_t>(kMonitorDataCapacity))
        throw EConvertError("The write of " + std::to_string(values.size()) +
                            " values does not fit one command");
    const bool sent = SendCommand(command);
    const bool saveAlone =
        !sent && SendCommand(SpacedHexToBytes(scheme.m_Sections.SaveInstruction));
    if (send) *send = {sent, saveAlone};
    Platform().Clock().Sleep(scheme.m_Sections.SleepBeforeRead);

    std::vector<TItemRef> refs;
    for (const TBatchValue& value : values) refs.push_back(value.ref);
    // One value is read back alone, as the item dialog reads back its write.
    const TReadRoute readBack = values.size() > 1 ? route : TReadRoute{};
    const std::vector<TItemReading> readings = ReadItemValues(scheme, refs, readBack, progress);

    std::vector<TBatchItemResult> results;
    for (std::size_t i = 0; i < values.size(); ++i) {
        TBatchItemResult result;
        result.written = values[i];
        if (readings[i].status == TReadStatus::Read) result.readBack = readings[i].value;
        TSettingItem item;
        scheme.GetItem(values[i].ref.iPage, values[i].ref.iIndex, item);
        const bool same = result.readBack &&
                          SameValueBytes(item.nParameterByte, *result.readBack, values[i].value);
        if (same || (sent && scheme.m_Sections.AffirmReadDisable))
            result.outcome = TWriteOutcome::Confirmed;
        else
            result.outcome = sent ? TWriteOutcome::NotConfirmed : TWriteOutcome::SendFailed;
        results.push_back(result);
    }
    return results;
}

}  // namespace ps
