// SPDX-License-Identifier: MIT
// Printers through winspool: details, jobs, printer data, raw jobs, and the monitor trigger.
#include "platform/win32/Win32Spooler.h"

#include <vector>

#include "base/AsciiText.h"
#include "base/os/Win32Text.h"
#include "platform/MonitorBlock.h"
#include "platform/win32/Win32Errors.h"
#include "platform/win32/Win32Handles.h"

namespace ps::win32 {
namespace {

template <typename T>
T FailWith(DWORD error, T result) {
    Fail(error);
    return result;
}

// Asks `call(buffer, size, needed)` for its size first, then for the data; the answer may grow
// between the two calls (a job added meanwhile), so a short buffer is asked again.
template <typename Call>
std::optional<std::vector<BYTE>> SizedQuery(Call call) {
    DWORD needed = 0;
    std::vector<BYTE> buffer;
    for (int attempt = 0; attempt < 4; ++attempt) {
        if (call(buffer.empty() ? nullptr : buffer.data(), static_cast<DWORD>(buffer.size()),
                 needed))
            return buffer;
        const DWORD error = GetLastError();
        if (error != ERROR_INSUFFICIENT_BUFFER || needed <= buffer.size()) {
            Fail(error);
            return std::nullopt;
        }
        buffer.assign(needed, 0);
    }
    Fail(ERROR_INSUFFICIENT_BUFFER);
    return std::nullopt;
}

std::string Text(const wchar_t* text) {
    return text ? Narrow(text) : std::string();
}

// A sequence of zero-terminated texts that ends with an empty one.
std::vector<std::string> MultiText(const wchar_t* text) {
    std::vector<std::string> texts;
    while (text && *text) {
        const std::wstring_view one(text);
        texts.push_back(Narrow(one));
        text += one.size() + 1;
    }
    return texts;
}

std::optional<std::wstring> OptionalWide(const std::string& text) {
    if (text.empty()) return std::nullopt;
    return Widen(text);
}

class TWin32PrinterHandle : public TPrinterHandle {
public:
    TWin32PrinterHandle(TWin32Spooler& spooler, TPrinter printer, std::string name)
        : m_Spooler(spooler), m_Printer(std::move(printer)), m_Name(std::move(name)) {}

    ~TWin32PrinterHandle() override {
        // A document left open is finished, as closing the handle would end its job.
        if (m_bInPage) EndPagePrinter(m_Printer.Get());
        if (m_bInDocument) EndDocPrinter(m_Printer.Get());
    }

    std::optional<TPrinterInfo2> GetInfo2() override {
        auto data = SizedQuery([&](BYTE* buffer, DWORD size, DWORD& needed) {
            return GetPrinterW(m_Printer.Get(), 2, buffer, size, &needed);
        });
        if (!data || data->size() < sizeof(PRINTER_INFO_2W))
            return data ? FailWith(ERROR_INVALID_DATA, std::optional<TPrinterInfo2>())
                        : std::nullopt;
        const auto* info = reinterpret_cast<const PRINTER_INFO_2W*>(data->data());
        TPrinterInfo2 result;
        result.printerName = Text(info->pPrinterName);
        result.portName = Text(info->pPortName);
        result.driverName = Text(info->pDriverName);
        result.attributes = info->Attributes;
        result.status = info->Status;
        result.jobs = info->cJobs;
        return result;
    }

    std::optional<TDriverInfo6> GetDriverInfo6(const std::string& environment) override {
        auto env = OptionalWide(environment);
        auto data = SizedQuery([&](BYTE* buffer, DWORD size, DWORD& needed) {
            return GetPrinterDriverW(m_Printer.Get(), env ? env->data() : nullptr, 6, buffer, size,
                                     &needed);
        });
        if (!data || data->size() < sizeof(DRIVER_INFO_6W))
            return data ? FailWith(ERROR_INVALID_DATA, std::optional<TDriverInfo6>())
                        : std::nullopt;
        const auto* info = reinterpret_cast<const DRIVER_INFO_6W*>(data->data());
        return TDriverInfo6{Text(info->pName), MultiText(info->pDependentFiles)};
    }

