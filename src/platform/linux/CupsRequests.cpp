// SPDX-License-Identifier: MIT
// IPP and HTTP requests to a CUPS server.
#include "platform/linux/CupsRequests.h"

#include <cups/cups.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/mman.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <chrono>
#include <cstring>

#include "platform/linux/DeviceUri.h"
#include "platform/linux/LinuxErrors.h"

namespace ps {
namespace {

constexpr int kPrinterStateStopped = 5;
// How often a silent server is looked at against the request's deadline.
constexpr double kWaitSliceSeconds = 0.25;

std::uint64_t SteadyNowMs() {
    return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                          std::chrono::steady_clock::now().time_since_epoch())
                                          .count());
}

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

// Why a connection to host:port fails, from an attempt of our own (libcups leaves an older
// error's number behind in some paths, "Host is down" for a refused connection): the errno, or
// 0 when the attempt ran out of `timeoutMs` or connected after all.
int ConnectError(const char* host, int port, std::uint64_t timeoutMs) {
    http_addrlist_t* addresses = httpAddrGetList(host, AF_UNSPEC, std::to_string(port).c_str());
    if (!addresses) return EHOSTUNREACH;
    int error = 0;
    const int fd =
        ::socket(httpAddrFamily(&addresses->addr), SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        error = errno;
    } else {
        if (::connect(fd, &addresses->addr.addr,
                      static_cast<socklen_t>(httpAddrLength(&addresses->addr))) != 0) {
            error = errno;
            if (error == EINPROGRESS) {
                pollfd entry{fd, POLLOUT, 0};
                error = 0;
                if (::poll(&entry, 1, static_cast<int>(timeoutMs)) > 0) {
                    socklen_t length = sizeof error;
                    ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length);
                }
            }
        }
        ::close(fd);
    }
    httpAddrFreeList(addresses);
    return error;
}

// Sends a request and keeps the answer only when it succeeded.
ipp_t* Ask(TCupsConnection& connection, ipp_t* request) {
    connection.StartRequest();
    ipp_t* response = cupsDoRequest(connection.Http(), request, "/");
    const ipp_status_t status = cupsLastError();
    if (status <= IPP_STATUS_OK_CONFLICTING && response) return response;
    ippDelete(response);
    connection.FailRequest(SysErrorFromIppStatus(status), "refused the request");
    return nullptr;
}

}  // namespace

TCupsConnection::~TCupsConnection() {
    if (m_pHttp) httpClose(m_pHttp);
}

int TCupsConnection::StillWaiting(http_t*, void* data) {
    auto* connection = static_cast<TCupsConnection*>(data);
    if (SteadyNowMs() < connection->m_qwDeadlineMs) return 1;
    connection->m_bTimedOut = true;
    return 0;
}

void TCupsConnection::StartRequest() {
    m_qwDeadlineMs = SteadyNowMs() + m_dwTimeoutMs;
    m_bTimedOut = false;
}

std::string TCupsConnection::DeadlineText() const {
    return std::to_string((m_dwTimeoutMs + 999) / 1000) + " s";
}

void TCupsConnection::FailRequest(TSysError error, const std::string& what) {
    if (m_bTimedOut) {
        SetThreadLastError(kErrorTimeout, "the CUPS server " + m_strServer +
                                              " did not answer within " + DeadlineText());
        return;
    }
    const char* text = cupsLastErrorString();
    SetThreadLastError(error, "the CUPS server " + m_strServer + " " + what +
                                  (text && *text ? std::string(": ") + text : std::string()));
}

