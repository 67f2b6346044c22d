// SPDX-License-Identifier: MIT
// IPP and HTTP requests to a CUPS server.
#include "platform/linux/CupsRequests.h"

#include <cups/cups.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <array>

#include "platform/linux/LinuxErrors.h"

namespace ps {
namespace {

constexpr int kConnectTimeoutMs = 10000;
constexpr std::size_t kMaxPpdBytes = 4 << 20;
constexpr int kPrinterStateStopped = 5;

// Never prompt on a terminal: a request that needs a password is refused.
const char* NoPassword(const char*, http_t*, const char*, const char*, void*) {
    return nullptr;
}

std::string PrinterUri(const std::string& name) {
    char uri[1024];
    httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", ippPort(),
                     "/printers/%s", name.c_str());
    return uri;
}

std::string StringOf(ipp_t* response, const char* name) {
    ipp_attribute_t* attr = ippFindAttribute(response, name, IPP_TAG_ZERO);
    const char* text = attr ? ippGetString(attr, 0, nullptr) : nullptr;
    return text ? text : "";
}

int IntegerOf(ipp_t* response, const char* name) {
    ipp_attribute_t* attr = ippFindAttribute(response, name, IPP_TAG_ZERO);
    return attr ? ippGetInteger(attr, 0) : 0;
}

// Sends a request and keeps the answer only when it succeeded.
ipp_t* Ask(TCupsConnection& connection, ipp_t* request) {
    ipp_t* response = cupsDoRequest(connection.Http(), request, "/");
    const ipp_status_t status = cupsLastError();
    if (status <= IPP_STATUS_OK_CONFLICTING && response) return response;
    ippDelete(response);
    const char* text = cupsLastErrorString();
    SetThreadLastError(SysErrorFromIppStatus(status),
                       std::string("the CUPS server refused: ") + (text ? text : "no answer"));
    return nullptr;
}

}  // namespace

TCupsConnection::~TCupsConnection() {
    if (m_pHttp) httpClose(m_pHttp);
}

bool TCupsConnection::Connect() {
    cupsSetPasswordCB2(NoPassword, nullptr);
    m_pHttp = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1,
                           kConnectTimeoutMs, nullptr);
    if (m_pHttp) return true;
    SetThreadLastError(kErrorFileNotFound, std::string("cannot reach the CUPS server ") +
                                               cupsServer() + ": " + cupsLastErrorString());
    return false;
}

bool IsCupsQueueName(const std::string& name) {
    if (name.empty() || name.size() > 127) return false;
    for (char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= 0x20 || byte == 0x7F || c == '/' || c == '#' || c == '\\' || c == '?' ||
            c == '\'' || c == '"')
            return false;
    }
    return true;
}

std::optional<TCupsQueue> QueryQueue(TCupsConnection& connection, const std::string& name) {
    static const char* const kAttributes[] = {"printer-name", "device-uri",
                                              "printer-make-and-model", "printer-state",
                                              "queued-job-count"};
    ipp_t* request = ippNewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr,
                 PrinterUri(name).c_str());
    ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes",
                  static_cast<int>(std::size(kAttributes)), nullptr, kAttributes);
    ipp_t* response = Ask(connection, request);
    if (!response) return std::nullopt;
    TCupsQueue queue;
    queue.name = StringOf(response, "printer-name");
    if (queue.name.empty()) queue.name = name;
    queue.deviceUri = StringOf(response, "device-uri");
    queue.makeAndModel = StringOf(response, "printer-make-and-model");
    queue.stopped = IntegerOf(response, "printer-state") == kPrinterStateStopped;
    queue.queuedJobs =
        static_cast<std::uint32_t>(std::max(0, IntegerOf(response, "queued-job-count")));
    ippDelete(response);
    return queue;
}

std::optional<std::vector<std::string>> QueryQueueNames(TCupsConnection& connection) {
    static const char* const kAttributes[] = {"printer-name"};
    ipp_t* request = ippNewRequest(IPP_OP_CUPS_GET_PRINTERS);
    ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes",
                  static_cast<int>(std::size(kAttributes)), nullptr, kAttributes);
    ipp_t* response = cupsDoRequest(connection.Http(), request, "/");
    const ipp_status_t status = cupsLastError();
    std::vector<std::string> names;
    // A server without queues answers "not found": an empty list, not a failure.
    if (status == IPP_STATUS_ERROR_NOT_FOUND) {
        ippDelete(response);
        return names;
    }
    if (status > IPP_STATUS_OK_CONFLICTING || !response) {
        ippDelete(response);
        const char* text = cupsLastErrorString();
        SetThreadLastError(SysErrorFromIppStatus(status),
                           std::string("the CUPS server refused: ") + (text ? text : "no answer"));
        return std::nullopt;
    }
    for (ipp_attribute_t* attr = ippFindAttribute(response, "printer-name", IPP_TAG_NAME); attr;
         attr = ippFindNextAttribute(response, "printer-name", IPP_TAG_NAME))
        if (const char* name = ippGetString(attr, 0, nullptr)) names.emplace_back(name);
    ippDelete(response);
    return names;
}

