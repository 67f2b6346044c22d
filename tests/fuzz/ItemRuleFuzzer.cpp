// SPDX-License-Identifier: MIT
// Fuzz target: an item's rule (ENUM or SERIAL text) takes any bytes. The expansion must give as
// many titles as values, never more values than the SERIAL limit, and fail only with our own
// conversion error.
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "scheme/Scheme3.h"

using ps::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ps::fuzz::InstallFuzzEnvironment();
    if (size == 0) return 0;
    // The first byte picks the rule type (in varying letter case) and the value width.
    const char* const types[] = {"ENUM", "SERIAL", "enum", "Serial", "ENUMS", ""};
    ps::TSettingItem item;
    item.RuleType = types[data[0] % 6];
    item.nParameterByte = 1 + (data[0] >> 4) % 3;
    item.Title = "Fuzzed";
    item.RuleString.assign(reinterpret_cast<const char*>(data) + 1, size - 1);
    try {
        ps::ParseItemRule(item, "BaseItem01");
    } catch (const ps::EConvertError&) {
        return 0;
    }
    Check(item.nRuleValueCount == item.RuleValues.RuleValue.size());
    Check(item.RuleValues.RuleTitle.size() == item.RuleValues.RuleValue.size());
    Check(item.RuleValues.RuleValue.size() <= static_cast<std::size_t>(ps::kMaxSerialRuleValues));
    return 0;
}
