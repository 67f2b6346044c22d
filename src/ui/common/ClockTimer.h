// SPDX-License-Identifier: MIT
// A timer on the platform clock: fires when its interval has passed on Platform().Clock(), so
// a sped-up or virtual clock drives window timers as it drives the core's sleeps.
#pragma once

#include <QObject>
#include <QTimer>
#include <cstdint>

namespace ps::ui {

class TClockTimer : public QObject {
    Q_OBJECT
public:
    /// `pauseDuringExchanges`: does not fire while an exchange waits in ProcessMessages (the
    /// tick comes once that exchange is over).
    TClockTimer(QObject* parent, std::uint32_t intervalMs, bool pauseDuringExchanges = false);

    void SetInterval(std::uint32_t intervalMs) { m_iIntervalMs = intervalMs; }
    std::uint32_t Interval() const { return m_iIntervalMs; }
    /// Starts (again) from now.
    void Start();
    void Stop();
    bool Active() const { return m_bActive; }
    /// Compares the clock with the due time and fires when due. The real timer calls it;
    /// tests call it after moving a virtual clock on.
    void Poll();

signals:
    void timeout();

private:
    QTimer m_Poll;
    std::uint32_t m_iIntervalMs;
    std::uint64_t m_iDueMs = 0;
    bool m_bActive = false;
    bool m_bPause;
};

}  // namespace ps::ui
