// SPDX-License-Identifier: MIT
// Owners of Win32 handles: each closes its handle with the call that belongs to it, once, when
// it goes out of scope.
#pragma once

#include <utility>

#include "platform/win32/Win32.h"

namespace ps::win32 {

/// A handle as Traits describes it (Type, Invalid(), Close()).
template <typename Traits>
class TOwned {
public:
    using T = typename Traits::Type;
    TOwned() = default;
    explicit TOwned(T handle) : m_Handle(handle) {}
    ~TOwned() { Reset(); }
    TOwned(TOwned&& other) noexcept : m_Handle(other.Release()) {}
    TOwned& operator=(TOwned&& other) noexcept {
        if (this != &other) Reset(other.Release());
        return *this;
    }
    TOwned(const TOwned&) = delete;
    TOwned& operator=(const TOwned&) = delete;

    T Get() const { return m_Handle; }
    bool Valid() const { return m_Handle != Traits::Invalid(); }
    explicit operator bool() const { return Valid(); }
    /// Gives up ownership without closing.
    T Release() { return std::exchange(m_Handle, Traits::Invalid()); }
    void Reset(T handle = Traits::Invalid()) {
        if (Valid()) Traits::Close(m_Handle);
        m_Handle = handle;
    }

private:
    T m_Handle = Traits::Invalid();
};

struct TFileTraits {
    using Type = HANDLE;
    static Type Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Type handle) { ::CloseHandle(handle); }
};
struct TKernelTraits {
    using Type = HANDLE;
    static Type Invalid() { return nullptr; }
    static void Close(Type handle) { ::CloseHandle(handle); }
};
struct TPrinterTraits {
    using Type = HANDLE;
    static Type Invalid() { return nullptr; }
    static void Close(Type handle) { ::ClosePrinter(handle); }
};
struct TKeyTraits {
    using Type = HKEY;
    static Type Invalid() { return nullptr; }
    static void Close(Type key) { ::RegCloseKey(key); }
};
struct TModuleTraits {
    using Type = HMODULE;
    static Type Invalid() { return nullptr; }
    static void Close(Type module) { ::FreeLibrary(module); }
};
struct TDeviceListTraits {
    using Type = HDEVINFO;
    static Type Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Type list) { ::SetupDiDestroyDeviceInfoList(list); }
};
struct TViewTraits {
    using Type = void*;
    static Type Invalid() { return nullptr; }
    static void Close(Type view) { ::UnmapViewOfFile(view); }
};

/// Files and devices (CreateFileW fails with INVALID_HANDLE_VALUE).
using TFileHandle = TOwned<TFileTraits>;
/// Events, mappings, threads (their calls fail with null).
using TKernelHandle = TOwned<TKernelTraits>;
/// A printer of OpenPrinterW.
using TPrinter = TOwned<TPrinterTraits>;
/// A registry key.
using TRegKey = TOwned<TKeyTraits>;
/// A loaded library.
using TModule = TOwned<TModuleTraits>;
/// A SetupDi device information list.
using TDeviceList = TOwned<TDeviceListTraits>;
/// A mapped view of a file mapping.
using TView = TOwned<TViewTraits>;

}  // namespace ps::win32
