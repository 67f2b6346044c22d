// SPDX-License-Identifier: MIT
// A scripted kernel behind the USB printer seam: device nodes and sysfs files with scripted
// device IDs, replies, write acceptance and failures.
#pragma once

#include <cerrno>
#include <cstring>
#include <deque>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "platform/linux/UsblpSystem.h"

namespace ps::test {

class TFakeUsblpSystem : public TUsblpSystem {
public:
    struct TNode {
        int openErrno = 0;                // non-zero: open fails with it
        std::string ioctlReply;           // bytes LPIOC_GET_DEVICE_ID stores; empty: ioctl fails
        std::string file;                 // content read by a plain file (sysfs)
        std::deque<std::string> replies;  // each read takes from the first (empty: EAGAIN)
        std::deque<int> accepts;          // bytes each write takes (-1: EIO); empty: all of it
        std::string written;              // everything written
        int reads = 0;
    };

    TNode& Node(const std::string& path) { return m_Nodes[path]; }
    void Remove(const std::string& path) { m_Nodes.erase(path); }
    int OpenCount() const { return static_cast<int>(m_Open.size()); }

    int Open(const std::string& path, int) override {
        std::lock_guard lock(m_Mutex);
        auto it = m_Nodes.find(path);
        if (it == m_Nodes.end()) return Error(ENOENT);
        if (it->second.openErrno) return Error(it->second.openErrno);
        m_Open[m_NextFd] = path;
        return m_NextFd++;
    }
    int Close(int fd) override {
        std::lock_guard lock(m_Mutex);
        return m_Open.erase(fd) ? 0 : Error(EBADF);
    }
    int Ioctl(int fd, unsigned long request, void* argument) override {
        std::lock_guard lock(m_Mutex);
        TNode* node = Find(fd);
        if (!node) return Error(EBADF);
        if (node->ioctlReply.empty()) return Error(ENOTTY);
        const std::size_t size = (request >> 16) & 0x3FFF;  // _IOC_SIZE
        std::memcpy(argument, node->ioctlReply.data(), std::min(size, node->ioctlReply.size()));
        return 0;
    }
    ssize_t Read(int fd, void* buffer, std::size_t size) override {
        std::lock_guard lock(m_Mutex);
        TNode* node = Find(fd);
        if (!node) return Error(ENODEV);
        ++node->reads;
        if (!node->file.empty()) {
            const std::size_t n = std::min(size, node->file.size());
            std::memcpy(buffer, node->file.data(), n);
            return static_cast<ssize_t>(n);
        }
        if (node->replies.empty()) return Error(EAGAIN);
        std::string& reply = node->replies.front();
        const std::size_t n = std::min(size, reply.size());
        std::memcpy(buffer, reply.data(), n);
        reply.erase(0, n);
        if (reply.empty()) node->replies.pop_front();
        return static_cast<ssize_t>(n);
    }
    ssize_t Write(int fd, const void* data, std::size_t size) override {
        std::lock_guard lock(m_Mutex);
        TNode* node = Find(fd);
        if (!node) return Error(ENODEV);
        std::size_t n = size;
        if (!node->accepts.empty()) {
            const int accept = node->accepts.front();
            if (accept < 0) return Error(EIO);
            node->accepts.pop_front();
            if (accept == 0) {
                node->accepts.push_front(0);  // a printer that takes nothing more
                return Error(EAGAIN);
            }
            n = std::min(size, static_cast<std::size_t>(accept));
        }
        node->written.append(static_cast<const char*>(data), n);
        return static_cast<ssize_t>(n);
    }
    int Poll(int fd, short, int) override {
        std::lock_guard lock(m_Mutex);
        return Find(fd) ? 0 : Error(EBADF);  // never ready: the caller's deadline decides
    }

private:
    static int Error(int error) {
        errno = error;
        return -1;
    }
    TNode* Find(int fd) {
        auto open = m_Open.find(fd);
        if (open == m_Open.end()) return nullptr;
        auto node = m_Nodes.find(open->second);
        return node == m_Nodes.end() ? nullptr : &node->second;
    }

    std::mutex m_Mutex;
    std::map<std::string, TNode> m_Nodes;
    std::map<int, std::string> m_Open;
    int m_NextFd = 10;
};

/// The reply of LPIOC_GET_DEVICE_ID for `id`: two length bytes (big-endian), then the ID.
inline std::string IoctlReply(const std::string& id) {
    const std::size_t length = id.size() + 2;
    return std::string{static_cast<char>(length >> 8), static_cast<char>(length & 0xFF)} + id;
}

}  // namespace ps::test
