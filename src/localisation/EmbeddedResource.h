// SPDX-License-Identifier: MIT
// Data carried inside the program (generated from resources/ at build time).
#pragma once

#include <span>
#include <string_view>

namespace ps {

/// The bytes of an embedded resource, or an empty span when there is none by that name.
std::span<const unsigned char> FindEmbeddedResource(std::string_view name);

}  // namespace ps
