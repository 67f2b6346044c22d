// SPDX-License-Identifier: MIT
// The questions the spooler asks a CUPS server, each one IPP or HTTP request.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/PlatformSpooler.h"

typedef struct _http_s http_t;

namespace ps {

/// How long a request to the CUPS server may take, connecting included; a server that takes
/// longer is taken as one that did not answer.
inline constexpr std::uint32_t kCupsRequestTimeoutMs = 10000;

/// A connection to the CUPS server the user's settings name (CUPS_SERVER, client.conf, or the
/// local one). Never asks for a password: where the server wants one, the request is refused.
/// Every request on it has a deadline of `timeoutMs`: a server that accepts the connection and
/// never answers fails the request then.
class TCupsConnection {
public:
    explicit TCupsConnection(std::uint32_t timeoutMs = kCupsRequestTimeoutMs)
        : m_dwTimeoutMs(timeoutMs) {}
    ~TCupsConnection();
    TCupsConnection(const TCupsConnection&) = delete;
    TCupsConnection& operator=(const TCupsConnection&) = delete;

    /// Connects; false (last-error value set, its text naming the server and the reason) when
    /// the server cannot be reached.
    bool Connect();
    http_t* Http() const { return m_pHttp; }
    /// The server as the messages name it: "HOST:PORT", or the path of a local socket.
    const std::string& Server() const { return m_strServer; }

    /// Starts the deadline of the next request.
    void StartRequest();
    /// Sets the last-error value for a request that failed with `status` (an IPP or HTTP
    /// status): a request that ran out of time says the server did not answer within the
    /// deadline; otherwise `what` and the server's own text.
    void FailRequest(TSysError error, const std::string& what);

    /// The deadline in words: "10 s".
    std::string DeadlineText() const;

private:
    static int StillWaiting(http_t* http, void* connection);

    std::uint32_t m_dwTimeoutMs;
    std::uint64_t m_qwDeadlineMs = 0;
    bool m_bTimedOut = false;
    std::string m_strServer;
    http_t* m_pHttp = nullptr;
};

/// What the spooler reads of a queue.
struct TCupsQueue {
    std::string name;          // printer-name as the server spells it
    std::string deviceUri;     // device-uri
    std::string makeAndModel;  // printer-make-and-model
    bool stopped = false;      // printer-state 5
    std::uint32_t queuedJobs = 0;
    /// The command channel the administrator named for the queue (kChannelOption), as the
    /// server returns it; untrusted text.
    std::string channel;
};

/// True when `name` can be a CUPS queue name: 1-127 bytes, no blank, no control character and
/// none of / \ # ? ' ".
bool IsCupsQueueName(const std::string& name);

/// The queue's attributes; nothing (last-error value set: kErrorInvalidPrinterName when the
/// server has no such queue) on failure.
std::optional<TCupsQueue> QueryQueue(TCupsConnection& connection, const std::string& name);

/// The names of the server's queues, in the order the server lists them; nothing (last-error
/// value set) when it cannot be asked.
std::optional<std::vector<std::string>> QueryQueueNames(TCupsConnection& connection);

/// The queue's jobs that are not completed (pending, held, processing, stopped), oldest first.
std::optional<std::vector<TJobInfo1>> QueryOpenJobs(TCupsConnection& connection,
                                                    const std::string& name);

/// True when the server takes this user as an administrator: it hands out its configuration,
/// which the standard policy keeps for the SystemGroup (root, lpadmin).
bool MayAdminister(TCupsConnection& connection);

/// Longest PPD read from the server; a larger one is taken as no PPD.
inline constexpr std::size_t kMaxPpdBytes = 4u << 20;

/// The scheme file the queue's PPD names with *PrinterSettingsScheme: "/absolute/path";
/// empty when the queue has no PPD, the PPD is larger than kMaxPpdBytes, the keyword is missing
/// or the path is not absolute.
std::string QueryPpdSchemeFile(TCupsConnection& connection, const std::string& name);

/// The value of *PrinterSettingsScheme in PPD text (first occurrence), when absolute and free
/// of control characters.
std::string PpdSchemeFile(std::string_view ppd);

}  // namespace ps
