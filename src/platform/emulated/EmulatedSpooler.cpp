// SPDX-License-Identifier: MIT
// The emulated print spooler and its printer handles.
#include "platform/emulated/EmulatedSpooler.h"

#include <algorithm>
#include <cstring>
#include <fstream>

#include "base/AsciiText.h"
#include "base/IniFile.h"
#include "base/PathText.h"
#include "platform/MonitorBlock.h"

namespace ps::emu {
namespace {

constexpr std::uint32_t kPrinterAttributeLocal = 0x40;

template <typename T>
T Fail(TSysError error, T result) {
    SetThreadLastError(error);
    return result;
}

// A printer name as part of a file name.
std::string FileNamePart(std::string_view name) {
    std::string result;
    for (char c : name) {
        bool plain = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                     c == '-' || c == '_' || c == '.';
        result += plain ? c : '_';
    }
    return result;
}

class TEmulatedPrinterHandle : public TPrinterHandle {
public:
    // `printer` is nullptr for the print server.
    TEmulatedPrinterHandle(const TEmulationConfig& config, const TEmulatedPrinterConfig* printer,
                           TPrinterAccess access, TEmulationState& state, TDeviceHub& devices,
                           TEmulatedPortMonitor& monitor)
        : m_Config(config),
          m_pPrinter(printer),
          m_Access(access),
          m_State(state),
          m_Devices(devices),
          m_Monitor(monitor) {}

    std::optional<TPrinterInfo2> GetInfo2() override {
        if (!m_pPrinter) return Fail(kErrorInvalidHandle, std::optional<TPrinterInfo2>());
        TPrinterInfo2 info;
        info.printerName = m_pPrinter->name;
        info.portName = m_pPrinter->port;
        info.driverName = m_pPrinter->driverName;
        info.attributes =
            kPrinterAttributeLocal | (m_pPrinter->workOffline ? kPrinterAttributeWorkOffline : 0);
        info.jobs = static_cast<std::uint32_t>(AllJobs().size());
        return info;
    }

    std::optional<TDriverInfo6> GetDriverInfo6(const std::string&) override {
        if (!m_pPrinter) return Fail(kErrorInvalidHandle, std::optional<TDriverInfo6>());
        if (m_pPrinter->driverName.empty()) {
            return Fail(kErrorUnknownPrinterDriver, std::optional<TDriverInfo6>());
        }
        return TDriverInfo6{m_pPrinter->driverName, m_pPrinter->dependentFiles};
    }

    std::optional<std::vector<TJobInfo1>> GetJobs(std::uint32_t firstJob,
                                                  std::uint32_t count) override {
        if (!m_pPrinter) return Fail(kErrorInvalidHandle, std::optional<std::vector<TJobInfo1>>());
        if (m_pPrinter->jobFault == TJobFault::JobList)
            return Fail(kErrorGenFailure, std::optional<std::vector<TJobInfo1>>());
        std::vector<TJobInfo1> all = AllJobs();
        std::vector<TJobInfo1> jobs;
        for (std::size_t i = firstJob; i < all.size() && jobs.size() < count; ++i) {
            jobs.push_back(all[i]);
        }
        return jobs;
    }

    TSysError GetData(const std::string& valueName, std::uint32_t& type,
                      std::span<std::uint8_t> buffer, std::uint32_t& needed) override {
        if (!m_pPrinter) return kErrorFileNotFound;
        if (IsMonitorTrigger(valueName) && m_pPrinter->monitor) {
            return m_Monitor.Answer(*m_pPrinter, valueName, type, buffer, needed);
        }
        // The trigger above still works: only the values kept with the printer fail.
        if (m_pPrinter->dataReadFails) return kErrorGenFailure;
        auto value = StoredData(valueName);
        if (!value) return kErrorFileNotFound;
        type = value->type;
        needed = static_cast<std::uint32_t>(value->bytes.size());
        if (buffer.size() < value->bytes.size()) return kErrorMoreData;
        std::copy(value->bytes.begin(), value->bytes.end(), buffer.begin());
        return kErrorSuccess;
    }

    TSysError SetData(const std::string& valueName, std::uint32_t type,
                      std::span<const std::uint8_t> data) override {
        if (!m_pPrinter) return kErrorInvalidHandle;
        if (m_Access != TPrinterAccess::Full) return kErrorAccessDenied;
        if (valueName.empty()) return kErrorInvalidParameter;
        TPrinterDataValue value{type, {data.begin(), data.end()}};
        bool ok = m_State.Write(Section(), "Data." + valueName, FormatPrinterDataValue(value));
        return ok ? kErrorSuccess : kErrorWriteFault;
    }

    std::uint32_t StartDocument(const std::string& documentName, const std::string&,
                                const std::string& dataType) override {
        if (!m_pPrinter || m_bInDocument) return Fail(kErrorInvalidHandle, 0u);
        if (m_pPrinter->jobFault == TJobFault::StartDoc) return Fail(kErrorGenFailure, 0u);
        if (!SameTextNoCase(dataType, "RAW")) return Fail(kErrorInvalidParameter, 0u);
        m_bInDocument = true;
        m_DocumentName = documentName;
        m_Data.clear();
        return static_cast<std::uint32_t>(AllJobs().size() + 1);
    }

    bool StartPage() override {
        if (!m_bInDocument) return Fail(kErrorSplNoStartDoc, false);
        if (m_pPrinter->jobFault == TJobFault::StartPage) return Fail(kErrorGenFailure, false);
        return true;
    }

