// SPDX-License-Identifier: MIT
// The emulated printer: routes, frame dispatch, replies, status over time.
#include "PrinterCore.h"

#include <algorithm>
#include <chrono>

#include "base/Lib_String.h"

namespace ps::emu {
namespace {

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

// Events carry at most this many bytes of a command.
constexpr std::size_t kShownBytes = 48;
constexpr std::size_t kMaxEvents = 1000;

std::string Shown(std::span<const std::uint8_t> bytes) {
    std::string text = BytesToSpacedHex(bytes.data(), std::min(bytes.size(), kShownBytes));
    if (bytes.size() > kShownBytes) text += " ...";
    return text;
}

}  // namespace

TRoute ParseRoute(std::string_view route) {
    if (route == "monitor") return {TRouteKind::Monitor, {}};
    if (route == "usb") return {TRouteKind::Usb, {}};
    if (route == "port") return {TRouteKind::Port, {}};
    if (route == "job") return {TRouteKind::Job, {}};
    if (StartsWith(route, "job ")) return {TRouteKind::Job, std::string(route.substr(4))};
    return {TRouteKind::Other, {}};
}

TFrameParser TPrinterCore::MakeParser() const {
    return TFrameParser(m_Scheme.tail,
                        [this](std::span<const std::uint8_t> body,
                               std::vector<std::size_t>& lengths) { LengthsFor(body, lengths); });
}

TPrinterCore::TPrinterCore(TCoreSetup setup, TClock& clock)
    : m_Clock(clock),
      m_Scheme(std::move(setup.scheme)),
      m_Options(std::move(setup.options)),
      m_Menu(std::move(setup.menu)),
      m_strModelName(std::move(setup.modelName)),
      m_dwReplyDelayMs(setup.replyDelayMs),
      m_bMute(setup.bMute),
      m_byIdleStatus(setup.idleStatus),
      m_State(std::move(setup.state)),
      m_PortParser(MakeParser()),
      m_Replies(4 * kReadAllLimit) {
    AddCardTypeItems(m_Scheme);
    // Items without a remembered value start from their factory value.
    for (const TSchemeItem* item : m_Scheme.CodedItems())
        m_State.values.emplace(*item->code, item->defaultValue);

    m_qwClockBaseMs = m_Clock.NowMs();
    if (m_State.bClockKnown) {
        m_dwClockBase = m_State.clockSeconds;
    } else if (m_Options.clockSeconds) {
        m_dwClockBase = static_cast<std::uint32_t>(*m_Options.clockSeconds);
    } else {
        m_dwClockBase =
            static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::seconds>(
                                           std::chrono::system_clock::now().time_since_epoch())
                                           .count());
    }
}

std::uint32_t TPrinterCore::PrinterSeconds() {
    const std::uint64_t elapsed = m_Clock.NowMs() - m_qwClockBaseMs;
    return m_dwClockBase + static_cast<std::uint32_t>(elapsed / 1000);
}

void TPrinterCore::Receive(const TRoute& route, std::span<const std::uint8_t> data) {
    Advance();
    m_bReplies = route.kind != TRouteKind::Job;
    // A new command on a request channel supersedes answers nobody read; a byte stream
    // ("port") keeps them, as does a printer configured to.
    if ((route.kind == TRouteKind::Usb || route.kind == TRouteKind::Monitor) &&
        !m_Options.keepStaleReplies && m_Replies.Pending() && !data.empty()) {
        m_Replies.Clear();
        Event("unread replies dropped");
    }
    std::vector<TSegment> segments;
    if (route.kind == TRouteKind::Port) {
        segments = m_PortParser.Feed(data, false);
    } else {
        TFrameParser parser = MakeParser();
        segments = parser.Feed(data, true);
    }
    for (const TSegment& segment : segments) {
        if (segment.bFrame)
            ObeyFrame(segment.bytes);
        else
            ObeyLoose(segment.bytes, route.kind);
    }
    if (route.kind == TRouteKind::Job && m_bPageContent) EjectPage();
    m_bReplies = true;
}

void TPrinterCore::ObeyFrame(std::span<const std::uint8_t> frame) {
    const std::size_t tail = m_Scheme.tail.size();
    auto body = frame.subspan(sizeof(kFrameStart), frame.size() - sizeof(kFrameStart) - tail);
    // An answer set up for this command comes first.
    if (auto answer = m_Options.answers.find(TBytes(body.begin(), body.end()));
        answer != m_Options.answers.end()) {
        Reply(answer->second);
        return;
    }
    if (ObeySetting(frame) || ObeyMenu(body) || ObeyMaintenance(body) || ObeyDevice(body) ||
        ObeyCard(body) || ObeyInkAdjustWrite(frame) || ObeyItemWrite(frame))
        return;
    Event("unknown command " + Shown(frame));
}

void TPrinterCore::ObeyLoose(std::span<const std::uint8_t> bytes, TRouteKind kind) {
    if (bytes.empty()) return;
    if (kind == TRouteKind::Job) {
        // A job's data is printed; the job's end ends its page.
        m_bPageContent = true;
        return;
    }
    // Outside a job a form feed ends a page.
    for (std::uint8_t b : bytes) {
        if (b == 0x0C)
            EjectPage();
        else
            m_bPageContent = true;
    }
}

void TPrinterCore::EjectPage() {
    ++m_State.totalPages;
    ++m_State.inkBoxPages;
    m_bPageContent = false;
    Changed();
}

