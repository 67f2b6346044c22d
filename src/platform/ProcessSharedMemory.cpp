// SPDX-License-Identifier: MIT
// In-process named shared memory.
#include "platform/ProcessSharedMemory.h"

#include <vector>

namespace ps {

struct TProcessSharedMemory::TBlock {
    explicit TBlock(std::size_t size) : bytes(size, 0) {}
    std::vector<std::uint8_t> bytes;  // never resized: views hold spans of it
};

namespace {

template <typename TBlockPtr>
class TBlockView : public TMappedView {
public:
    explicit TBlockView(TBlockPtr block) : m_pBlock(std::move(block)) {}
    std::span<std::uint8_t> Bytes() override { return m_pBlock->bytes; }

private:
    TBlockPtr m_pBlock;  // a view keeps the memory alive, as a mapped section does
};

template <typename TBlockPtr>
class TBlockHandle : public TSharedMemory {
public:
    explicit TBlockHandle(TBlockPtr block) : m_pBlock(std::move(block)) {}
    std::unique_ptr<TMappedView> Map() override {
        return std::make_unique<TBlockView<TBlockPtr>>(m_pBlock);
    }

private:
    TBlockPtr m_pBlock;
};

}  // namespace

std::unique_ptr<TSharedMemory> TProcessSharedMemory::Create(const std::string& name,
                                                            std::size_t size) {
    if (name.empty() || size == 0) {
        SetThreadLastError(kErrorInvalidParameter);
        return nullptr;
    }
    std::lock_guard lock(m_Mutex);
    std::shared_ptr<TBlock> block = m_Blocks[name].lock();
    if (block && block->bytes.size() < size) {
        SetThreadLastError(kErrorInsufficientBuffer,
                           "the shared memory \"" + name + "\" exists with " +
                               std::to_string(block->bytes.size()) + " bytes, fewer than the " +
                               std::to_string(size) + " asked for");
        return nullptr;
    }
    if (!block) {
        block = std::make_shared<TBlock>(size);
        m_Blocks[name] = block;
    }
    return std::make_unique<TBlockHandle<std::shared_ptr<TBlock>>>(std::move(block));
}

std::unique_ptr<TSharedMemory> TProcessSharedMemory::Open(const std::string& name) {
    std::lock_guard lock(m_Mutex);
    auto it = m_Blocks.find(name);
    std::shared_ptr<TBlock> block = it == m_Blocks.end() ? nullptr : it->second.lock();
    if (!block) {
        if (it != m_Blocks.end()) m_Blocks.erase(it);
        SetThreadLastError(kErrorFileNotFound);
        return nullptr;
    }
    return std::make_unique<TBlockHandle<std::shared_ptr<TBlock>>>(std::move(block));
}

}  // namespace ps
