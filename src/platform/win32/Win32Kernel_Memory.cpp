// SPDX-License-Identifier: MIT
// Named shared memory of a Windows machine: page-file-backed sections under the session's
// names, the same objects the vendor's port monitor opens.
#include "base/os/Win32Text.h"
#include "platform/win32/Win32Errors.h"
#include "platform/win32/Win32Handles.h"
#include "platform/win32/Win32Kernel.h"

namespace ps::win32 {
namespace {

// The size of a mapped view: its region, which is the section's size rounded to whole pages.
std::size_t ViewSize(void* view) {
    MEMORY_BASIC_INFORMATION region{};
    if (VirtualQuery(view, &region, sizeof region) != sizeof region) return 0;
    return region.RegionSize;
}

class TWin32View : public TMappedView {
public:
    TWin32View(TView view, std::size_t size) : m_View(std::move(view)), m_Size(size) {}
    std::span<std::uint8_t> Bytes() override {
        return {static_cast<std::uint8_t*>(m_View.Get()), m_Size};
    }

private:
    TView m_View;
    std::size_t m_Size;
};

class TWin32Section : public TSharedMemory {
public:
    TWin32Section(TKernelHandle section, std::size_t size)
        : m_Section(std::move(section)), m_Size(size) {}

    std::unique_ptr<TMappedView> Map() override {
        TView view(MapViewOfFile(m_Section.Get(), FILE_MAP_READ | FILE_MAP_WRITE, 0, 0, 0));
        if (!view) {
            FailWithLastError();
            return nullptr;
        }
        return std::make_unique<TWin32View>(std::move(view), m_Size);
    }

private:
    TKernelHandle m_Section;
    std::size_t m_Size;
};

// The section's size, read through a view; 0 (last-error value set) when it cannot be mapped.
std::size_t SectionSize(HANDLE section) {
    TView view(MapViewOfFile(section, FILE_MAP_READ, 0, 0, 0));
    if (!view) {
        FailWithLastError();
        return 0;
    }
    return ViewSize(view.Get());
}

}  // namespace

std::unique_ptr<TSharedMemory> TWin32Kernel::CreateSharedMemory(const std::string& name,
                                                                std::size_t size) {
    if (name.empty() || size == 0) {
        Fail(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    const auto wide = static_cast<unsigned long long>(size);
    TKernelHandle section(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE,
                                             static_cast<DWORD>(wide >> 32),
                                             static_cast<DWORD>(wide), Widen(name).c_str()));
    if (!section) {
        FailWithLastError();
        return nullptr;
    }
    // A section of that name made before (by anyone) keeps its own size: one smaller than
    // asked for is never written past its end.
    const std::size_t actual = SectionSize(section.Get());
    if (actual == 0) return nullptr;
    if (actual < size) {
        Fail(ERROR_INSUFFICIENT_BUFFER, "the shared block \"" + name + "\" holds " +
                                            std::to_string(actual) + " bytes, not " +
                                            std::to_string(size));
        return nullptr;
    }
    return std::make_unique<TWin32Section>(std::move(section), size);
}

std::unique_ptr<TSharedMemory> TWin32Kernel::OpenSharedMemory(const std::string& name) {
    TKernelHandle section(
        OpenFileMappingW(FILE_MAP_READ | FILE_MAP_WRITE, FALSE, Widen(name).c_str()));
    if (!section) {
        FailWithLastError();
        return nullptr;
    }
    const std::size_t size = SectionSize(section.Get());
    if (size == 0) return nullptr;
    return std::make_unique<TWin32Section>(std::move(section), size);
}

}  // namespace ps::win32
