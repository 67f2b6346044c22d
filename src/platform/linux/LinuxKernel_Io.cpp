// SPDX-License-Identifier: MIT
// Kernel services of a Linux machine: session, time zone, shared memory, files and devices.
#include <fcntl.h>
#include <linux/lp.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <ctime>
#include <filesystem>

#include "platform/NativeServices.h"
#include "platform/linux/LinuxKernel.h"

namespace ps {
namespace {

TSysError FromErrno(int error) {
    switch (error) {
        case ENOENT:
        case ENODEV:
        case ENXIO:
            return kErrorFileNotFound;
        case EACCES:
        case EPERM:
            return kErrorAccessDenied;
        case EBADF:
            return kErrorInvalidHandle;
        case EINVAL:
            return kErrorInvalidParameter;
        case ETIMEDOUT:
            return kErrorTimeout;
        case ENOTTY:
        case EOPNOTSUPP:
            return kErrorInvalidFunction;
        default:
            return kErrorGenFailure;
    }
}

bool Fail() {
    SetThreadLastError(FromErrno(errno));
    return false;
}

int Fd(TIoHandle handle) {
    return static_cast<int>(static_cast<std::intptr_t>(handle));
}

class TPosixView : public TMappedView {
public:
    TPosixView(void* address, std::size_t size) : m_pAddress(address), m_Size(size) {}
    ~TPosixView() override { munmap(m_pAddress, m_Size); }
    std::span<std::uint8_t> Bytes() override {
        return {static_cast<std::uint8_t*>(m_pAddress), m_Size};
    }

private:
    void* m_pAddress;
    std::size_t m_Size;
};

class TPosixSharedMemory : public TSharedMemory {
public:
    TPosixSharedMemory(int fd, std::size_t size, std::string unlinkName)
        : m_Fd(fd), m_Size(size), m_UnlinkName(std::move(unlinkName)) {}
    ~TPosixSharedMemory() override {
        close(m_Fd);
        // The creator removes the name, so the memory goes with the last mapping.
        if (!m_UnlinkName.empty()) shm_unlink(m_UnlinkName.c_str());
    }
    std::unique_ptr<TMappedView> Map() override {
        void* address = mmap(nullptr, m_Size, PROT_READ | PROT_WRITE, MAP_SHARED, m_Fd, 0);
        if (address == MAP_FAILED) {
            Fail();
            return nullptr;
        }
        return std::make_unique<TPosixView>(address, m_Size);
    }

private:
    int m_Fd;
    std::size_t m_Size;
    std::string m_UnlinkName;
};

std::size_t FdSize(int fd) {
    struct stat info {};
    return fstat(fd, &info) == 0 ? static_cast<std::size_t>(info.st_size) : 0;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (std::toupper(static_cast<unsigned char>(text[i])) != prefix[i]) return false;
    }
    return true;
}

// "LPT1" -> 1 when the rest is all digits.
int PortNumber(std::string_view name, std::string_view prefix) {
    if (!StartsWithNoCase(name, prefix) || name.size() == prefix.size()) return -1;
    int number = 0;
    for (char c : name.substr(prefix.size())) {
        if (c < '0' || c > '9' || number > 999) return -1;
        number = number * 10 + (c - '0');
    }
    return number;
}

}  // namespace

int NativeProcessId() {
    return static_cast<int>(getpid());
}

bool NativeProcessIsRunning(int pid) {
    if (pid <= 0) return false;
    return kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

std::string PosixSharedMemoryName(std::string_view name) {
    std::string result = "/";
    for (char c : name) result += (c == '\\' || c == '/') ? '_' : c;
    return result;
}

std::string PosixDevicePath(std::string_view path) {
    if (path.starts_with("\\\\?\\") || path.starts_with("\\\\.\\")) path.remove_prefix(4);
    if (int n = PortNumber(path, "LPT"); n >= 1) return "/dev/lp" + std::to_string(n - 1);
    if (int n = PortNumber(path, "COM"); n >= 1) return "/dev/ttyS" + std::to_string(n - 1);
    if (int n = PortNumber(path, "USB"); n >= 1) return "/dev/usb/lp" + std::to_string(n - 1);
    std::string result(path);
    for (char& c : result) {
        if (c == '\\') c = '/';
    }
    return result;
}

std::uint32_t TLinuxKernel::GetSessionId() {
    pid_t session = getsid(0);
    return session > 0 ? static_cast<std::uint32_t>(session) : 0;
}

std::int32_t TLinuxKernel::GetTimeZoneBias() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    if (!localtime_r(&now, &local)) return 0;
    // Standard time only, as the Win32 Bias member: undo daylight saving.
    long offset = local.tm_gmtoff - (local.tm_isdst > 0 ? 3600 : 0);
    return static_cast<std::int32_t>(-offset / 60);
}