    std::optional<std::vector<TJobInfo1>> GetJobs(std::uint32_t firstJob,
                                                  std::uint32_t count) override {
        DWORD returned = 0;
        auto data = SizedQuery([&](BYTE* buffer, DWORD size, DWORD& needed) {
            return EnumJobsW(m_Printer.Get(), firstJob, count, 1, buffer, size, &needed, &returned);
        });
        if (!data) return std::nullopt;
        std::vector<TJobInfo1> jobs;
        const auto* info = reinterpret_cast<const JOB_INFO_1W*>(data->data());
        for (DWORD i = 0; i < returned && (i + 1) * sizeof(JOB_INFO_1W) <= data->size(); ++i) {
            jobs.push_back({info[i].JobId, Text(info[i].pPrinterName), Text(info[i].pDocument),
                            Text(info[i].pDatatype), info[i].Status});
        }
        return jobs;
    }

    TSysError GetData(const std::string& valueName, std::uint32_t& type,
                      std::span<std::uint8_t> buffer, std::uint32_t& needed) override {
        if (IsMonitorTrigger(valueName) && !m_Name.empty()) {
            if (auto info = GetInfo2()) {
                const auto target =
                    InProcessLinkTarget(info->portName, m_Spooler.FactsOfPort(info->portName));
                if (target)
                    return m_Spooler.Monitor().Answer(m_Name, *target, valueName, type, buffer,
                                                      needed);
            }
        }
        DWORD valueType = 0;
        DWORD size = 0;
        const DWORD error =
            GetPrinterDataW(m_Printer.Get(), Widen(valueName).data(), &valueType, buffer.data(),
                            static_cast<DWORD>(buffer.size()), &size);
        if (error == ERROR_SUCCESS || error == ERROR_MORE_DATA) {
            type = valueType;
            needed = size;
        }
        return error;
    }

    TSysError SetData(const std::string& valueName, std::uint32_t type,
                      std::span<const std::uint8_t> data) override {
        return SetPrinterDataW(m_Printer.Get(), Widen(valueName).data(), type,
                               const_cast<std::uint8_t*>(data.data()),
                               static_cast<DWORD>(data.size()));
    }

    std::uint32_t StartDocument(const std::string& documentName, const std::string& outputFile,
                                const std::string& dataType) override {
        std::wstring name = Widen(documentName);
        auto output = OptionalWide(outputFile);
        std::wstring type = Widen(dataType);
        DOC_INFO_1W document{name.data(), output ? output->data() : nullptr, type.data()};
        const DWORD job = StartDocPrinterW(m_Printer.Get(), 1, reinterpret_cast<BYTE*>(&document));
        if (job == 0) return FailWith(GetLastError(), 0u);
        m_bInDocument = true;
        return job;
    }

    bool StartPage() override {
        if (!StartPagePrinter(m_Printer.Get())) return FailWithLastError();
        m_bInPage = true;
        return true;
    }

    // WritePrinter may take less than it was given: the rest follows until all is written or
    // a call takes nothing.
    bool WriteData(std::span<const std::uint8_t> data, std::uint32_t& written) override {
        written = 0;
        while (written < data.size()) {
            const auto rest = data.subspan(written);
            DWORD n = 0;
            const DWORD size = static_cast<DWORD>(std::min<std::size_t>(rest.size(), 0x7FFFFFFF));
            if (!WritePrinter(m_Printer.Get(), const_cast<std::uint8_t*>(rest.data()), size, &n))
                return FailWithLastError();
            if (n == 0) return Fail(ERROR_WRITE_FAULT);
            written += n;
        }
        return true;
    }

    bool EndPage() override {
        m_bInPage = false;
        return EndPagePrinter(m_Printer.Get()) || FailWithLastError();
    }

