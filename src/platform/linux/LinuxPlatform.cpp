// SPDX-License-Identifier: MIT
// The native Linux platform: kernel services of this machine; the spooler, shell, vendor
// library and single-instance test are not there yet (the TPlatform defaults say so).
#include "platform/NativeServices.h"
#include "platform/linux/LinuxKernel.h"

namespace ps {
namespace {
class TLinuxPlatform : public TPlatform {
public:
    TKernel& Kernel() override { return m_Kernel; }
    TClock& Clock() override { return m_Clock; }

private:
    TScaledClock m_Clock;
    TLinuxKernel m_Kernel{&m_Clock};  // its I/O deadlines run on the platform clock
};
}  // namespace

std::unique_ptr<TPlatform> MakeNativePlatform() {
    return std::make_unique<TLinuxPlatform>();
}

std::unique_ptr<TKernel> MakeNativeKernel() {
    return std::make_unique<TLinuxKernel>();
}

}  // namespace ps
