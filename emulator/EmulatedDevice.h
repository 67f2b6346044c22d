// SPDX-License-Identifier: MIT
// An emulated printer: answers the setting protocol from the printer's side.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Platform.h"

namespace ps {
class TIniFile;
}

namespace ps::emu {

/// One "[Device:ID]" section of an emulation directory (paths already made absolute).
struct TDeviceConfig {
    std::string id;
    std::string usbPort;                 // "UsbPort=": listed by the vendor USB library when set
    std::string deviceId;                // "DeviceId=": IEEE 1284 device ID
    std::filesystem::path schemeFile;    // "Scheme=": the items it implements
    std::filesystem::path menuFile;      // "Menu=": what its menu download serves
    std::string modelName;               // "ModelName="
    std::map<int, std::int32_t> values;  // "Values=": initial values by item code
    std::uint32_t replyDelayMs = 0;      // "ReplyDelayMs="
    bool mute = false;                   // "Mute=1": never replies
    std::uint8_t statusByte = 0x00;      // "StatusByte=": idle status byte
    std::uint32_t shortWrite = 0;        // "ShortWrite=K": vendor-library writes take K less
    bool usbWriteFails = false;          // "UsbWriteFails=1": vendor-library writes fail
    // Further keys (menu transfer form, noise before replies, short writes, busy, no ink box...)
    // are the emulator's own; see docs/emulator.md.
    std::map<std::string, std::string> extra;
};

class TConfigReport;
class TSectionReader;

/// Reads "[Device:ID]" of emulation.ini; relative paths are taken from `directory`. What
/// cannot be understood keeps its default and, when `report` is given, is reported there.
TDeviceConfig LoadDeviceConfig(const TIniFile& ini, const std::string& id,
                               const std::filesystem::path& directory,
                               TConfigReport* report = nullptr);

/// First item values: "CODE:VALUE" or "CODE=VALUE" entries separated by commas, semicolons or
/// blanks; codes are one or two hex digits ("0x" allowed), values integers. Entries of
/// neither form are skipped and reported to `reader` when given.
std::map<int, std::int32_t> ParseDeviceValues(std::string_view text,
                                              TSectionReader* reader = nullptr);

/// The printer behind a port. Thread-safe: a worker thread and the user-interface thread may
/// talk to it at once. State (values, printer data written by commands) lives in
/// `stateDir`/state.ini, every transmission is appended to `stateDir`/commands.log, and printed
/// jobs are stored under `stateDir`/printed/.
class TEmulatedDevice {
public:
    TEmulatedDevice(TDeviceConfig config, std::filesystem::path stateDir, TClock& clock);
    ~TEmulatedDevice();

    const TDeviceConfig& Config() const { return m_Config; }

    /// One transmission received. `route` is what commands.log records: "monitor", "usb",
    /// "job NAME" or "port". Framed commands (1B 1D 1E ... 1B 1D 1F) inside are obeyed; for a
    /// job the data is also stored as printed output.
    void Receive(std::string_view route, std::span<const std::uint8_t> data);

    /// Takes up to `max` reply bytes that are ready by now on the clock (a reply becomes ready
    /// ReplyDelayMs after the command that caused it). Never blocks; empty when none is ready.
    std::vector<std::uint8_t> TakeReply(std::size_t max);

    /// True when reply bytes are queued (ready or not yet ready).
    bool ReplyPending();

    /// The status byte as the USB printing status request reports it now (changes over time
    /// during cleaning, head and ink-box changes).
    std::uint8_t StatusByte();

private:
    struct TImpl;
    TDeviceConfig m_Config;
    std::unique_ptr<TImpl> m_pImpl;
};

}  // namespace ps::emu
