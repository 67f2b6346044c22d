// SPDX-License-Identifier: MIT
// The USB printer seam on the real kernel.
#include "platform/linux/UsblpSystem.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace ps {
namespace {

class TKernelUsblpSystem : public TUsblpSystem {
public:
    int Open(const std::string& path, int flags) override {
        return ::open(path.c_str(), flags | O_CLOEXEC | O_NOCTTY);
    }
    int Close(int fd) override { return ::close(fd); }
    int Ioctl(int fd, unsigned long request, void* argument) override {
        return ::ioctl(fd, request, argument);
    }
    ssize_t Read(int fd, void* buffer, std::size_t size) override {
        return ::read(fd, buffer, size);
    }
    ssize_t Write(int fd, const void* data, std::size_t size) override {
        return ::write(fd, data, size);
    }
    int Poll(int fd, short events, int timeoutMs) override {
        pollfd entry{fd, events, 0};
        return ::poll(&entry, 1, timeoutMs);
    }
};

}  // namespace

std::unique_ptr<TUsblpSystem> MakeKernelUsblpSystem() {
    return std::make_unique<TKernelUsblpSystem>();
}

}  // namespace ps
