// SPDX-License-Identifier: MIT
// Device functions: page counters, drying time, alignment, feed precision, ink adjustment,
// locks, the printer clock, the firmware version and the test patterns.
#include <algorithm>

#include "PrinterCore.h"

namespace ps::emu {
namespace {

bool Is(std::span<const std::uint8_t> body, std::initializer_list<std::uint8_t> bytes) {
    return body.size() == bytes.size() && std::equal(bytes.begin(), bytes.end(), body.begin());
}

bool Starts(std::span<const std::uint8_t> body, std::initializer_list<std::uint8_t> bytes) {
    return body.size() >= bytes.size() && std::equal(bytes.begin(), bytes.end(), body.begin());
}

// A reply frame: start, the command's own bytes, the data, the tail.
TBytes Framed(std::initializer_list<std::uint8_t> head, const TBytes& data) {
    TBytes reply = {0x1B, 0x1D, 0x1E};
    reply.insert(reply.end(), head.begin(), head.end());
    reply.insert(reply.end(), data.begin(), data.end());
    reply.insert(reply.end(), {0x1B, 0x1D, 0x1F});
    return reply;
}

TBytes Le(std::uint32_t v, int n) {
    TBytes out;
    for (int i = 0; i < n; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    return out;
}

}  // namespace

TDeviceRegisters& TPrinterCore::StagedRegisters() {
    if (!m_StagedRegisters) m_StagedRegisters = m_State.registers;
    return *m_StagedRegisters;
}

bool TPrinterCore::ObeyDevice(std::span<const std::uint8_t> body) {
    const TDeviceRegisters& r = m_State.registers;
    // Reads.
    if (Is(body, {0x12, 0x01})) {
        Reply(m_Options.firmware);  // version and date bytes, no frame
        return true;
    }
    if (body.size() == 4 && Starts(body, {0x12, 0x02, 0x01})) {
        const std::uint8_t mode = body[3];
        auto it = r.inkAdjust.find(mode);
        Reply(Framed({0x12, 0x02, 0x01, mode},
                     {it == r.inkAdjust.end() ? std::uint8_t{0} : it->second}));
        return true;
    }
    if (body.size() == 3 && Starts(body, {0x12, 0x07})) {
        const std::uint8_t sub = body[2];
        std::uint32_t value = 0;
        if (sub == 0x02) value = m_State.inkBoxPages;
        if (sub == 0x05) value = m_State.totalPages;
        Reply(Framed({0x12, 0x07, sub}, Le(value, 4)));
        return true;
    }
    if (Is(body, {0x12, 0x09})) {
        Reply(Framed({0x12, 0x09}, Le(r.dryingTime, 2)));
        return true;
    }
    if (Is(body, {0x12, 0x0E})) {
        Reply(Framed({0x12, 0x0E}, Le(PrinterSeconds(), 4)));
        return true;
    }
    if (Is(body, {0x12, 0x14, 0x00})) {
        Reply(Framed({0x12, 0x14, 0x00}, Le(static_cast<std::uint16_t>(r.alignment), 2)));
        return true;
    }
    if (Is(body, {0x12, 0x16, 0x00})) {
        Reply(Framed({0x12, 0x16, 0x00}, {r.alignmentByte}));
        return true;
    }
    if (body.size() == 4 && Starts(body, {0x12, 0x16, 0x00})) {
        const std::uint8_t mode = body[3];
        auto it = r.feedModes.find(mode);
        Reply(Framed({0x12, 0x16, 0x00, mode},
                     {it == r.feedModes.end() ? std::uint8_t{0} : it->second}));
        return true;
    }

    // Register writes wait for the commit 10 00 01.
    if (Is(body, {0x10, 0x00, 0x00})) {
        if (m_StagedRegisters) Event("device write begun again: uncommitted writes dropped");
        m_StagedRegisters = m_State.registers;
        return true;
    }
    if (Is(body, {0x10, 0x00, 0x01})) {
        if (!m_StagedRegisters) {
            Event("commit without device writes");
            return true;
        }
        if (!(*m_StagedRegisters == m_State.registers)) Changed();
        m_State.registers = *m_StagedRegisters;
        m_StagedRegisters.reset();
        Event("device writes committed");
        return true;
    }
    if (body.size() == 4 && Starts(body, {0x11, 0x1D})) {
        StagedRegisters().dryingTime = static_cast<std::uint16_t>(body[2] | (body[3] << 8));
        return true;
    }
    if (body.size() == 4 && Starts(body, {0x11, 0x31, 0x00})) {
        // One byte: the signed step of both alignment registers.
        TDeviceRegisters& staged = StagedRegisters();
        staged.alignmentByte = body[3];
        staged.alignment = static_cast<std::int8_t>(body[3]);
        return true;
    }
    if (body.size() == 5 && Starts(body, {0x11, 0x31, 0x00})) {
        // Command set 6B22 writes a feed mode and its step; the others a 16-bit alignment.
        TDeviceRegisters& staged = StagedRegisters();
        if (m_Scheme.settingCommand == "6B22")
            staged.feedModes[body[3]] = body[4];
        else
            staged.alignment = static_cast<std::int16_t>(body[3] | (body[4] << 8));
        return true;
    }

    // The printer clock: 10 1D sets the value, 11 01 applies it.
    if (body.size() == 6 && Starts(body, {0x10, 0x1D})) {
        m_PendingClock = static_cast<std::uint32_t>(body[2] | (body[3] << 8) | (body[4] << 16) |
                                                    (static_cast<std::uint32_t>(body[5]) << 24));
        return true;
    }
    if (Is(body, {0x11, 0x01})) {
        if (!m_PendingClock) {
            Event("clock apply without a clock value ignored");
            return true;
        }
        m_dwClockBase = *m_PendingClock;
        m_qwClockBaseMs = m_Clock.NowMs();
        m_PendingClock.reset();
        m_bClockSet = true;
        Changed();
        Event("clock set to " + std::to_string(m_dwClockBase));
        return true;
    }

    // Locks.
    if (Is(body, {0x10, 0x38, 0x02, 0x05, 0x1E})) {
        m_State.bScreenLocked = false;
        Changed();
        Event("screen unlocked");
        return true;
    }
    if (Is(body, {0x10, 0x38, 0x01, 0x04})) {
        m_State.bPaperBoxLocked = false;
        Changed();
        Event("paper box unlocked");
        return true;
    }
    if (Is(body, {0x10, 0x38, 0x01, 0x03})) {
        m_State.bPaperBoxLocked = true;
        Changed();
        Event("paper box locked");
        return true;
    }

    // Test patterns and text lines print on the current page.
    if (body.size() == 4 && Starts(body, {0x10, 0x10}) && (body[2] == 0x01 || body[2] == 0x02)) {
        Count(body[2] == 0x01 ? "InkAdjustPatterns" : "InkAdjustResults");
        m_bPageContent = true;
        return true;
    }
    if ((body.size() == 3 || body.size() == 4) && Starts(body, {0x10, 0x25, 0x00})) {
        Count("AlignmentPatterns");
        m_bPageContent = true;
        return true;
    }
    if (body.size() >= 4 && Starts(body, {0x10, 0x15}) &&
        body.size() == 4 + static_cast<std::size_t>(body[2] | (body[3] << 8))) {
        m_bPageContent = true;
        return true;
    }
    return false;
}

bool TPrinterCore::ObeyInkAdjustWrite(std::span<const std::uint8_t> frame) {
    // The adjustment item's set command, the mode code and the value.
    const std::size_t tail = m_Scheme.tail.size();
    for (const TSchemeItem& item : m_Scheme.items) {
        if (item.icon != "Ink_Adjust" || item.setHead.size() <= sizeof(kFrameStart)) continue;
        if (frame.size() != item.setHead.size() + 2 + tail) continue;
        if (!std::equal(item.setHead.begin(), item.setHead.end(), frame.begin())) continue;
        const std::uint8_t mode = frame[item.setHead.size()];
        StagedRegisters().inkAdjust[mode] = frame[item.setHead.size() + 1];
        return true;
    }
    return false;
}

}  // namespace ps::emu
