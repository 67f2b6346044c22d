// SPDX-License-Identifier: MIT
// The web addresses a desktop shell may be handed.
#pragma once

#include <string_view>

namespace ps {

/// True for an address the shell may hand on: http:// or https:// and a host, printable ASCII
/// without blanks (nothing a handler could take as an option or a local file).
bool IsWebAddress(std::string_view url);

}  // namespace ps