    bool WriteData(std::span<const std::uint8_t> data, std::uint32_t& written) override {
        written = 0;
        if (!m_bInDocument) return Fail(kErrorSplNoStartDoc, false);
        if (m_pPrinter->jobFault == TJobFault::Write) return Fail(kErrorWriteFault, false);
        // A short write takes half of the data and says so only through `written`.
        const std::size_t taken =
            m_pPrinter->jobFault == TJobFault::ShortWrite ? data.size() / 2 : data.size();
        m_Data.insert(m_Data.end(), data.begin(),
                      data.begin() + static_cast<std::ptrdiff_t>(taken));
        written = static_cast<std::uint32_t>(taken);
        return true;
    }

    bool EndPage() override { return m_bInDocument ? true : Fail(kErrorSplNoStartDoc, false); }

    bool EndDocument() override {
        if (!m_bInDocument) return Fail(kErrorSplNoStartDoc, false);
        m_bInDocument = false;
        if (m_Data.empty()) return true;
        TDeviceLink* device = m_Devices.Find(m_pPrinter->deviceId);
        if (m_pPrinter->workOffline || !device) {
            Hold();
        } else {
            device->Receive("job " + m_DocumentName, m_Data);
        }
        m_Data.clear();
        return true;
    }

private:
    std::string Section() const { return TEmulationState::PrinterSection(m_pPrinter->name); }

    std::optional<TPrinterDataValue> StoredData(const std::string& valueName) {
        if (valueName.empty()) return std::nullopt;
        if (auto text = m_State.Read(Section(), "Data." + valueName)) {
            return ParsePrinterDataValue(*text);
        }
        for (const auto& [name, value] : m_pPrinter->data) {
            if (SameTextNoCase(name, valueName)) return value;
        }
        return std::nullopt;
    }

    std::uint32_t HeldCount() {
        auto text = m_State.Read(Section(), "HeldJobs");
        auto count = text ? TryStrToInt(*text) : std::nullopt;
        return count && *count > 0 ? static_cast<std::uint32_t>(*count) : 0;
    }

    std::vector<TJobInfo1> AllJobs() {
        std::vector<TJobInfo1> jobs;
        for (std::uint32_t i = 1; i <= m_pPrinter->queuedJobs; ++i) {
            jobs.push_back({i, m_pPrinter->name, "Queued job " + std::to_string(i), "RAW", 0});
        }
        std::uint32_t held = HeldCount();
        for (std::uint32_t i = 1; i <= held; ++i) {
            std::string name =
                m_State.Read(Section(), "HeldJob" + std::to_string(i)).value_or("Held job");
            jobs.push_back({m_pPrinter->queuedJobs + i, m_pPrinter->name, name, "RAW", 0});
        }
        return jobs;
    }

    // An off-line printer (or one with nothing on its port) keeps the job in its queue.
    void Hold() {
        std::uint32_t number = HeldCount() + 1;
        auto folder = m_Config.directory / "held";
        std::error_code ec;
        std::filesystem::create_directories(folder, ec);
        std::ofstream out(
            folder / (FileNamePart(m_pPrinter->name) + "-" + std::to_string(number) + ".prn"),
            std::ios::binary);
        out.write(reinterpret_cast<const char*>(m_Data.data()),
                  static_cast<std::streamsize>(m_Data.size()));
        m_State.Write(Section(), "HeldJob" + std::to_string(number), m_DocumentName);
        m_State.Write(Section(), "HeldJobs", std::to_string(number));
    }

    const TEmulationConfig& m_Config;
    const TEmulatedPrinterConfig* m_pPrinter;
    TPrinterAccess m_Access;
    TEmulationState& m_State;
    TDeviceHub& m_Devices;
    TEmulatedPortMonitor& m_Monitor;
    bool m_bInDocument = false;
    std::string m_DocumentName;
    std::vector<std::uint8_t> m_Data;
};

}  // namespace

std::unique_ptr<TPrinterHandle> TEmulatedSpooler::Open(const std::string& printerName,
                                                       TPrinterAccess access) {
    const TEmulatedPrinterConfig* printer = nullptr;
    if (!printerName.empty()) {
        printer = m_Config.FindPrinter(printerName);
        if (!printer) return Fail(kErrorInvalidPrinterName, std::unique_ptr<TPrinterHandle>());
        if (access == TPrinterAccess::Full && !printer->fullAccess) {
            return Fail(kErrorAccessDenied, std::unique_ptr<TPrinterHandle>());
        }
    }
    return std::make_unique<TEmulatedPrinterHandle>(m_Config, printer, access, m_State, m_Devices,
                                                    m_Monitor);
}

std::optional<std::string> TEmulatedSpooler::GetDriverDirectory(const std::string&) {
    return PathToUtf8(m_Config.driverDirectory);
}

std::optional<std::vector<std::string>> TEmulatedSpooler::EnumPrinterNames() {
    std::vector<std::string> names;
    for (const TEmulatedPrinterConfig& printer : m_Config.printers) names.push_back(printer.name);
    return names;
}

std::optional<std::string> TEmulatedSpooler::GetDeviceKey(const std::string& printerName) {
    const TEmulatedPrinterConfig* printer = m_Config.FindPrinter(printerName);
    if (!printer || printer->deviceId.empty()) return std::nullopt;
    return "device " + AsciiLower(printer->deviceId);  // section names ignore letter case
}

}  // namespace ps::emu