std::optional<std::vector<TJobInfo1>> QueryOpenJobs(TCupsConnection& connection,
                                                    const std::string& name) {
    static const char* const kAttributes[] = {"job-id", "job-name", "job-state", "document-format"};
    ipp_t* request = ippNewRequest(IPP_OP_GET_JOBS);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr,
                 PrinterUri(name).c_str());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "which-jobs", nullptr,
                 "not-completed");
    ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes",
                  static_cast<int>(std::size(kAttributes)), nullptr, kAttributes);
    ipp_t* response = Ask(connection, request);
    if (!response) return std::nullopt;
    std::vector<TJobInfo1> jobs;
    TJobInfo1* job = nullptr;
    for (ipp_attribute_t* attr = ippFirstAttribute(response); attr;
         attr = ippNextAttribute(response)) {
        const char* attrName = ippGetName(attr);
        if (ippGetGroupTag(attr) != IPP_TAG_JOB || !attrName) {
            job = nullptr;  // a separator between two jobs
            continue;
        }
        if (!job) {
            jobs.emplace_back();
            job = &jobs.back();
            job->printerName = name;
            job->dataType = "RAW";
        }
        const std::string key = attrName;
        if (key == "job-id") job->jobId = static_cast<std::uint32_t>(ippGetInteger(attr, 0));
        if (key == "job-state") job->status = static_cast<std::uint32_t>(ippGetInteger(attr, 0));
        if (key == "job-name" && ippGetString(attr, 0, nullptr))
            job->document = ippGetString(attr, 0, nullptr);
        if (key == "document-format" && ippGetString(attr, 0, nullptr))
            job->dataType = ippGetString(attr, 0, nullptr);
    }
    ippDelete(response);
    return jobs;
}

bool MayAdminister(TCupsConnection& connection) {
    const int sink = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (sink < 0) return FailWithErrno(errno);
    const http_status_t status = cupsGetFd(connection.Http(), "/admin/conf/cupsd.conf", sink);
    ::close(sink);
    if (status == HTTP_STATUS_OK) return true;
    SetThreadLastError(kErrorAccessDenied,
                       "the CUPS server does not take this user as a printer administrator");
    return false;
}

std::string PpdSchemeFile(std::string_view ppd) {
    constexpr std::string_view kKeyword = "*PrinterSettingsScheme:";
    std::size_t at = 0;
    while ((at = ppd.find(kKeyword, at)) != std::string_view::npos) {
        if (at == 0 || ppd[at - 1] == '\n' || ppd[at - 1] == '\r') break;
        at += kKeyword.size();
    }
    if (at == std::string_view::npos) return {};
    std::string_view rest = ppd.substr(at + kKeyword.size());
    const auto open = rest.find('"');
    if (open == std::string_view::npos) return {};
    rest.remove_prefix(open + 1);
    const auto close = rest.find('"');
    if (close == std::string_view::npos) return {};
    const std::string path(rest.substr(0, close));
    if (path.empty() || path[0] != '/' || path.size() > 4096) return {};
    for (char c : path) {
        if (static_cast<unsigned char>(c) < 0x20) return {};
    }
    return path;
}

std::string QueryPpdSchemeFile(TCupsConnection& connection, const std::string& name) {
    // The PPD goes to memory of this process only, and is read no further than a PPD goes.
    const int fd = ::memfd_create("printer-settings-ppd", MFD_CLOEXEC);
    if (fd < 0) return {};
    std::string text;
    if (cupsGetFd(connection.Http(), ("/printers/" + name + ".ppd").c_str(), fd) ==
        HTTP_STATUS_OK) {
        text.resize(kMaxPpdBytes);
        const ssize_t n = ::pread(fd, text.data(), text.size(), 0);
        text.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    }
    ::close(fd);
    return PpdSchemeFile(text);
}

}  // namespace ps
