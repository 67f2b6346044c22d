// SPDX-License-Identifier: MIT
// A fake kernel behind the device seam that behaves as the drivers do, on the platform clock:
// usblp printers with their sysfs entries (a non-blocking write is taken into the driver's
// buffer and goes out over time, POLLOUT once it has; closing the node cancels a transfer still
// in flight; one open per node; reads only when the printer has sent something, and what it
// sent stays until read, across opens), parallel ports of the lp driver, and plain files.
#pragma once

#include <fcntl.h>
#include <linux/lp.h>
#include <poll.h>
#include <sys/time.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <string>

#include "platform/Platform.h"
#include "platform/linux/UsblpDevices.h"
#include "platform/linux/UsblpSystem.h"

namespace ps::test {

class TFakeUsblpSystem : public TUsblpSystem {
public:
    static constexpr std::size_t kWriteBuffer = 8192;  // usblp takes at most this per write
    static constexpr std::size_t kReadBuffer = 1024;   // and returns at most this per read

    /// One USB printer plugged in on a minor.
    struct TPrinter {
        std::string deviceId;             // its sysfs ieee1284_id
        std::string usbSerial;            // its USB device's serial attribute; empty: none
        std::uint32_t drainMs = 5;        // how long one write's transfer takes; 0: never ends
        std::deque<std::string> answers;  // what it sends once each transfer has gone out
        std::string input;                // what it sent that nobody has read yet
        std::string received;             // what went out to it, transfer by transfer
        std::deque<int> accepts;          // bytes each write takes at most (-1: EIO)
        int openErrno = 0;                // EACCES: the user may not open the node
        bool heldElsewhere = false;       // another program has the node open
        int opens = 0;                    // open calls on its node, failed ones too
        int status = 0x18;                // LPGETSTATUS
        // The transfer in flight.
        std::string inFlight;
        std::uint64_t inFlightEnds = 0;
    };
    /// One parallel port (/dev/lpN).
    struct TParallel {
        std::string received;
        long timeoutMs = -1;  // set by LPSETTIMEOUT
        bool abortOnError = false;
        bool blockingWrite = false;  // the write came on a blocking descriptor
        int writeErrno = 0;          // with LPABORT: EIO off line, ENOSPC out of paper
        int polls = 0;
    };

    explicit TFakeUsblpSystem(TClock& clock, TUsblpFolders folders = {})
        : m_Clock(clock), m_Folders(std::move(folders)) {}

    TPrinter& Plug(unsigned minor, std::string deviceId, std::string usbSerial = "") {
        std::lock_guard lock(m_Mutex);
        TPrinter& printer = m_Printers[minor];
        printer = TPrinter{};
        printer.deviceId = std::move(deviceId);
        printer.usbSerial = std::move(usbSerial);
        return printer;
    }
    /// The printer goes: its node and sysfs entry with it; open descriptors fail from now on.
    void Unplug(unsigned minor) {
        std::lock_guard lock(m_Mutex);
        m_Printers.erase(minor);
        for (auto& [fd, open] : m_Open) {
            if (open.usblp && open.minor == minor) open.gone = true;
        }
    }
    TPrinter& Printer(unsigned minor) { return m_Printers.at(minor); }
    TParallel& Parallel(unsigned n) { return m_Parallel[n]; }
    void File(const std::string& path, std::string content) { m_Files[path] = std::move(content); }
    int OpenCount() const { return static_cast<int>(m_Open.size()); }
    /// Lets the printer's transfers that are due go out now (as time passing does).
    void Settle() {
        std::lock_guard lock(m_Mutex);
        for (auto& [minor, printer] : m_Printers) SettleLocked(printer);
    }

