// SPDX-License-Identifier: MIT
// The one raw spooler job sender: bytes as a one-page "RAW" document.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace ps {

/// Opens the printer with default access and sends `data` as a one-page raw document named
/// `documentName`. A document or page that cannot be started is still written and closed: the
/// data write alone decides, so a job that never reached the spooler never counts as sent, and
/// neither does one of which the spooler took only a part.
bool SendRawDocument(const std::string& printerName, const std::string& documentName,
                     std::span<const std::uint8_t> data);

}  // namespace ps