void TPrinterCore::Reply(TBytes bytes) {
    if (!m_bReplies || m_bMute) return;
    if (m_Options.muteAfterReplies && m_nRepliesSent >= *m_Options.muteAfterReplies) {
        m_bMute = true;  // stops answering for the rest of its run, as if unplugged mid-way
        Event("stopped answering after " + std::to_string(m_nRepliesSent) + " replies");
        return;
    }
    ++m_nRepliesSent;
    if (!m_Options.noise.empty())
        bytes.insert(bytes.begin(), m_Options.noise.begin(), m_Options.noise.end());
    ReplyTransfer(std::move(bytes));
}

void TPrinterCore::ReplyTransfer(TBytes bytes) {
    if (!m_bReplies || m_bMute) return;
    if (!m_Options.allowLargeReplies && bytes.size() > kReadAllLimit) {
        Event("reply of " + std::to_string(bytes.size()) + " bytes cut to the read buffer");
        bytes.resize(kReadAllLimit);
    }
    m_Replies.Push(std::move(bytes), m_Clock.NowMs() + m_dwReplyDelayMs);
}

TBytes TPrinterCore::TakeReply(std::size_t max) {
    Advance();
    return m_Replies.Take(max, m_Clock.NowMs());
}

void TPrinterCore::Event(const std::string& text) {
    if (m_Events.size() >= kMaxEvents) m_Events.erase(m_Events.begin());
    m_Events.push_back(std::to_string(m_Clock.NowMs()) + " " + text);
}

std::vector<std::string> TPrinterCore::TakeEvents() {
    std::vector<std::string> events;
    events.swap(m_Events);
    return events;
}

void TPrinterCore::Count(const std::string& counter) {
    ++m_State.counters[counter];
    Changed();
}

bool TPrinterCore::TakeDirty() {
    Advance();
    const bool dirty = m_bDirty;
    m_bDirty = false;
    return dirty;
}

bool TPrinterCore::TakeClockSet() {
    const bool set = m_bClockSet;
    m_bClockSet = false;
    return set;
}

TPrinterState TPrinterCore::Snapshot() {
    Advance();
    TPrinterState state = m_State;
    state.clockSeconds = PrinterSeconds();
    state.bClockKnown = true;
    return state;
}

void TPrinterCore::StartActivity(TActivity activity, std::uint8_t status, std::uint32_t ms) {
    m_Activity = activity;
    m_byActivityStatus = status;
    m_qwActivityUntil = m_Clock.NowMs() + ms;
    char buf[64];
    std::snprintf(buf, sizeof buf, "status %02X for %u ms", status, static_cast<unsigned>(ms));
    Event(buf);
}

void TPrinterCore::Advance() {
    const std::uint64_t now = m_Clock.NowMs();
    if (m_Activity != TActivity::None && now >= m_qwActivityUntil) {
        const TActivity done = m_Activity;
        m_Activity = TActivity::None;
        FinishActivity(done);
    }
    if (m_MeasureDoneAt && now >= *m_MeasureDoneAt) {
        m_MeasureDoneAt.reset();
        FinishMeasurement();
    }
}

std::uint8_t TPrinterCore::StatusByte() {
    Advance();
    if (m_Options.busy) return 0x1F;
    if (m_Activity != TActivity::None) return m_byActivityStatus;
    if (m_Options.noInkBox || m_bInkBoxGone) return 0x39;
    return m_byIdleStatus;
}

void TPrinterCore::LengthsFor(std::span<const std::uint8_t> body,
                              std::vector<std::size_t>& lengths) const {
    auto is = [&](std::initializer_list<std::uint8_t> head) {
        return body.size() >= head.size() && std::equal(head.begin(), head.end(), body.begin());
    };
    auto headMatches = [&](const TBytes& head) {
        if (head.size() < sizeof(kFrameStart) ||
            !std::equal(std::begin(kFrameStart), std::end(kFrameStart), head.begin()))
            return false;
        const std::size_t n = head.size() - sizeof(kFrameStart);
        return body.size() >= n &&
               std::equal(head.begin() + sizeof(kFrameStart), head.end(), body.begin());
    };
    // Value reads: class, count, that many codes.
    const TBytes& cls = m_Scheme.readClass;
    if (cls.size() > sizeof(kFrameStart) && headMatches(cls)) {
        const std::size_t n = cls.size() - sizeof(kFrameStart);
        if (body.size() > n) lengths.push_back(n + 1 + body[n]);
    }
    if (is({0x05, 0x03}) && body.size() > 2) lengths.push_back(3 + body[2]);
    if (is({0x04, 0x0F}) && body.size() > 2) lengths.push_back(3 + body[2]);  // model query
    if (is({0x10, 0x15}) && body.size() > 3)  // a text line with its length
        lengths.push_back(4 + static_cast<std::size_t>(body[2] | (body[3] << 8)));
    if (is({0x10, 0x1D})) lengths.push_back(6);         // clock value
    if (is({0x11, 0x33, 0x04})) lengths.push_back(27);  // head serial number
    if (is({0x11, 0x1D})) lengths.push_back(4);         // drying time
    if (is({0x11, 0x31, 0x00})) {                       // alignment and feed
        lengths.push_back(4);
        lengths.push_back(5);
    }
    for (const TSchemeItem& item : m_Scheme.items) {
        if (item.setHead.size() <= sizeof(kFrameStart) || !headMatches(item.setHead)) continue;
        const std::size_t head = item.setHead.size() - sizeof(kFrameStart);
        if (item.icon == "Ink_Adjust") lengths.push_back(head + 2);
        if (item.code) lengths.push_back(head + static_cast<std::size_t>(item.width));
    }
}

}  // namespace ps::emu
