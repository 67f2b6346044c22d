// SPDX-License-Identifier: MIT
// A scripted USB printing class behind the library's seam. It behaves like the driver, not like
// the ideal: an open fails while another holds the device, a read waits until the printer's
// reply is due (or its time-out passes, on the test's virtual clock), input left over from an
// earlier reply is still there, and a write may take only part of the data.
#pragma once

#include <deque>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "platform/win32/UsbPrintSystem.h"

namespace ps::win32::test {

struct TFakeUsbDevice {
    std::string path;
    std::string portName;
    std::string idReply;              // what the 1284 ID request returns (length bytes included)
    DWORD openError = ERROR_SUCCESS;  // set: every open fails with it
    DWORD writeError = ERROR_SUCCESS;
    std::size_t writeLimit = ~std::size_t{0};  // bytes one write takes at most, then times out
    struct TReply {
        std::uint64_t dueMs;  // virtual time the bytes arrive
        std::string bytes;
        std::size_t afterWritten = 0;  // and not before this many bytes were written (an answer)
    };
    std::deque<TReply> replies;
    std::string written;
    int opens = 0;
};

/// The 1284 ID request's reply for an ID: two bytes of length (big-endian, counting
/// themselves), then the ID.
inline std::string IdReply(const std::string& id) {
    const std::size_t length = id.size() + 2;
    return std::string{static_cast<char>(length >> 8), static_cast<char>(length & 0xFF)} + id;
}

class TFakeUsbPrintSystem : public TUsbPrintSystem {
public:
    explicit TFakeUsbPrintSystem(TClock& clock) : m_Clock(clock) {}

    TFakeUsbDevice& Add(std::string path, std::string portName, std::string id) {
        std::lock_guard lock(m_Mutex);
        TFakeUsbDevice& device = m_Devices.emplace_back();
        device.path = std::move(path);
        device.portName = std::move(portName);
        device.idReply = IdReply(id);
        return device;
    }
    TFakeUsbDevice& Device(std::size_t index) { return m_Devices[index]; }
    int OpenCount() {
        std::lock_guard lock(m_Mutex);
        return static_cast<int>(m_Open.size());
    }

    std::vector<TUsbPrintInterface> EnumerateInterfaces() override {
        std::lock_guard lock(m_Mutex);
        std::vector<TUsbPrintInterface> found;
        for (const auto& device : m_Devices) found.push_back({device.path, device.portName});
        return found;
    }

    HANDLE Open(const std::string& path) override {
        std::lock_guard lock(m_Mutex);
        for (std::size_t i = 0; i < m_Devices.size(); ++i) {
            TFakeUsbDevice& device = m_Devices[i];
            if (device.path != path) continue;
            // usbprint.sys takes one open at a time.
            bool held = false;
            for (const auto& [handle, index] : m_Open) held = held || index == i;
            const DWORD error = held ? ERROR_ACCESS_DENIED : device.openError;
            if (error != ERROR_SUCCESS) {
                SetLastError(error);
                return INVALID_HANDLE_VALUE;
            }
            ++device.opens;
            const HANDLE handle = reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(m_iNext++));
            m_Open[handle] = i;
            return handle;
        }
        SetLastError(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }

    void Close(HANDLE handle) override {
        std::lock_guard lock(m_Mutex);
        m_Open.erase(handle);
    }

    DWORD Control(HANDLE handle, DWORD code, std::span<std::uint8_t> out, std::uint32_t,
                  DWORD& returned) override {
        std::lock_guard lock(m_Mutex);
        returned = 0;
        TFakeUsbDevice* device = Find(handle);
        if (!device) return ERROR_INVALID_HANDLE;
        if (code != kIoctlUsbPrintGet1284Id) return ERROR_INVALID_FUNCTION;
        const std::size_t n = std::min(out.size(), device->idReply.size());
        std::copy_n(device->idReply.begin(), n, out.begin());
        returned = static_cast<DWORD>(n);
        return ERROR_SUCCESS;
    }

    DWORD Read(HANDLE handle, std::span<std::uint8_t> buffer, std::uint32_t timeoutMs,
               DWORD& bytesRead) override {
        std::unique_lock lock(m_Mutex);
        bytesRead = 0;
        TFakeUsbDevice* device = Find(handle);
        if (!device) return ERROR_INVALID_HANDLE;
        const std::uint64_t now = m_Clock.NowMs();
        if (device->replies.empty() || device->replies.front().dueMs > now + timeoutMs ||
            device->written.size() < device->replies.front().afterWritten) {
            lock.unlock();
            m_Clock.Sleep(timeoutMs);
            return ERROR_TIMEOUT;
        }
        auto& reply = device->replies.front();
        const std::uint64_t due = reply.dueMs;
        const std::size_t n = std::min(buffer.size(), reply.bytes.size());
        std::copy_n(reply.bytes.begin(), n, buffer.begin());
        reply.bytes.erase(0, n);
        if (reply.bytes.empty()) device->replies.pop_front();
        bytesRead = static_cast<DWORD>(n);
        lock.unlock();
        if (due > now) m_Clock.Sleep(static_cast<std::uint32_t>(due - now));
        return ERROR_SUCCESS;
    }

    DWORD Write(HANDLE handle, std::span<const std::uint8_t> data, std::uint32_t timeoutMs,
                DWORD& bytesWritten) override {
        std::unique_lock lock(m_Mutex);
        bytesWritten = 0;
        TFakeUsbDevice* device = Find(handle);
        if (!device) return ERROR_INVALID_HANDLE;
        if (device->writeError != ERROR_SUCCESS) return device->writeError;
        const std::size_t n = std::min(data.size(), device->writeLimit);
        device->written.append(reinterpret_cast<const char*>(data.data()), n);
        bytesWritten = static_cast<DWORD>(n);
        if (n == data.size()) return ERROR_SUCCESS;
        lock.unlock();
        m_Clock.Sleep(timeoutMs);  // the rest never goes: the printer takes no more
        return ERROR_TIMEOUT;
    }

private:
    TFakeUsbDevice* Find(HANDLE handle) {
        auto it = m_Open.find(handle);
        return it == m_Open.end() ? nullptr : &m_Devices[it->second];
    }

    TClock& m_Clock;
    std::mutex m_Mutex;
    std::deque<TFakeUsbDevice> m_Devices;  // stable references while devices are added
    std::map<HANDLE, std::size_t> m_Open;
    std::intptr_t m_iNext = 0x100;
};

}  // namespace ps::win32::test