    int Open(const std::string& path, int flags) override {
        std::lock_guard lock(m_Mutex);
        TOpen open;
        open.nonBlocking = (flags & O_NONBLOCK) != 0;
        if (auto minor = UsblpMinorOfPath(m_Folders, path)) {
            auto it = m_Printers.find(*minor);
            if (it == m_Printers.end()) return Error(ENOENT);
            TPrinter& printer = it->second;
            ++printer.opens;
            if (printer.openErrno) return Error(printer.openErrno);
            if (printer.heldElsewhere || UsblpOpen(*minor)) return Error(EBUSY);
            open.usblp = true;
            open.minor = *minor;
        } else if (auto n = ParallelNumber(path)) {
            open.parallel = true;
            open.minor = *n;
            m_Parallel[*n];
        } else if (auto content = SysfsFile(path)) {
            open.file = *content;
        } else if (auto file = m_Files.find(path); file != m_Files.end()) {
            open.file = file->second;
        } else {
            return Error(ENOENT);
        }
        m_Open[m_NextFd] = open;
        return m_NextFd++;
    }
    int Close(int fd) override {
        std::lock_guard lock(m_Mutex);
        auto it = m_Open.find(fd);
        if (it == m_Open.end()) return Error(EBADF);
        if (TPrinter* printer = PrinterOf(it->second)) {
            SettleLocked(*printer);
            printer->inFlight.clear();  // release kills the transfer still in flight
        }
        m_Open.erase(it);
        return 0;
    }
    int Ioctl(int fd, unsigned long request, void* argument) override {
        std::lock_guard lock(m_Mutex);
        auto it = m_Open.find(fd);
        if (it == m_Open.end()) return Error(EBADF);
        if (it->second.parallel) {
            TParallel& port = m_Parallel[it->second.minor];
            if (request == LPABORT) {
                port.abortOnError = argument != nullptr;
                return 0;
            }
            if (request == LPSETTIMEOUT) {
                const auto* time = static_cast<const timeval*>(argument);
                port.timeoutMs = time->tv_sec * 1000 + time->tv_usec / 1000;
                return 0;
            }
            return Error(ENOTTY);
        }
        TPrinter* printer = PrinterOf(it->second);
        if (!printer) return Error(it->second.usblp ? ENODEV : ENOTTY);
        if (request == LPGETSTATUS) {
            *static_cast<int*>(argument) = printer->status;
            return 0;
        }
        return Error(ENOTTY);
    }
    ssize_t Read(int fd, void* buffer, std::size_t size) override {
        std::lock_guard lock(m_Mutex);
        auto it = m_Open.find(fd);
        if (it == m_Open.end()) return Error(EBADF);
        TOpen& open = it->second;
        if (!open.usblp && !open.parallel) {
            const std::size_t n = std::min(size, open.file.size());
            std::memcpy(buffer, open.file.data(), n);
            open.file.erase(0, n);
            return static_cast<ssize_t>(n);
        }
        TPrinter* printer = PrinterOf(open);
        if (!printer) return Error(open.usblp ? ENODEV : EAGAIN);
        SettleLocked(*printer);
        if (printer->input.empty()) return Error(EAGAIN);
        const std::size_t n = std::min({size, printer->input.size(), kReadBuffer});
        std::memcpy(buffer, printer->input.data(), n);
        printer->input.erase(0, n);
        return static_cast<ssize_t>(n);
    }
    ssize_t Write(int fd, const void* data, std::size_t size) override {
        std::lock_guard lock(m_Mutex);
        auto it = m_Open.find(fd);
        if (it == m_Open.end()) return Error(EBADF);
        if (it->second.parallel) {
            TParallel& port = m_Parallel[it->second.minor];
            port.blockingWrite = !it->second.nonBlocking;
            if (port.writeErrno && port.abortOnError) return Error(port.writeErrno);
            port.received.append(static_cast<const char*>(data), size);
            return static_cast<ssize_t>(size);
        }
        if (!it->second.usblp) return static_cast<ssize_t>(size);
        TPrinter* printer = PrinterOf(it->second);
        if (!printer) return Error(ENODEV);
        SettleLocked(*printer);
        if (!printer->inFlight.empty()) return Error(EAGAIN);  // the last transfer is going out
        std::size_t n = std::min(size, kWriteBuffer);
        if (!printer->accepts.empty()) {
            const int accept = printer->accepts.front();
            printer->accepts.pop_front();
            if (accept < 0) return Error(EIO);
            n = std::min(n, static_cast<std::size_t>(accept));
        }
        printer->inFlight.assign(static_cast<const char*>(data), n);
        printer->inFlightEnds = m_Clock.NowMs() + printer->drainMs;
        return static_cast<ssize_t>(n);
    }
    int Poll(int fd, short events, int, short& revents) override {
        std::lock_guard lock(m_Mutex);
        revents = 0;
        auto it = m_Open.find(fd);
        if (it == m_Open.end()) return Error(EBADF);
        if (it->second.parallel) {
            ++m_Parallel[it->second.minor].polls;
            revents = events & (POLLIN | POLLOUT);  // the lp driver has no poll: always ready
            return 1;
        }
        TPrinter* printer = PrinterOf(it->second);
        if (!printer) {
            revents = POLLHUP;
            return 1;
        }
        SettleLocked(*printer);
        if (printer->inFlight.empty()) revents |= POLLOUT;
        if (!printer->input.empty()) revents |= POLLIN;
        revents &= events;
        return revents ? 1 : 0;  // not yet: the caller's deadline decides, on the clock
    }
    int Kind(int fd, TNodeKind& kind) override {
        std::lock_guard lock(m_Mutex);
        auto it = m_Open.find(fd);
        if (it == m_Open.end()) return Error(EBADF);
        kind = TNodeKind{};
        if (it->second.usblp || it->second.parallel) {
            kind.characterDevice = true;
            kind.major = it->second.usblp ? kUsbMajor : kParallelMajor;
            kind.minor = it->second.minor;
        }
        return 0;
    }
    int SetNonBlocking(int fd, bool nonBlocking) override {
        std::lock_guard lock(m_Mutex);
        auto it = m_Open.find(fd);
        if (it == m_Open.end()) return Error(EBADF);
        it->second.nonBlocking = nonBlocking;
        return 0;
    }
    ssize_t WriteWithin(int fd, const void* data, std::size_t size, int) override {
        return Write(fd, data, size);
    }

private:
    struct TOpen {
        bool usblp = false;
        bool parallel = false;
        bool gone = false;  // its printer was unplugged
        bool nonBlocking = false;
        unsigned minor = 0;
        std::string file;  // what a plain file has left to read
    };