bool TCupsConnection::Connect() {
    cupsSetPasswordCB2(NoPassword, nullptr);
    const char* host = cupsServer();
    const int port = ippPort();
    m_strServer = host[0] == '/' ? std::string(host) : host + (":" + std::to_string(port));
    // Made without connecting, so that the connection attempt has the request's deadline and
    // its failure its own reason (libcups keeps an older error's text otherwise).
    m_pHttp = httpConnect2(host, port, nullptr, AF_UNSPEC, cupsEncryption(), 1, 0, nullptr);
    if (!m_pHttp) {
        SetThreadLastError(kErrorFileNotFound, "the CUPS server " + m_strServer +
                                                   " cannot be found: its name does not resolve");
        return false;
    }
    httpSetTimeout(m_pHttp, kWaitSliceSeconds, StillWaiting, this);
    StartRequest();
    if (httpReconnect2(m_pHttp, static_cast<int>(m_dwTimeoutMs), nullptr) == 0) return true;
    httpClose(m_pHttp);
    m_pHttp = nullptr;
    const std::uint64_t now = SteadyNowMs();
    const int error = now < m_qwDeadlineMs ? ConnectError(host, port, m_qwDeadlineMs - now) : 0;
    SetThreadLastError(
        error ? SysErrorFromErrno(error) : kErrorTimeout,
        "cannot reach the CUPS server " + m_strServer + ": " +
            (error ? std::string(std::strerror(error)) : "no connection within " + DeadlineText()));
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
    static const char* const kAttributes[] = {"printer-name",           "device-uri",
                                              "printer-make-and-model", "printer-state",
                                              "queued-job-count",       kChannelOption};
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
    queue.channel = StringOf(response, kChannelOption);
    ippDelete(response);
    return queue;
}

std::optional<std::vector<std::string>> QueryQueueNames(TCupsConnection& connection) {
    static const char* const kAttributes[] = {"printer-name"};
    ipp_t* request = ippNewRequest(IPP_OP_CUPS_GET_PRINTERS);
    ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes",
                  static_cast<int>(std::size(kAttributes)), nullptr, kAttributes);
    connection.StartRequest();
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
        connection.FailRequest(SysErrorFromIppStatus(status), "refused to list its queues");
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
    connection.StartRequest();
    const http_status_t status = cupsGetFd(connection.Http(), "/admin/conf/cupsd.conf", sink);
    ::close(sink);
    if (status == HTTP_STATUS_OK) return true;
    // Refused, or a password asked for that nobody gives (this program never prompts).
    if (status == HTTP_STATUS_UNAUTHORIZED || status == HTTP_STATUS_FORBIDDEN ||
        status == HTTP_STATUS_CUPS_AUTHORIZATION_CANCELED) {
        const std::string user = cupsUser();
        SetThreadLastError(kErrorAccessDenied, "the CUPS server " + connection.Server() +
                                                   " does not take user " + user +
                                                   " as a printer administrator; add the user with "
                                                   "\"adduser " +
                                                   user + " lpadmin\" and log in again");
        return false;
    }
    connection.FailRequest(kErrorAccessDenied, "did not hand out its configuration");
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
    // The PPD goes to memory of this process only, sealed at one byte more than the bound: what
    // the server sends beyond it is read and dropped, so a huge PPD costs no memory.
    const int fd = ::memfd_create("printer-settings-ppd", MFD_CLOEXEC | MFD_ALLOW_SEALING);
    if (fd < 0) return {};
    std::string text;
    if (::ftruncate(fd, static_cast<off_t>(kMaxPpdBytes + 1)) == 0 &&
        ::fcntl(fd, F_ADD_SEALS, F_SEAL_GROW | F_SEAL_SHRINK) == 0) {
        connection.StartRequest();
        const http_status_t status =
            cupsGetFd(connection.Http(), ("/printers/" + name + ".ppd").c_str(), fd);
        const off_t length = ::lseek(fd, 0, SEEK_CUR);
        if (status == HTTP_STATUS_OK && length > 0 &&
            static_cast<std::size_t>(length) <= kMaxPpdBytes) {
            text.resize(static_cast<std::size_t>(length));
            const ssize_t n = ::pread(fd, text.data(), text.size(), 0);
            text.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
        }
    }
    ::close(fd);
    return PpdSchemeFile(text);
}

}  // namespace ps
