// SPDX-License-Identifier: MIT
// The native Linux platform: kernel services, CUPS spooler with the in-process port monitor,
// usblp vendor library, xdg-open and the lock-file single-instance test.
#include "platform/NativeServices.h"
#include "platform/linux/CupsSpooler.h"
#include "platform/linux/LinuxDesktop.h"
#include "platform/linux/LinuxKernel.h"
#include "platform/linux/LinuxPortMonitor.h"

namespace ps {
namespace {
class TLinuxPlatform : public TPlatform {
public:
    TKernel& Kernel() override { return m_Kernel; }
    TClock& Clock() override { return m_Clock; }
    TSpooler& Spooler() override { return m_Spooler; }
    TShell& Shell() override { return m_Shell; }
    TSingleInstance& SingleInstance() override { return m_SingleInstance; }

private:
    TScaledClock m_Clock;
    TLinuxKernel m_Kernel{&m_Clock};  // its I/O deadlines run on the platform clock
    TLinuxPortMonitor m_Monitor{m_Kernel, m_Kernel.Usblp(), TUsblpFolders{}, m_Clock};
    TCupsSpooler m_Spooler{m_Monitor, m_Kernel.Usblp(), TUsblpFolders{},
                           TPrinterDataStore(TPrinterDataStore::DefaultFile())};
    TXdgShell m_Shell;
    TLockFileSingleInstance m_SingleInstance{m_Kernel};
};
}  // namespace

std::unique_ptr<TPlatform> MakeNativePlatform() {
    return std::make_unique<TLinuxPlatform>();
}

std::unique_ptr<TKernel> MakeNativeKernel() {
    return std::make_unique<TLinuxKernel>();
}

}  // namespace ps
