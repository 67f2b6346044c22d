// SPDX-License-Identifier: MIT
// Desktop services of a Linux session: web addresses through xdg-open, and the single-instance
// test as a lock file in the user's private folder.
#pragma once

#include <string>
#include <string_view>

#include "platform/Platform.h"
#include "platform/WebAddress.h"

namespace ps {

class TXdgShell : public TShell {
public:
    /// `program` is looked up on PATH ("xdg-open").
    explicit TXdgShell(std::string program = "xdg-open") : m_Program(std::move(program)) {}
    /// Starts the program with the address and does not wait for it; false for an address that
    /// is not a web address, or when the program cannot be started.
    bool OpenUrl(const std::string& url) override;

private:
    std::string m_Program;
};

/// A main-window class is registered by holding an exclusive lock on "<class>.lock" in a
/// folder of this user alone (the private temporary folder); another start of the same user
/// finds the lock taken. The lock goes with the process, however it ends.
class TLockFileSingleInstance : public TSingleInstance {
public:
    /// `folder` ends with the path separator; empty asks the kernel's temporary folder.
    explicit TLockFileSingleInstance(TKernel& kernel, std::string folder = {})
        : m_Kernel(kernel), m_Folder(std::move(folder)) {}
    bool FindWindowClass(const std::string& className) override;
    std::unique_ptr<TWindowClassRegistration> RegisterWindowClass(
        const std::string& className) override;

private:
    std::string LockPath(const std::string& className);
    TKernel& m_Kernel;
    std::string m_Folder;
};

}  // namespace ps
