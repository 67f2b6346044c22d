// SPDX-License-Identifier: MIT
// Named shared memory that lives inside this process: the table of names a kernel keeps where
// the port monitor runs in-process, so no other process can see, predict or resize a block.
#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "platform/Platform.h"

namespace ps {

/// Named blocks of zero-filled memory, shared by every handle of the same name in this
/// process. A block goes when its last handle and view are gone, as a Win32 section does.
/// Thread-safe.
class TProcessSharedMemory {
public:
    /// The block of `name`, made with `size` bytes when there is none. Fails with
    /// kErrorInvalidParameter for an empty name or size 0, and with kErrorInsufficientBuffer
    /// when the existing block is smaller than `size`.
    std::unique_ptr<TSharedMemory> Create(const std::string& name, std::size_t size);
    /// The existing block of `name`; nothing (kErrorFileNotFound) when there is none.
    std::unique_ptr<TSharedMemory> Open(const std::string& name);

private:
    struct TBlock;
    std::mutex m_Mutex;
    std::map<std::string, std::weak_ptr<TBlock>> m_Blocks;
};

}  // namespace ps
