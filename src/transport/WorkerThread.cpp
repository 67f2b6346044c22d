// SPDX-License-Identifier: MIT
// One-shot worker threads and the owner's message-pumping wait.
#include "transport/WorkerThread.h"

#include <chrono>

#include "platform/Platform.h"
#include "platform/UserInterface.h"

namespace ps {

TWorkerThread::~TWorkerThread() {
    WaitFor();
}

void TWorkerThread::Start() {
    std::lock_guard lock(m_Mutex);
    if (m_bStarted) return;
    m_bStarted = true;
    m_Thread = std::thread([this] { Run(); });
}

void TWorkerThread::Run() {
    std::exception_ptr error;
    try {
        Execute();
    } catch (...) {
        error = std::current_exception();
    }
    {
        std::lock_guard lock(m_Mutex);
        m_FatalException = error;
        m_bFinished = true;
    }
    m_Done.notify_all();
}

bool TWorkerThread::Finished() const {
    std::lock_guard lock(m_Mutex);
    return m_bFinished;
}

bool TWorkerThread::WaitFinished(std::uint32_t ms) {
    TClock& clock = Platform().Clock();
    auto* scaled = dynamic_cast<TScaledClock*>(&clock);
    if (!scaled) {
        // A clock of unknown pace: plain polling with its own sleep.
        if (!Finished()) clock.Sleep(ms);
        return Finished();
    }
    auto realWait = std::chrono::duration<double, std::milli>(ms / scaled->Speed());
    std::unique_lock lock(m_Mutex);
    m_Done.wait_for(lock, realWait, [this] { return m_bFinished; });
    return m_bFinished;
}

void TWorkerThread::WaitFor() {
    std::thread thread;
    {
        std::lock_guard lock(m_Mutex);
        if (!m_Thread.joinable()) return;
        if (m_Thread.get_id() == std::this_thread::get_id()) return;
        thread = std::move(m_Thread);
    }
    thread.join();
}

void WaitPumpingMessages(TWorkerThread& worker) {
    while (!worker.Finished()) {
        UserInterface().ProcessMessages();
        worker.WaitFinished(50);
    }
}

}  // namespace ps
