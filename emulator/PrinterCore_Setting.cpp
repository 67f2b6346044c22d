// SPDX-License-Identifier: MIT
// Setting mode: enter, item writes, save, and the value replies of single-item and page reads.
#include <algorithm>

#include "PrinterCore.h"
#include "base/Lib_String.h"

namespace ps::emu {
namespace {

const TBytes kDefaultEnter = {0x1B, 0x1D, 0x1E, 0x05, 0x01, 0x1B, 0x1D, 0x1F};
const TBytes kDefaultSave = {0x1B, 0x1D, 0x1E, 0x05, 0x02, 0x1B, 0x1D, 0x1F};
const TBytes kDefaultReadClass = {0x1B, 0x1D, 0x1E, 0x05, 0x03};

bool Equal(std::span<const std::uint8_t> a, const TBytes& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin());
}

bool StartsWith(std::span<const std::uint8_t> a, const TBytes& head) {
    return a.size() >= head.size() && std::equal(head.begin(), head.end(), a.begin());
}

std::string Code(int code) {
    char buf[4];
    std::snprintf(buf, sizeof buf, "%02X", code & 0xFF);
    return buf;
}

}  // namespace

std::int32_t TPrinterCore::ValueOf(const TSchemeItem& item) const {
    auto it = m_State.values.find(*item.code);
    return it == m_State.values.end() ? item.defaultValue : it->second;
}

TBytes TPrinterCore::ValueReply(std::span<const std::uint8_t> codes) const {
    // Head, count, entries of code, length and value bytes, tail. Codes the printer does
    // not know are left out.
    TBytes reply = m_Scheme.replyHead;
    reply.push_back(0);
    std::uint8_t count = 0;
    for (std::uint8_t code : codes) {
        const TSchemeItem* item = m_Scheme.FindByCode(code);
        if (!item || count == 0xFF) continue;
        const TBytes value = EncodeItemValue(ValueOf(*item), item->width);
        reply.push_back(code);
        reply.push_back(static_cast<std::uint8_t>(value.size()));
        reply.insert(reply.end(), value.begin(), value.end());
        ++count;
    }
    reply[5] = count;
    reply.insert(reply.end(), m_Scheme.tail.begin(), m_Scheme.tail.end());
    return reply;
}

bool TPrinterCore::ObeySetting(std::span<const std::uint8_t> frame) {
    if (Equal(frame, m_Scheme.enter) || Equal(frame, kDefaultEnter)) {
        if (m_Staged) Event("enter while in setting mode: unsaved writes dropped");
        m_Staged.emplace();
        Event("enter setting mode");
        return true;
    }
    if (Equal(frame, m_Scheme.save) || Equal(frame, kDefaultSave)) {
        if (!m_Staged) {
            Event("save outside setting mode ignored");
            return true;
        }
        for (const auto& [code, value] : *m_Staged) m_State.values[code] = value;
        Event("save: " + std::to_string(m_Staged->size()) + " value(s) committed");
        if (!m_Staged->empty()) Changed();
        m_Staged.reset();
        return true;
    }
    for (const TBytes* cls :
         std::initializer_list<const TBytes*>{&m_Scheme.readClass, &kDefaultReadClass}) {
        if (cls->size() <= sizeof(kFrameStart) || !StartsWith(frame, *cls)) continue;
        const std::size_t tail = m_Scheme.tail.size();
        if (frame.size() < cls->size() + 1 + tail) continue;
        auto codes = frame.subspan(cls->size() + 1, frame.size() - cls->size() - 1 - tail);
        const std::size_t announced = frame[cls->size()];
        if (codes.size() > announced) codes = codes.first(announced);
        Reply(ValueReply(codes));
        return true;
    }
    return false;
}

bool TPrinterCore::ObeyItemWrite(std::span<const std::uint8_t> frame) {
    const std::size_t tail = m_Scheme.tail.size();
    const TSchemeItem* best = nullptr;
    for (const TSchemeItem& item : m_Scheme.items) {
        if (!item.code || item.setHead.size() <= sizeof(kFrameStart)) continue;
        if (frame.size() != item.setHead.size() + static_cast<std::size_t>(item.width) + tail)
            continue;
        if (!StartsWith(frame, item.setHead)) continue;
        if (!best || item.setHead.size() > best->setHead.size()) best = &item;
    }
    if (!best) return false;
    auto valueBytes = frame.subspan(best->setHead.size(), static_cast<std::size_t>(best->width));
    const std::int32_t value = *DecodeItemValueBytes(valueBytes);
    if (!m_Staged) {
        // A printer takes setting writes only between enter and save.
        Event("write of " + Code(*best->code) + " outside setting mode ignored");
        return true;
    }
    (*m_Staged)[*best->code] = value;
    Event("write " + Code(*best->code) + "=" + std::to_string(value));
    return true;
}

}  // namespace ps::emu
