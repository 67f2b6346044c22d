// SPDX-License-Identifier: MIT
// Why the last exchange with a printer failed, in words a technician can act on: the backend or
// the transport notes it where the reason is known (the user may not administer printers, the
// device is busy, the connection was refused at HOST:PORT), and a caller that reports a failed
// exchange takes it, so it can say more than "did not answer".
#pragma once

#include <string>

namespace ps {

/// Notes the reason of a failed exchange; a later note replaces an earlier one. Any thread.
void NoteExchangeFailure(std::string reason);

/// The reason noted since the last take or clear, cleared by the call; empty when none.
std::string TakeExchangeFailure();

/// Forgets a reason noted earlier (before a series of exchanges whose failures are reported).
void ClearExchangeFailure();

}  // namespace ps