    static int Error(int error) {
        errno = error;
        return -1;
    }
    std::optional<unsigned> ParallelNumber(const std::string& path) const {
        if (!path.starts_with("/dev/lp") || path.size() != 8) return std::nullopt;
        if (path[7] < '0' || path[7] > '9') return std::nullopt;
        return static_cast<unsigned>(path[7] - '0');
    }
    // The sysfs attributes of the printers plugged in.
    std::optional<std::string> SysfsFile(const std::string& path) const {
        for (const auto& [minor, printer] : m_Printers) {
            const std::string entry = m_Folders.sysfs + "/lp" + std::to_string(minor);
            if (path == entry + "/dev")
                return std::to_string(kUsbMajor) + ":" + std::to_string(minor) + "\n";
            if (path == entry + "/device/ieee1284_id") return printer.deviceId + "\n";
            if (path == entry + "/device/../serial" && !printer.usbSerial.empty())
                return printer.usbSerial + "\n";
        }
        return std::nullopt;
    }
    bool UsblpOpen(unsigned minor) const {
        for (const auto& [fd, open] : m_Open) {
            if (open.usblp && !open.gone && open.minor == minor) return true;
        }
        return false;
    }
    TPrinter* PrinterOf(const TOpen& open) {
        if (!open.usblp || open.gone) return nullptr;
        auto it = m_Printers.find(open.minor);
        return it == m_Printers.end() ? nullptr : &it->second;
    }
    // A transfer whose time has come goes out; the printer answers what it received.
    void SettleLocked(TPrinter& printer) {
        if (printer.inFlight.empty() || printer.drainMs == 0 ||
            m_Clock.NowMs() < printer.inFlightEnds)
            return;
        printer.received += printer.inFlight;
        printer.inFlight.clear();
        if (!printer.answers.empty()) {
            printer.input += printer.answers.front();
            printer.answers.pop_front();
        }
    }

    TClock& m_Clock;
    TUsblpFolders m_Folders;
    std::recursive_mutex m_Mutex;
    std::map<unsigned, TPrinter> m_Printers;
    std::map<unsigned, TParallel> m_Parallel;
    std::map<std::string, std::string> m_Files;
    std::map<int, TOpen> m_Open;
    int m_NextFd = 10;
};

}  // namespace ps::test
