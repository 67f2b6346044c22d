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

/// A connection to the CUPS server the user's settings name (CUPS_SERVER, client.conf, or the
/// local one). Never asks for a password: where the server wants one, the request is refused.
class TCupsConnection {
public:
    TCupsConnection() = default;
    ~TCupsConnection();
    TCupsConnection(const TCupsConnection&) = delete;
    TCupsConnection& operator=(const TCupsConnection&) = delete;

    /// Connects; false (last-error value and its text set) when the server cannot be reached.
    bool Connect();
    http_t* Http() const { return m_pHttp; }

private:
    http_t* m_pHttp = nullptr;
};

/// What the spooler reads of a queue.
struct TCupsQueue {
    std::string name;          // printer-name as the server spells it
    std::string deviceUri;     // device-uri
    std::string makeAndModel;  // printer-make-and-model
    bool stopped = false;      // printer-state 5
    std::uint32_t queuedJobs = 0;
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

/// The scheme file the queue's PPD names with *PrinterSettingsScheme: "/absolute/path";
/// empty when the queue has no PPD, the keyword is missing or the path is not absolute.
std::string QueryPpdSchemeFile(TCupsConnection& connection, const std::string& name);

/// The value of *PrinterSettingsScheme in PPD text (first occurrence), when absolute and free
/// of control characters.
std::string PpdSchemeFile(std::string_view ppd);

}  // namespace ps
