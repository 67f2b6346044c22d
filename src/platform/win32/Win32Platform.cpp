// SPDX-License-Identifier: MIT
// The native Windows platform: kernel32, winspool with the in-process port monitor for the
// standard ports, the vendor's USB library or our own, ShellExecuteW and the hidden window.
#include "platform/NativeServices.h"
#include "platform/win32/Win32Desktop.h"
#include "platform/win32/Win32Handles.h"
#include "platform/win32/Win32Kernel.h"
#include "platform/win32/Win32Spooler.h"

namespace ps {
namespace {

class TWin32Platform : public TPlatform {
public:
    TKernel& Kernel() override { return m_Kernel; }
    TClock& Clock() override { return m_Clock; }
    TSpooler& Spooler() override { return m_Spooler; }
    TShell& Shell() override { return m_Shell; }
    TSingleInstance& SingleInstance() override { return m_SingleInstance; }

private:
    TScaledClock m_Clock;
    win32::TWin32Kernel m_Kernel{m_Clock, win32::MakeUsbPrintSystem(m_Clock)};
    win32::TWin32PortMonitor m_Monitor{m_Kernel, m_Kernel.UsbPrint(), m_Clock};
    win32::TWin32Spooler m_Spooler{m_Monitor};
    win32::TWin32Shell m_Shell;
    win32::TWin32SingleInstance m_SingleInstance;
};

// The kernel alone, for a platform that brings its own spooler (the emulated one).
class TStandaloneKernel : public win32::TWin32Kernel {
public:
    TStandaloneKernel() : TStandaloneKernel(std::make_unique<TScaledClock>()) {}

private:
    explicit TStandaloneKernel(std::unique_ptr<TScaledClock> clock)
        : win32::TWin32Kernel(*clock, win32::MakeUsbPrintSystem(*clock)),
          m_pClock(std::move(clock)) {}
    std::unique_ptr<TScaledClock> m_pClock;
};

}  // namespace

std::unique_ptr<TPlatform> MakeNativePlatform() {
    return std::make_unique<TWin32Platform>();
}

std::unique_ptr<TKernel> MakeNativeKernel() {
    return std::make_unique<TStandaloneKernel>();
}

int NativeProcessId() {
    return static_cast<int>(GetCurrentProcessId());
}

bool NativeProcessIsRunning(int pid) {
    if (pid <= 0) return false;
    win32::TKernelHandle process(
        OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(pid)));
    if (!process) return GetLastError() == ERROR_ACCESS_DENIED;  // there, but not ours
    DWORD code = 0;
    return GetExitCodeProcess(process.Get(), &code) && code == STILL_ACTIVE;
}

}  // namespace ps
