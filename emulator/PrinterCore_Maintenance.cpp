// SPDX-License-Identifier: MIT
// Ink maintenance: cleanings, the nozzle check, and the head and ink box changes with their
// status bytes over time.
#include <algorithm>

#include "PrinterCore.h"

namespace ps::emu {
namespace {

constexpr std::uint8_t kStatusCleaning = 0x2A;
constexpr std::uint8_t kStatusHeadChange = 0x2C;
constexpr std::uint8_t kStatusBoxChange = 0x2E;

bool Is(std::span<const std::uint8_t> body, std::initializer_list<std::uint8_t> bytes) {
    return body.size() == bytes.size() && std::equal(bytes.begin(), bytes.end(), body.begin());
}

}  // namespace

bool TPrinterCore::ObeyMaintenance(std::span<const std::uint8_t> body) {
    if (Is(body, {0x10, 0x01})) {
        Count("HeadCleanings");
        StartActivity(TActivity::Cleaning, kStatusCleaning, m_Options.cleanMs);
        return true;
    }
    if (Is(body, {0x10, 0x02})) {
        Count("DeepCleanings");
        StartActivity(TActivity::Cleaning, kStatusCleaning, m_Options.deepCleanMs);
        return true;
    }
    if (Is(body, {0x10, 0x06})) {
        Count("RollerCleanings");
        StartActivity(TActivity::Cleaning, kStatusCleaning, m_Options.rollerCleanMs);
        return true;
    }
    if (body.size() == 3 && body[0] == 0x10 && body[1] == 0x09) {
        Count("NozzleChecks");
        m_bPageContent = true;
        return true;
    }
    if (Is(body, {0x11, 0x13, 0x00})) {
        Event("head change prepared");
        return true;
    }
    if (Is(body, {0x11, 0x13, 0x01})) {
        if (m_State.changeMode == TChangeMode::Head) SetChangeMode(TChangeMode::None);
        Event("head change closed");
        return true;
    }
    if (Is(body, {0x10, 0x03})) {
        SetChangeMode(TChangeMode::Head);
        Event("head change started");
        return true;
    }
    if (Is(body, {0x10, 0x05})) {
        // Starts an ink box change, or performs it when one was started.
        if (m_State.changeMode == TChangeMode::Box) {
            Count("InkBoxChanges");
            SetChangeMode(TChangeMode::None);
        } else {
            SetChangeMode(TChangeMode::Box);
        }
        StartActivity(TActivity::BoxChange, kStatusBoxChange, m_Options.boxChangeMs);
        return true;
    }
    if (Is(body, {0x10, 0x07})) {
        if (m_State.changeMode == TChangeMode::Head) {
            Count("HeadChanges");
            StartActivity(TActivity::HeadChange, kStatusHeadChange, m_Options.headChangeMs);
        } else if (m_State.changeMode == TChangeMode::Box) {
            Count("InkBoxChanges");
            StartActivity(TActivity::BoxChange, kStatusBoxChange, m_Options.boxChangeMs);
        } else {
            Event("change execute without a started change ignored");
        }
        SetChangeMode(TChangeMode::None);
        return true;
    }
    if (Is(body, {0x10, 0x08})) {
        SetChangeMode(TChangeMode::None);
        if (m_Activity == TActivity::HeadChange || m_Activity == TActivity::BoxChange)
            m_Activity = TActivity::None;
        Event("change aborted");
        return true;
    }
    if (body.size() == 3 && body[0] == 0x12 && body[1] == 0x33 && body[2] == 0x04) {
        // The installed head's serial number, 16 characters padded with blanks.
        TBytes reply = {0x1B, 0x1D, 0x1E, 0x12, 0x33, 0x04};
        std::string serial = m_State.headSerial.substr(0, 16);
        serial.resize(16, ' ');
        reply.insert(reply.end(), serial.begin(), serial.end());
        reply.insert(reply.end(), {0x1B, 0x1D, 0x1F});
        Reply(std::move(reply));
        return true;
    }
    if (body.size() == 27 && body[0] == 0x11 && body[1] == 0x33 && body[2] == 0x04) {
        // 16 characters of serial number, blank-padded, then eight zero bytes.
        std::string serial(body.begin() + 3, body.begin() + 19);
        while (!serial.empty() && (serial.back() == ' ' || serial.back() == '\0'))
            serial.pop_back();
        for (char& c : serial)
            if (c < 0x20 || c > 0x7E || c == '"') c = '?';
        m_State.headSerial = serial;
        Changed();
        Event("head serial number " + serial);
        return true;
    }
    return false;
}

void TPrinterCore::FinishActivity(TActivity activity) {
    if (activity == TActivity::BoxChange) {
        // A new ink box starts its own page count.
        m_State.inkBoxPages = 0;
        Changed();
    }
    Event("status back to idle");
    const bool change = activity == TActivity::HeadChange || activity == TActivity::BoxChange;
    if (change && m_Options.noInkBoxAfterChange && !m_bInkBoxGone) {
        m_bInkBoxGone = true;
        Event("no ink box after the change");
    }
}

void TPrinterCore::SetChangeMode(TChangeMode mode) {
    if (m_State.changeMode == mode) return;
    m_State.changeMode = mode;
    Changed();
    Event(std::string("change mode ") +
          (mode == TChangeMode::None ? "left" : mode == TChangeMode::Head ? "head" : "box"));
}

}  // namespace ps::emu