std::string TLinuxKernel::GetProgramPath() {
    std::error_code ec;
    auto path = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : path.string();
}

std::unique_ptr<TSharedMemory> TLinuxKernel::CreateSharedMemory(const std::string& name,
                                                                std::size_t size) {
    std::string posixName = PosixSharedMemoryName(name);
    int fd = shm_open(posixName.c_str(), O_RDWR | O_CREAT | O_EXCL, 0600);
    bool created = fd >= 0;
    if (!created && errno == EEXIST) fd = shm_open(posixName.c_str(), O_RDWR, 0600);
    if (fd < 0) {
        Fail();
        return nullptr;
    }
    if (created && ftruncate(fd, static_cast<off_t>(size)) != 0) {
        Fail();
        close(fd);
        shm_unlink(posixName.c_str());
        return nullptr;
    }
    std::size_t actual = created ? size : FdSize(fd);
    return std::make_unique<TPosixSharedMemory>(fd, actual, created ? posixName : std::string());
}

std::unique_ptr<TSharedMemory> TLinuxKernel::OpenSharedMemory(const std::string& name) {
    int fd = shm_open(PosixSharedMemoryName(name).c_str(), O_RDWR, 0600);
    if (fd < 0) {
        Fail();
        return nullptr;
    }
    return std::make_unique<TPosixSharedMemory>(fd, FdSize(fd), std::string());
}

TIoHandle TLinuxKernel::OpenFileHandle(const std::string& path, bool read, bool write,
                                       TFileCreation creation) {
    int flags = read && write ? O_RDWR : write ? O_WRONLY : O_RDONLY;
    if (creation == TFileCreation::CreateAlways) flags |= O_CREAT | O_TRUNC;
    int fd = open(PosixDevicePath(path).c_str(), flags | O_CLOEXEC | O_NOCTTY, 0644);
    if (fd < 0) {
        Fail();
        return kInvalidIoHandle;
    }
    return static_cast<TIoHandle>(fd);
}

bool TLinuxKernel::ReadHandle(TIoHandle handle, std::span<std::uint8_t> buffer,
                              std::uint32_t& bytesRead) {
    bytesRead = 0;
    ssize_t n = ::read(Fd(handle), buffer.data(), buffer.size());
    if (n < 0) return Fail();
    bytesRead = static_cast<std::uint32_t>(n);
    return true;
}

bool TLinuxKernel::WriteHandle(TIoHandle handle, std::span<const std::uint8_t> data,
                               std::uint32_t& bytesWritten) {
    bytesWritten = 0;
    ssize_t n = ::write(Fd(handle), data.data(), data.size());
    if (n < 0) return Fail();
    bytesWritten = static_cast<std::uint32_t>(n);
    return true;
}

bool TLinuxKernel::CancelIo(TIoHandle handle) {
    // Synchronous descriptors have nothing pending.
    if (fcntl(Fd(handle), F_GETFD) < 0) return Fail();
    return true;
}

bool TLinuxKernel::CloseHandle(TIoHandle handle) {
    if (handle == kInvalidIoHandle || ::close(Fd(handle)) != 0) return Fail();
    return true;
}

bool TLinuxKernel::UsbPrintGetLptStatus(TIoHandle handle, std::uint8_t& status) {
    int value = 0;
    if (ioctl(Fd(handle), LPGETSTATUS, &value) != 0) return Fail();
    status = static_cast<std::uint8_t>(value);
    return true;
}

}  // namespace ps
