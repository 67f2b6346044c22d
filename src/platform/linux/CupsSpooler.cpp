// SPDX-License-Identifier: MIT
// CUPS queues as printers: details, jobs, printer data and raw jobs.
#include "platform/linux/CupsSpooler.h"

#include <cups/cups.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "base/AsciiText.h"
#include "base/InstallLayout.h"
#include "platform/MonitorBlock.h"
#include "platform/linux/CupsRequests.h"
#include "platform/linux/DeviceUri.h"
#include "platform/linux/LinuxErrors.h"

namespace ps {
namespace {

template <typename T>
T Fail(TSysError error, T result) {
    SetThreadLastError(error);
    return result;
}

class TCupsPrinterHandle : public TPrinterHandle {
public:
    // An empty queue name is the print server.
    TCupsPrinterHandle(TCupsSpooler& spooler, std::unique_ptr<TCupsConnection> connection,
                       std::string queue, TPrinterAccess access)
        : m_Spooler(spooler),
          m_pConnection(std::move(connection)),
          m_Queue(std::move(queue)),
          m_Access(access) {}

    ~TCupsPrinterHandle() override {
        // A document left open is finished, as closing a Win32 printer handle ends its job.
        if (m_iJob > 0) EndDocument();
    }

    std::optional<TPrinterInfo2> GetInfo2() override {
        if (m_Queue.empty()) return Fail(kErrorInvalidHandle, std::optional<TPrinterInfo2>());
        auto queue = QueryQueue(*m_pConnection, m_Queue);
        if (!queue) return std::nullopt;
        TPrinterInfo2 info;
        info.printerName = queue->name;
        info.portName = PortNameForDeviceUri(queue->deviceUri,
                                             ScanUsblpDevices(m_Spooler.Usb(), m_Spooler.Folders()),
                                             queue->channel);
        info.driverName = queue->makeAndModel;
        info.attributes = queue->stopped ? kPrinterAttributeWorkOffline : 0;
        info.jobs = queue->queuedJobs;
        return info;
    }

    std::optional<TDriverInfo6> GetDriverInfo6(const std::string&) override {
        if (m_Queue.empty()) return Fail(kErrorInvalidHandle, std::optional<TDriverInfo6>());
        auto queue = QueryQueue(*m_pConnection, m_Queue);
        if (!queue) return std::nullopt;
        if (queue->makeAndModel.empty())
            return Fail(kErrorUnknownPrinterDriver, std::optional<TDriverInfo6>());
        TDriverInfo6 info;
        info.driverName = queue->makeAndModel;
        if (std::string scheme = QueryPpdSchemeFile(*m_pConnection, m_Queue); !scheme.empty())
            info.dependentFiles.push_back(std::move(scheme));
        return info;
    }

    std::optional<std::vector<TJobInfo1>> GetJobs(std::uint32_t firstJob,
                                                  std::uint32_t count) override {
        using TJobs = std::optional<std::vector<TJobInfo1>>;
        if (m_Queue.empty()) return Fail(kErrorInvalidHandle, TJobs());
        auto all = QueryOpenJobs(*m_pConnection, m_Queue);
        if (!all) return std::nullopt;
        std::vector<TJobInfo1> jobs;
        for (std::size_t i = firstJob; i < all->size() && jobs.size() < count; ++i)
            jobs.push_back((*all)[i]);
        return jobs;
    }

    TSysError GetData(const std::string& valueName, std::uint32_t& type,
                      std::span<std::uint8_t> buffer, std::uint32_t& needed) override {
        if (m_Queue.empty()) return kErrorFileNotFound;
        if (IsMonitorTrigger(valueName)) {
            auto queue = QueryQueue(*m_pConnection, m_Queue);
            if (!queue) return GetThreadLastError();
            return m_Spooler.Monitor().Answer(queue->name, queue->deviceUri, queue->channel,
                                              valueName, type, buffer, needed);
        }
        return m_Spooler.Data().Get(m_Queue, valueName, type, buffer, needed);
    }

    TSysError SetData(const std::string& valueName, std::uint32_t type,
                      std::span<const std::uint8_t> data) override {
        if (m_Queue.empty()) return kErrorInvalidHandle;
        if (m_Access != TPrinterAccess::Full) return kErrorAccessDenied;
        return m_Spooler.Data().Set(m_Queue, valueName, type, data);
    }

