// SPDX-License-Identifier: MIT
// The native Linux platform: kernel services of this machine.
#include "platform/linux/LinuxPlatform.h"

#include "platform/linux/LinuxKernel.h"

namespace ps {
namespace {
class TLinuxPlatform : public TPlatform {
public:
    TKernel& Kernel() override { return m_Kernel; }
    TClock& Clock() override { return m_Clock; }

private:
    TLinuxKernel m_Kernel;
    TScaledClock m_Clock;
};
}  // namespace

std::unique_ptr<TPlatform> MakeNativePlatform() { return std::make_unique<TLinuxPlatform>(); }

}  // namespace ps
