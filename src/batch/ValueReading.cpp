// SPDX-License-Identifier: MIT
// Reading the current values of chosen items.
#include "batch/ValueReading.h"

#include <algorithm>

#include "printer/Globals.h"
#include "printer/UtilPrinter.h"
#include "scheme/Scheme3.h"

namespace ps {
namespace {

// The item count of a page read is one byte.
constexpr std::size_t kMaxPageReadItems = 255;

// Puts the current item back when the reads are done.
class TCurrentItemKeeper {
public:
    TCurrentItemKeeper() : m_iPage(g_CurrentPage), m_iItem(g_CurrentItem) {}
    ~TCurrentItemKeeper() {
        g_CurrentPage = m_iPage;
        g_CurrentItem = m_iItem;
    }
    TCurrentItemKeeper(const TCurrentItemKeeper&) = delete;
    TCurrentItemKeeper& operator=(const TCurrentItemKeeper&) = delete;

private:
    std::uint8_t m_iPage;
    std::int32_t m_iItem;
};

TReadStatus ReadSingle(TSchemeOptions2& scheme, const TItemRef& ref, std::int32_t& value) {
    g_CurrentPage = ref.iPage;
    g_CurrentItem = ref.iIndex;
    std::int32_t read = ValueAbsent;  // no reply decodes to it
    if (!scheme.GetItemValueFromPrinter(read)) return TReadStatus::NoAnswer;
    if (read == ValueAbsent) return TReadStatus::Absent;
    value = read;
    return TReadStatus::Read;
}

bool PageReadable(const TSchemeOptions2& scheme, std::uint8_t page) {
    const ArrSettingItems* items = scheme.PageItems(page);
    return items && items->size() <= kMaxPageReadItems;
}

}  // namespace

TReadRoute ChooseReadRoute(const std::string& printerName) {
    std::string port;
    bool online = false;
    if (!GetPrinterPortInfo(printerName, port, online) || !online ||
        port.find("USB") == std::string::npos)
        return {};
    const int index = FindUSBPrinterIndex(port);
    if (index < 0) return {};
    return {true, index};
}

std::vector<TItemReading> ReadItemValues(TSchemeOptions2& scheme, const std::vector<TItemRef>& refs,
                                         const TReadRoute& route, const TReadProgress& progress) {
    const TCurrentItemKeeper keeper;
    std::vector<TItemReading> readings;
    for (const TItemRef& ref : refs) readings.push_back({ref, TReadStatus::NoAnswer, 0});

    // The pages read whole, in the order their items first appear; every other item alone.
    std::vector<std::uint8_t> pages;
    std::size_t singles = 0;
    for (const TItemRef& ref : refs) {
        if (route.bByPage && PageReadable(scheme, ref.iPage)) {
            if (std::find(pages.begin(), pages.end(), ref.iPage) == pages.end())
                pages.push_back(ref.iPage);
        } else {
            ++singles;
        }
    }
    const std::size_t total = pages.size() + singles;
    std::size_t done = 0;
    bool answering = true;
    auto step = [&] {
        ++done;
        if (progress) progress(done, total);
    };

    for (std::uint8_t page : pages) {
        if (!answering) break;
        answering = scheme.GetPrinterValues_ForPage(route.iUSBPrinter, page);
        step();
        if (!answering) break;
        for (TItemReading& reading : readings) {
            if (reading.ref.iPage != page) continue;
            TSettingItem item;
            scheme.GetItem(page, reading.ref.iIndex, item);
            reading.status =
                item.ValueCurrent == ValueAbsent ? TReadStatus::Absent : TReadStatus::Read;
            reading.value = item.ValueCurrent;
        }
    }
    for (TItemReading& reading : readings) {
        if (!answering) break;
        const bool byPage = std::find(pages.begin(), pages.end(), reading.ref.iPage) != pages.end();
        if (byPage) continue;
        reading.status = ReadSingle(scheme, reading.ref, reading.value);
        answering = reading.status != TReadStatus::NoAnswer;
        step();
    }
    return readings;
}

}  // namespace ps
