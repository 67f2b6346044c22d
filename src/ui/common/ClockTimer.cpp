// SPDX-License-Identifier: MIT
// The timer on the platform clock.
#include "ui/common/ClockTimer.h"

#include "platform/Platform.h"
#include "ui/common/QtUserInterface.h"

namespace ps::ui {
namespace {
constexpr int kPollMs = 20;  // real milliseconds between looks at the clock
}

TClockTimer::TClockTimer(QObject* parent, std::uint32_t intervalMs, bool pauseDuringExchanges)
    : QObject(parent), m_iIntervalMs(intervalMs), m_bPause(pauseDuringExchanges) {
    m_Poll.setInterval(kPollMs);
    connect(&m_Poll, &QTimer::timeout, this, &TClockTimer::Poll);
}

void TClockTimer::Start() {
    m_iDueMs = Platform().Clock().NowMs() + m_iIntervalMs;
    m_bActive = true;
    m_Poll.start();
}

void TClockTimer::Stop() {
    m_bActive = false;
    m_Poll.stop();
}

void TClockTimer::Poll() {
    if (!m_bActive) return;
    if (m_bPause) {
        if (TQtUserInterface* qt = TQtUserInterface::Installed(); qt && qt->Pumping()) return;
    }
    const std::uint64_t now = Platform().Clock().NowMs();
    if (now < m_iDueMs) return;
    // One tick however late: a timer that could not fire does not fire several times after.
    m_iDueMs = now + m_iIntervalMs;
    emit timeout();
}

}  // namespace ps::ui
