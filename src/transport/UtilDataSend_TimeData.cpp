// SPDX-License-Identifier: MIT
// Reading and seeding the "TimeData" record.
#include "transport/UtilDataSend_TimeData.h"

#include <algorithm>
#include <array>

#include "platform/Platform.h"
#include "transport/UtilDataSend.h"

namespace ps {

TTimeDataRecord ReadTimeDataRecord(const std::string& printerName) {
    TTimeDataRecord record;
    auto printer = Platform().Spooler().Open(printerName, TPrinterAccess::Full);
    if (!printer) return record;
    std::array<std::uint8_t, kTimeDataBufferSize> buffer{};
    std::uint32_t type = 0;
    std::uint32_t needed = 0;
    const TSysError error = printer->GetData("TimeData", type, buffer, needed);
    if (error == kErrorFileNotFound) {
        record.state = TTimeDataState::Missing;
        return record;
    }
    if (error == kErrorMoreData) {
        record.state = TTimeDataState::TooLong;
        return record;
    }
    if (error != kErrorSuccess) return record;
    record.state = TTimeDataState::Present;
    const std::size_t bytes = std::min<std::size_t>(needed, buffer.size());
    for (std::size_t i = 0; i + 1 < bytes; i += 2) {
        const char16_t c = static_cast<char16_t>(buffer[i] | (buffer[i + 1] << 8));
        if (c == 0) break;
        record.text.push_back(c);
    }
    return record;
}

bool SeedTimeDataRecord(const std::string& printerName) {
    const TTimeDataRecord record = ReadTimeDataRecord(printerName);
    // Longer than the buffer is certainly long enough: nothing to seed.
    if (record.state == TTimeDataState::Failed || record.state == TTimeDataState::TooLong)
        return false;
    if (record.state == TTimeDataState::Present && record.text.size() >= kTimeDataMinLength)
        return false;
    const std::u16string_view seed(kTimeDataSeed);
    return SetTimeData(printerName, seed, static_cast<std::uint32_t>(seed.size() * 2));
}

}  // namespace ps
