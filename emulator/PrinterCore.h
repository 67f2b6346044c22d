// SPDX-License-Identifier: MIT
// The emulated printer's behaviour without any file access: commands in, replies, status and
// state out. TEmulatedDevice wraps it with locking, logs and persistence.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "EmulatorOptions.h"
#include "Frames.h"
#include "ItemTable.h"
#include "PrinterState.h"
#include "ReplyQueue.h"
#include "platform/Platform.h"

namespace ps::emu {

enum class TRouteKind { Monitor, Usb, Port, Job, Other };

/// A route as commands.log names it: "monitor", "usb", "port" or "job NAME".
struct TRoute {
    TRouteKind kind = TRouteKind::Other;
    std::string jobName;  // for a job
};
TRoute ParseRoute(std::string_view route);

/// Everything the printer is made of.
struct TCoreSetup {
    TSchemeTable scheme;
    TEmulatorOptions options;
    std::optional<TBytes> menu;  // the menu file it serves; none: it answers T = 0
    std::string modelName;
    std::uint32_t replyDelayMs = 0;
    bool bMute = false;
    std::uint8_t idleStatus = 0x00;
    TPrinterState state;
};

/// Not thread-safe; the owner locks.
class TPrinterCore {
public:
    TPrinterCore(TCoreSetup setup, TClock& clock);
    TPrinterCore(const TPrinterCore&) = delete;
    TPrinterCore& operator=(const TPrinterCore&) = delete;

    /// One transmission. Framed commands are obeyed in order. Replies go to the reply queue,
    /// except for jobs (a spooled job has no one reading its answers). On the byte stream
    /// "port" a frame may span transmissions; every other transmission is whole.
    void Receive(const TRoute& route, std::span<const std::uint8_t> data);

    TBytes TakeReply(std::size_t max);
    bool ReplyPending() const { return m_Replies.Pending(); }
    std::uint8_t StatusByte();

    /// The state to persist, with the printer clock as it reads now.
    TPrinterState Snapshot();
    /// True once after each change of persistent state.
    bool TakeDirty();
    /// True once after the printer clock was set (by 11 01), not merely run on.
    bool TakeClockSet();
    /// What happened since the last call, one line each (for events.log and tests).
    std::vector<std::string> TakeEvents();

    const TSchemeTable& Scheme() const { return m_Scheme; }
    const TEmulatorOptions& Options() const { return m_Options; }

private:
    enum class TActivity { None, Cleaning, HeadChange, BoxChange };

    // PrinterCore.cpp: dispatch, replies, time.
    void Advance();
    void ObeyFrame(std::span<const std::uint8_t> frame);
    void ObeyLoose(std::span<const std::uint8_t> bytes, TRouteKind kind);
    void Reply(TBytes bytes);
    void ReplyTransfer(TBytes bytes);
    void Event(const std::string& text);
    void Changed() { m_bDirty = true; }
    void Count(const std::string& counter);
    void EjectPage();
    void StartActivity(TActivity activity, std::uint8_t status, std::uint32_t ms);
    TFrameParser MakeParser() const;
    void LengthsFor(std::span<const std::uint8_t> body, std::vector<std::size_t>& lengths) const;
    std::uint32_t PrinterSeconds();

    // PrinterCore_Setting.cpp: enter, save, item writes and value reads.
    bool ObeySetting(std::span<const std::uint8_t> frame);
    bool ObeyItemWrite(std::span<const std::uint8_t> frame);
    TBytes ValueReply(std::span<const std::uint8_t> codes) const;
    std::int32_t ValueOf(const TSchemeItem& item) const;

    // PrinterCore_Menu.cpp: model query and menu request.
    bool ObeyMenu(std::span<const std::uint8_t> body);

    // PrinterCore_Maintenance.cpp: cleaning, nozzle check, head and ink box change.
    bool ObeyMaintenance(std::span<const std::uint8_t> body);
    void FinishActivity(TActivity activity);
    void SetChangeMode(TChangeMode mode);

    // PrinterCore_Device.cpp: counters, drying time, alignment, feed, ink adjustment, locks,
    // clock, firmware, test patterns.
    bool ObeyDevice(std::span<const std::uint8_t> body);
    bool ObeyInkAdjustWrite(std::span<const std::uint8_t> frame);
    TDeviceRegisters& StagedRegisters();

    // PrinterCore_Card.cpp: card-type items and the passbook measurement.
    static void AddCardTypeItems(TSchemeTable& scheme);
    bool ObeyCard(std::span<const std::uint8_t> body);
    void FinishMeasurement();

    TClock& m_Clock;
    TSchemeTable m_Scheme;
    TEmulatorOptions m_Options;
    std::optional<TBytes> m_Menu;
    std::string m_strModelName;
    std::uint32_t m_dwReplyDelayMs;
    bool m_bMute;
    std::uint32_t m_nRepliesSent = 0;  // for MuteAfterReplies
    std::uint8_t m_byIdleStatus;
    TPrinterState m_State;

    TFrameParser m_PortParser;  // "port" is a byte stream: frames may span transmissions
    TReplyQueue m_Replies;
    bool m_bReplies = true;  // the current transmission's replies are kept
    bool m_bDirty = false;
    bool m_bClockSet = false;
    bool m_bPageContent = false;  // something printed since the last page end
    std::vector<std::string> m_Events;

    std::optional<std::map<int, std::int32_t>> m_Staged;  // setting mode: writes not yet saved
    std::optional<TDeviceRegisters> m_StagedRegisters;    // device writes not yet committed
    std::optional<std::uint32_t> m_PendingClock;          // clock value waiting for 11 01

    TActivity m_Activity = TActivity::None;
    std::uint8_t m_byActivityStatus = 0;
    std::uint64_t m_qwActivityUntil = 0;
    bool m_bInkBoxGone = false;  // NoInkBoxAfterChange: a change has ended
    std::optional<std::uint64_t> m_MeasureDoneAt;

    std::uint32_t m_dwClockBase = 0;  // printer seconds at m_qwClockBaseMs
    std::uint64_t m_qwClockBaseMs = 0;
};

}  // namespace ps::emu
