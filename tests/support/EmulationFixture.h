// SPDX-License-Identifier: MIT
// The fixture base of tests on the emulated platform: a temporary emulation directory and its
// builder, scripted devices, and the plain test platform put back at the end.
// (Tests that include this link ps_platform_emulated.)
#pragma once

#include <gtest/gtest.h>

#include "printer/Globals.h"
#include "scheme/Scheme3.h"
#include "support/EmulatedPlatformSupport.h"
#include "support/EmulationDirBuilder.h"
#include "support/TestSupport.h"

namespace ps::test {

class TEmulationTest : public ::testing::Test {
protected:
    /// The clock is virtual unless a test asks for another one.
    TEmulationTest() : m_Builder(m_Dir.Path()) { m_Builder.VirtualClock(); }
    ~TEmulationTest() override { InstallTestPlatform(); }

    /// Writes emulation.ini and installs it with scripted devices behind the printers.
    emu::TEmulatedPlatform& StartScripted() {
        return Keep(InstallEmulation(m_Builder.Write(), m_Devices.Factory()));
    }
    /// Writes emulation.ini and installs it with the printer emulator behind the printers.
    emu::TEmulatedPlatform& StartEmulator() { return Keep(InstallEmulation(m_Builder.Write())); }

    TTempDir m_Dir;
    TEmulationDirBuilder m_Builder;
    TScriptedDevices m_Devices;
    emu::TEmulatedPlatform* m_pPlatform = nullptr;

private:
    emu::TEmulatedPlatform& Keep(emu::TEmulatedPlatform& platform) {
        m_pPlatform = &platform;
        return platform;
    }
};

/// The same for tests of the core: the process state is reset before and after, and the
/// scheme object goes with the test.
class TEmulatedCoreTest : public TEmulationTest {
protected:
    TEmulatedCoreTest() { ResetGlobals(); }
    ~TEmulatedCoreTest() override {
        g_SchemeOptions.reset();
        ResetGlobals();
    }
};

}  // namespace ps::test
