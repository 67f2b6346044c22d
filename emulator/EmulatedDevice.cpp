// SPDX-License-Identifier: MIT
// The emulated device: the printer core behind a lock, with its files.
#include "EmulatedDevice.h"

#include "ConfigReport.h"
#include "DeviceStore.h"
#include "IniText.h"
#include "PrinterCore.h"
#include "base/IniFile.h"
#include "base/PathText.h"

namespace ps::emu {
namespace {

// The device function registers' first values from the configuration.
void PresetRegisters(const TEmulatorOptions& options, TPrinterState& state) {
    TDeviceRegisters& r = state.registers;
    if (options.dryingTime) r.dryingTime = *options.dryingTime;
    if (options.alignment) r.alignment = *options.alignment;
    if (options.alignmentByte) r.alignmentByte = *options.alignmentByte;
    for (const auto& [mode, value] : options.feedModes) r.feedModes[mode] = value;
    for (const auto& [mode, value] : options.inkAdjust) r.inkAdjust[mode] = value;
    if (options.screenLocked) state.bScreenLocked = *options.screenLocked;
    if (options.paperBoxLocked) state.bPaperBoxLocked = *options.paperBoxLocked;
}

}  // namespace

struct TEmulatedDevice::TImpl {
    TImpl(const TDeviceConfig& config, std::filesystem::path stateDir, TClock& deviceClock)
        : store(std::move(stateDir)), clock(deviceClock) {
        TConfigReport report;
        TCoreSetup setup;
        setup.options = ParseEmulatorOptions(config.extra, &report, "Device:" + config.id);
        std::vector<std::string> problems = report.Lines();

        std::optional<TIniFile> scheme;
        if (!config.schemeFile.empty()) {
            if (auto bytes = ReadFileBytes(config.schemeFile))
                scheme = ParseIniBytes(*bytes);
            else
                problems.push_back("scheme file " + PathToUtf8(config.schemeFile) + " missing");
        }
        std::optional<TIniFile> menu;
        if (!config.menuFile.empty()) {
            if (auto bytes = ReadFileBytes(config.menuFile)) {
                setup.menu = TBytes(bytes->begin(), bytes->end());
                menu = ParseIniBytes(*bytes);
            } else {
                problems.push_back("menu file " + PathToUtf8(config.menuFile) + " missing");
            }
        }
        setup.scheme = LoadSchemeTable(scheme ? &*scheme : nullptr, menu ? &*menu : nullptr);
        setup.modelName = !config.modelName.empty() ? config.modelName : setup.scheme.printerName;
        setup.replyDelayMs = config.replyDelayMs;
        setup.bMute = config.mute;
        setup.idleStatus = config.statusByte;

        // First values from the configuration; what an earlier run saved wins.
        if (setup.options.totalPages) setup.state.totalPages = *setup.options.totalPages;
        if (setup.options.inkBoxPages) setup.state.inkBoxPages = *setup.options.inkBoxPages;
        setup.state.headSerial = setup.options.headSerial;
        PresetRegisters(setup.options, setup.state);
        setup.state.values = config.values;
        store.LoadState(setup.state);

        core = std::make_unique<TPrinterCore>(std::move(setup), clock);
        stored = core->Snapshot();
        for (std::string& problem : problems) problem = "0 config: " + problem;
        store.LogEvents(problems);
    }

    // Stores what changed since the last store, merged with what other processes stored; a
    // printer nothing changed is left alone (its clock goes on next time from the stored
    // reading).
    void Persist() {
        store.LogEvents(core->TakeEvents());
        bClockSet = core->TakeClockSet() || bClockSet;
        if (!core->TakeDirty() && !bUnstored) return;
        TPrinterState now = core->Snapshot();
        std::string problem;
        bUnstored = !store.SaveChanges(stored, now, bClockSet, problem);
        if (!problem.empty()) store.LogEvents({std::to_string(clock.NowMs()) + " " + problem});
        if (bUnstored) return;  // tried again with the next change or at the end
        stored = std::move(now);
        bClockSet = false;
    }

    std::mutex mutex;
    TDeviceStore store;
    TClock& clock;
    std::unique_ptr<TPrinterCore> core;
    TPrinterState stored;    // the core's state when it was loaded or last stored
    bool bUnstored = false;  // a store failed; its changes are still to be stored
    bool bClockSet = false;  // the clock was set since the last store
};

TEmulatedDevice::TEmulatedDevice(TDeviceConfig config, std::filesystem::path stateDir,
                                 TClock& clock)
    : m_Config(std::move(config)),
      m_pImpl(std::make_unique<TImpl>(m_Config, std::move(stateDir), clock)) {}

TEmulatedDevice::~TEmulatedDevice() {
    std::lock_guard lock(m_pImpl->mutex);
    m_pImpl->Persist();
}

void TEmulatedDevice::Receive(std::string_view route, std::span<const std::uint8_t> data) {
    std::lock_guard lock(m_pImpl->mutex);
    m_pImpl->store.LogCommand(route, data);
    const TRoute parsed = ParseRoute(route);
    if (parsed.kind == TRouteKind::Job) m_pImpl->store.SavePrinted(parsed.jobName, data);
    m_pImpl->core->Receive(parsed, data);
    m_pImpl->Persist();
}

std::vector<std::uint8_t> TEmulatedDevice::TakeReply(std::size_t max) {
    std::lock_guard lock(m_pImpl->mutex);
    auto reply = m_pImpl->core->TakeReply(max);
    m_pImpl->Persist();
    return reply;
}

bool TEmulatedDevice::ReplyPending() {
    std::lock_guard lock(m_pImpl->mutex);
    return m_pImpl->core->ReplyPending();
}

std::uint8_t TEmulatedDevice::StatusByte() {
    std::lock_guard lock(m_pImpl->mutex);
    const std::uint8_t status = m_pImpl->core->StatusByte();
    m_pImpl->Persist();
    return status;
}

}  // namespace ps::emu
