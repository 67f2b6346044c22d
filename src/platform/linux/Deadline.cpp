// SPDX-License-Identifier: MIT
// Waiting on a descriptor until a deadline of the platform clock.
#include "platform/linux/Deadline.h"

#include <algorithm>
#include <cerrno>

namespace ps {

bool WaitUntilReady(TClock& clock, std::uint64_t deadlineMs,
                    const std::function<int(int sliceMs)>& poll) {
    constexpr std::uint64_t kSliceMs = 20;
    for (;;) {
        const std::uint64_t now = clock.NowMs();
        if (now >= deadlineMs) return false;
        const auto slice = static_cast<int>(std::min(deadlineMs - now, kSliceMs));
        const int ready = poll(slice);
        if (ready > 0 || (ready < 0 && errno != EINTR)) return true;
        if (clock.NowMs() == now) clock.Sleep(static_cast<std::uint32_t>(slice));
    }
}

}  // namespace ps
