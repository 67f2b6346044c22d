// SPDX-License-Identifier: MIT
// The port monitor's side of the monitor block, shared by the monitors that run in the process
// (Linux, Windows for printers on its standard ports, the emulation): the block's layout, its
// header, the printer it names and the registry value that triggers an exchange. The program's side
// stays in the transport, so a layout mistake there is not mirrored here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/PlatformTypes.h"

namespace ps {

class TKernel;

inline constexpr std::size_t kMonitorBlockBytes = 65536;
inline constexpr std::size_t kMonitorNameOffset = 64;
inline constexpr std::size_t kMonitorNameBytes = 64;
inline constexpr std::size_t kMonitorDataOffset = 128;
inline constexpr std::size_t kMonitorDataCapacity = kMonitorBlockBytes - kMonitorDataOffset;

/// What the program asks of the monitor.
struct TMonitorRequest {
    std::size_t commandLength = 0;  // command bytes at kMonitorDataOffset
    std::size_t wanted = 0;         // reply bytes asked for (0: none)
};

/// Reads the block's header and clears its reply length. Nothing for a block that is too small,
/// announces another size, a negative length or a command longer than the data area, or does
/// not name `printerName` (a name cut to the field's 31 characters names it too).
std::optional<TMonitorRequest> TakeMonitorRequest(std::span<std::uint8_t> block,
                                                  const std::string& printerName);

/// Stores the reply length (the caller has put the reply at kMonitorDataOffset).
void SetMonitorReplyLength(std::span<std::uint8_t> block, std::size_t length);

/// True for the registry value name of an exchange ("...\DOZIV_EDI1", any case).
bool IsMonitorTrigger(std::string_view valueName);

/// Answers the trigger value: opens the named block, runs `exchange` on it and returns its
/// outcome as the DWORD 1 or 0.
TSysError AnswerMonitorTrigger(TKernel& kernel, const std::string& valueName, std::uint32_t& type,
                               std::span<std::uint8_t> buffer, std::uint32_t& needed,
                               const std::function<bool(std::span<std::uint8_t>)>& exchange);

}  // namespace ps
