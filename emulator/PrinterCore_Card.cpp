// SPDX-License-Identifier: MIT
// Card and passbook paper types: the fixed items of the card-type group and the passbook
// height measurement.
#include <algorithm>

#include "PrinterCore.h"

namespace ps::emu {
namespace {

constexpr std::uint8_t kTopMargin = 0x4B;
constexpr std::uint8_t kLeftMargin = 0x0A;
constexpr std::uint8_t kCopies = 0x0F;
constexpr std::uint8_t kPageHeight = 0x4D;
constexpr std::uint8_t kMeasuredHeight = 0x4E;

struct TCardItem {
    std::uint8_t code;
    TBytes setHead;
    int width;
    std::int32_t defaultValue;
};

}  // namespace

void TPrinterCore::AddCardTypeItems(TSchemeTable& scheme) {
    // The card-type dialog writes these codes with fixed commands whatever the scheme calls
    // them. A code the scheme defines keeps its width and factory value for reads; the fixed
    // command is added as a second way to write it.
    const TCardItem kItems[] = {
        {kTopMargin, {0x1B, 0x1D, 0x1E, 0x04, 0x13}, 2, 0},
        {kPageHeight, {0x1B, 0x1D, 0x1E, 0x00, 0x1A}, 2, 0},
        {kLeftMargin, {0x1B, 0x1D, 0x1E, 0x00, 0x0B}, 1, 0},
        {kCopies, {0x1B, 0x1D, 0x1E, 0x00, 0x10}, 1, 7},
        {kMeasuredHeight, {}, 2, 0},
    };
    for (const TCardItem& card : kItems) {
        const bool bHeadTaken =
            !card.setHead.empty() &&
            std::any_of(scheme.items.begin(), scheme.items.end(),
                        [&](const TSchemeItem& item) { return item.setHead == card.setHead; });
        const bool bCodeKnown = scheme.FindByCode(card.code) != nullptr;
        if (bCodeKnown && (bHeadTaken || card.setHead.empty())) continue;
        TSchemeItem item;
        item.section = "card type";
        item.code = card.code;
        if (!bHeadTaken) item.setHead = card.setHead;
        item.width = card.width;
        item.defaultValue = card.defaultValue;
        scheme.items.push_back(std::move(item));
    }
}

bool TPrinterCore::ObeyCard(std::span<const std::uint8_t> body) {
    static const TBytes kMeasure = {0x00, 0x1B, 0x00, 0x00};
    if (body.size() != kMeasure.size() ||
        !std::equal(kMeasure.begin(), kMeasure.end(), body.begin()))
        return false;
    m_MeasureDoneAt = m_Clock.NowMs() + m_Options.measureMs;
    Event("passbook measurement started");
    return true;
}

void TPrinterCore::FinishMeasurement() {
    m_State.values[kMeasuredHeight] = m_Options.passbookHeight;
    Count("PassbookMeasurements");
    Event("passbook measured: " + std::to_string(m_Options.passbookHeight) + "/60 inch");
}

}  // namespace ps::emu