    bool EndDocument() override {
        m_bInDocument = false;
        return EndDocPrinter(m_Printer.Get()) || FailWithLastError();
    }

private:
    TWin32Spooler& m_Spooler;
    TPrinter m_Printer;
    std::string m_Name;  // empty for the print server
    bool m_bInDocument = false;
    bool m_bInPage = false;
};

}  // namespace

std::optional<std::string> InProcessLinkTarget(const std::string& portName,
                                               const TPortFacts& facts) {
    if (SameTextNoCase(facts.monitorName, kUsbPortMonitor)) return "usb:" + portName;
    if (SameTextNoCase(facts.monitorName, kTcpPortMonitor) && facts.tcp && facts.tcp->raw)
        return "tcp:" + facts.tcp->host + ":" + std::to_string(facts.tcp->port);
    return std::nullopt;
}

std::unique_ptr<TPrinterHandle> TWin32Spooler::Open(const std::string& printerName,
                                                    TPrinterAccess access) {
    std::wstring name = Widen(printerName);
    PRINTER_DEFAULTSW full{nullptr, nullptr, PRINTER_ALL_ACCESS};
    HANDLE handle = nullptr;
    if (!OpenPrinterW(printerName.empty() ? nullptr : name.data(), &handle,
                      access == TPrinterAccess::Full ? &full : nullptr)) {
        FailWithLastError();
        return nullptr;
    }
    return std::make_unique<TWin32PrinterHandle>(*this, TPrinter(handle), printerName);
}

std::optional<std::string> TWin32Spooler::GetDriverDirectory(const std::string& environment) {
    auto env = OptionalWide(environment);
    auto data = SizedQuery([&](BYTE* buffer, DWORD size, DWORD& needed) {
        return GetPrinterDriverDirectoryW(nullptr, env ? env->data() : nullptr, 1, buffer, size,
                                          &needed);
    });
    if (!data) return std::nullopt;
    return NarrowField(reinterpret_cast<const wchar_t*>(data->data()),
                       data->size() / sizeof(wchar_t));
}

std::optional<std::vector<std::string>> TWin32Spooler::EnumPrinterNames() {
    DWORD returned = 0;
    auto data = SizedQuery([&](BYTE* buffer, DWORD size, DWORD& needed) {
        return EnumPrintersW(PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS, nullptr, 4, buffer,
                             size, &needed, &returned);
    });
    if (!data) return std::nullopt;
    std::vector<std::string> names;
    const auto* info = reinterpret_cast<const PRINTER_INFO_4W*>(data->data());
    for (DWORD i = 0; i < returned && (i + 1) * sizeof(PRINTER_INFO_4W) <= data->size(); ++i)
        names.push_back(Text(info[i].pPrinterName));
    return names;
}

TPortFacts SpoolerFactsOfPort(const std::string& portName) {
    TPortFacts facts;
    DWORD returned = 0;
    auto data = SizedQuery([&](BYTE* buffer, DWORD size, DWORD& needed) {
        return EnumPortsW(nullptr, 2, buffer, size, &needed, &returned);
    });
    if (!data) return facts;
    const auto* ports = reinterpret_cast<const PORT_INFO_2W*>(data->data());
    for (DWORD i = 0; i < returned && (i + 1) * sizeof(PORT_INFO_2W) <= data->size(); ++i) {
        if (SameTextNoCase(Text(ports[i].pPortName), portName)) {
            facts.monitorName = Text(ports[i].pMonitorName);
            break;
        }
    }
    if (SameTextNoCase(facts.monitorName, kTcpPortMonitor)) {
        HKEY opened = nullptr;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kTcpPortsKey, 0, KEY_READ, &opened) ==
            ERROR_SUCCESS) {
            TRegKey tcpPorts(opened);
            facts.tcp = ReadStandardTcpPort(tcpPorts.Get(), portName);
        }
    }
    return facts;
}

}  // namespace ps::win32