    std::uint32_t StartDocument(const std::string& documentName, const std::string&,
                                const std::string& dataType) override {
        if (m_Queue.empty() || m_iJob > 0) return Fail(kErrorInvalidHandle, 0u);
        if (!SameTextNoCase(dataType, "RAW")) return Fail(kErrorInvalidParameter, 0u);
        m_pConnection->StartRequest();
        const int job =
            cupsCreateJob(m_pConnection->Http(), m_Queue.c_str(), documentName.c_str(), 0, nullptr);
        if (job <= 0) return FailRequest(0u);
        m_pConnection->StartRequest();
        if (cupsStartDocument(m_pConnection->Http(), m_Queue.c_str(), job, documentName.c_str(),
                              CUPS_FORMAT_RAW, 1) != HTTP_STATUS_CONTINUE) {
            const std::uint32_t failed = FailRequest(0u);
            m_pConnection->StartRequest();
            cupsCancelJob2(m_pConnection->Http(), m_Queue.c_str(), job, 0);
            return failed;
        }
        m_iJob = job;
        return static_cast<std::uint32_t>(job);
    }

    bool StartPage() override { return m_iJob > 0 ? true : Fail(kErrorSplNoStartDoc, false); }

    bool WriteData(std::span<const std::uint8_t> data, std::uint32_t& written) override {
        written = 0;
        if (m_iJob <= 0) return Fail(kErrorSplNoStartDoc, false);
        m_pConnection->StartRequest();
        if (!data.empty() &&
            cupsWriteRequestData(m_pConnection->Http(), reinterpret_cast<const char*>(data.data()),
                                 data.size()) != HTTP_STATUS_CONTINUE)
            return Fail(kErrorWriteFault, false);
        written = static_cast<std::uint32_t>(data.size());
        return true;
    }

    bool EndPage() override { return m_iJob > 0 ? true : Fail(kErrorSplNoStartDoc, false); }

    bool EndDocument() override {
        if (m_iJob <= 0) return Fail(kErrorSplNoStartDoc, false);
        m_iJob = 0;
        m_pConnection->StartRequest();
        const ipp_status_t status = cupsFinishDocument(m_pConnection->Http(), m_Queue.c_str());
        if (status <= IPP_STATUS_OK_CONFLICTING) return true;
        return FailRequest(false);
    }

private:
    // The last request failed: the last-error value says why (a deadline that passed too).
    template <typename T>
    T FailRequest(T result) {
        m_pConnection->FailRequest(SysErrorFromIppStatus(cupsLastError()), "refused the job");
        return result;
    }

    TCupsSpooler& m_Spooler;
    std::unique_ptr<TCupsConnection> m_pConnection;
    std::string m_Queue;  // as the server spells it
    TPrinterAccess m_Access;
    int m_iJob = 0;  // the job of the open document
};

}  // namespace

std::unique_ptr<TPrinterHandle> TCupsSpooler::Open(const std::string& printerName,
                                                   TPrinterAccess access) {
    auto connection = std::make_unique<TCupsConnection>();
    if (printerName.empty())
        return std::make_unique<TCupsPrinterHandle>(*this, std::move(connection), "", access);
    if (!IsCupsQueueName(printerName))
        return Fail(kErrorInvalidPrinterName, std::unique_ptr<TPrinterHandle>());
    if (!connection->Connect()) return nullptr;
    auto queue = QueryQueue(*connection, printerName);
    if (!queue) return nullptr;
    if (access == TPrinterAccess::Full && !MayAdminister(*connection)) return nullptr;
    return std::make_unique<TCupsPrinterHandle>(*this, std::move(connection), queue->name, access);
}

std::optional<std::vector<std::string>> TCupsSpooler::EnumPrinterNames() {
    TCupsConnection connection;
    if (!connection.Connect()) return std::nullopt;
    return QueryQueueNames(connection);
}

std::optional<std::string> TCupsSpooler::GetDeviceKey(const std::string& printerName) {
    if (!IsCupsQueueName(printerName)) return std::nullopt;
    TCupsConnection connection;
    if (!connection.Connect()) return std::nullopt;
    const auto queue = QueryQueue(connection, printerName);
    if (!queue) return std::nullopt;
    return DeviceKeyForQueue(queue->deviceUri, ScanUsblpDevices(m_Usb, m_Folders), queue->channel);
}

std::optional<std::string> TCupsSpooler::GetDriverDirectory(const std::string&) {
    const char* directory = std::getenv(kDriverDirVariable);
    if (directory && *directory) return std::string(directory);
    // An installed program's own: PREFIX/share/printer-settings/drivers.
    const std::filesystem::path data = ProgramDataFolder();
    std::error_code ec;
    if (!data.empty() && std::filesystem::is_directory(data / "drivers", ec))
        return (data / "drivers").string();
    return std::string(kDefaultDriverDir);
}

}  // namespace ps
