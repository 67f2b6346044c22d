// SPDX-License-Identifier: MIT
// A stand-in for the vendor's USB library with the seven functions of its contract (and,
// built with PS_FAKE_WITHOUT_CLOSE, one missing), for the loader's tests: two printers, writes
// taken whole, one reply to read, and the thread's last-error value as the contract sets it.
#include <windows.h>

#include <cstring>

namespace {
const char* const kPaths[] = {"\\\\?\\fake#printer#1", "\\\\?\\fake#printer#2"};
const char* const kPorts[] = {"USB001", "USB002"};
const char* const kIds[] = {"MFG:Talvenor;MDL:QR-520;", "MFG:Talvenor;MDL:QJ-760;"};
bool g_bReplied = false;

void Copy(const char* text, char* buffer, int size) {
    if (!buffer || size <= 0) return;
    std::strncpy(buffer, text, static_cast<std::size_t>(size) - 1);
    buffer[size - 1] = '\0';
}
}  // namespace

extern "C" {

__declspec(dllexport) int WINAPI USBPrintRefresh() {
    return 2;
}

__declspec(dllexport) void WINAPI GetUSBPrintFileName(int index, char* buffer, DWORD* size) {
    if (index < 0 || index > 1 || !size) return;
    if (std::strlen(kPaths[index]) + 1 > *size) {
        *size = static_cast<DWORD>(std::strlen(kPaths[index]) + 1);
        return;
    }
    Copy(kPaths[index], buffer, static_cast<int>(*size));
}

__declspec(dllexport) void WINAPI
    GetUSBHWID(int index, char* port, int portSize, char* id, int idSize) {
    if (index < 0 || index > 1) return;
    Copy(kPorts[index], port, portSize);
    Copy(kIds[index], id, idSize);
}

// A kernel handle of its own, as the real library's: CancelIo and CloseHandle apply to it.
__declspec(dllexport) HANDLE WINAPI OpenPrinterUSBPort(int portNumber) {
    if (portNumber < 1 || portNumber > 2) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    g_bReplied = false;
    return CreateEventW(nullptr, TRUE, FALSE, nullptr);
}

__declspec(dllexport) int WINAPI WritePort(HANDLE handle, const void*, int length, int) {
    return handle && handle != INVALID_HANDLE_VALUE ? length : -2;
}

// Leaves the caller's last-error value alone when it reads, sets 1460 when nothing came.
__declspec(dllexport) int WINAPI ReadPort(HANDLE, void* buffer, int maxLength, int) {
    if (g_bReplied || maxLength < 3) {
        SetLastError(ERROR_TIMEOUT);
        return 0;
    }
    g_bReplied = true;
    std::memcpy(buffer, "\x1B\x1D\x1E", 3);
    return 3;
}

#ifndef PS_FAKE_WITHOUT_CLOSE
__declspec(dllexport) void WINAPI CloseUSBPort(HANDLE handle) {
    CloseHandle(handle);
}
#endif
}
