// SPDX-License-Identifier: MIT
// The native Linux platform.
#pragma once

#include <memory>

#include "platform/Platform.h"

namespace ps {

std::unique_ptr<TPlatform> MakeNativePlatform();

}  // namespace ps
