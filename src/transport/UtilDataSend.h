// SPDX-License-Identifier: MIT
// The port-monitor data channel: a command handed to the vendor's port monitor through named
// shared memory and a printer-data trigger; the "TimeData" printer data value; test prints.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace ps {

/// Shared block of the exchange: 65,536 bytes; little-endian integers.
inline constexpr std::int32_t kMonitorBlockSize = 65536;
inline constexpr std::size_t kMonitorOffsetSize = 0;  // block size
inline constexpr std::size_t kMonitorOffsetCommandLength = 4;
inline constexpr std::size_t kMonitorOffsetReplyLength = 8;   // in: wanted; out: stored
inline constexpr std::size_t kMonitorOffsetPrinterName = 64;  // UTF-16, zero-terminated
inline constexpr std::size_t kMonitorPrinterNameBytes = 64;
inline constexpr std::size_t kMonitorOffsetData = 128;  // in: command; out: reply
inline constexpr std::int32_t kMonitorDataCapacity = kMonitorBlockSize - 128;

/// The block's name for a terminal-services session: "Session\N\DOZIV_EDI1".
std::string MonitorBlockName(std::uint32_t sessionId);

/// One exchange through the vendor's port monitor. `command` and `reply` may be the same
/// buffer (the reply then overwrites the command). `replyLength` holds on entry the number of
/// reply bytes wanted (0: none), on return the number the monitor stored, capped at the wanted
/// number. True when the monitor answered the trigger with a non-zero lowest byte. A command
/// longer than the block holds, or a negative length, is refused. A printer name longer than
/// 31 UTF-16 units is cut to fit its field. Leaves the trigger query's return code as the
/// thread's last-error value. Blocks until the monitor answers; user-interface thread.
bool PortMonitorExchange(const std::string& printerName, const std::uint8_t* command,
                         std::int32_t commandLength, std::uint8_t* reply,
                         std::int32_t& replyLength);

/// Reads the printer data value "TimeData" into `buffer` of `size` bytes (full access).
bool GetTimeData(const std::string& printerName, std::uint8_t* buffer, std::uint32_t size);

/// Stores "TimeData" as a string value of `size` bytes of `text` (callers pass twice the
/// character count; more than the text holds is cut to the text).
bool SetTimeData(const std::string& printerName, std::u16string_view text, std::uint32_t size);

/// Sends `data` as the raw spooler job "Print test". True when the printer was opened and all
/// of the job's data was written.
bool SendTestPrintJob(const std::string& printerName, const std::uint8_t* data,
                      std::uint32_t length);

}  // namespace ps
