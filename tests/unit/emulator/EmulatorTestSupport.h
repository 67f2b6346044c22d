// SPDX-License-Identifier: MIT
// Helpers of the emulator tests: hex text in and out, and a device built on the test scheme
// in a temporary state folder.
#pragma once

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>

#include "base/Lib_String.h"
#include "emulator/EmulatedDevice.h"
#include "support/FakeClock.h"
#include "support/TestSupport.h"

namespace ps::emu::test {

using ps::test::TManualClock;

inline std::vector<std::uint8_t> Hex(std::string_view text) {
    return HexTextToBytes(text);
}

inline std::string Spaced(const std::vector<std::uint8_t>& bytes) {
    return BytesToSpacedHex(bytes);
}

inline std::filesystem::path DataFile(const char* name) {
    return ps::test::SourceDir() / "tests" / "data" / "emulator" / name;
}

inline std::string ReadText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

/// A device configuration on the test scheme.
inline TDeviceConfig TestConfig() {
    TDeviceConfig config;
    config.id = "TP1";
    config.schemeFile = DataFile("test-scheme.ini");
    config.modelName = "TP-1";
    return config;
}

/// Sends hex text on a route and returns everything ready afterwards, as spaced hex.
inline std::string Exchange(TEmulatedDevice& device, std::string_view route, std::string_view hex) {
    device.Receive(route, Hex(hex));
    std::vector<std::uint8_t> all;
    for (;;) {
        auto part = device.TakeReply(65536);
        if (part.empty()) break;
        all.insert(all.end(), part.begin(), part.end());
    }
    return Spaced(all);
}

}  // namespace ps::emu::test
