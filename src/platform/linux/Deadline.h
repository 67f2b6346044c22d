// SPDX-License-Identifier: MIT
// Waiting on a descriptor until a deadline of the platform clock.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/Platform.h"

namespace ps {

/// Calls `poll(sliceMs)` in slices of at most 20 ms until it reports readiness (> 0, or < 0
/// for an error the next call reports) or `deadlineMs` of `clock` has passed (false). A clock
/// that moves only when slept on (a virtual one) is slept on for each slice that found
/// nothing, so deadlines hold on it too.
bool WaitUntilReady(TClock& clock, std::uint64_t deadlineMs,
                    const std::function<int(int sliceMs)>& poll);

}  // namespace ps
