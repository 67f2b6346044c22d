// SPDX-License-Identifier: MIT
// Forwards to the vendor USB port library of the installed platform.
#include "transport/TVPCOMM.h"

#include "platform/Platform.h"

namespace ps {
namespace {

// The platform loads the library on the first request and keeps it; asking each time means a
// newly installed platform (tests install several) is always the one used.
TVendorUsbLibrary* Library() {
    return Platform().Kernel().LoadVendorUsbLibrary();
}

}  // namespace

bool VendorUsbLibraryAvailable() {
    return Library() != nullptr;
}

std::int32_t USBPrintRefresh() {
    TVendorUsbLibrary* library = Library();
    return library ? library->USBPrintRefresh() : 0;
}

void GetUSBPrintFileName(std::int32_t index, char* buffer, std::uint32_t& size) {
    if (TVendorUsbLibrary* library = Library()) library->GetUSBPrintFileName(index, buffer, size);
}

void GetUSBHWID(std::int32_t index, char* portName, std::uint32_t portSize, char* deviceId,
                std::uint32_t deviceIdSize) {
    if (TVendorUsbLibrary* library = Library()) {
        library->GetUSBHWID(index, portName, portSize, deviceId, deviceIdSize);
    }
}

TIoHandle OpenPrinterUSBPort(std::int32_t portNumber) {
    TVendorUsbLibrary* library = Library();
    return library ? library->OpenPrinterUSBPort(portNumber) : kInvalidIoHandle;
}

std::int32_t WritePort(TIoHandle handle, const std::uint8_t* data, std::int32_t length,
                       std::int32_t timeoutMs) {
    TVendorUsbLibrary* library = Library();
    return library ? library->WritePort(handle, data, length, timeoutMs) : kUsbWriteFailed;
}

std::int32_t ReadPort(TIoHandle handle, std::uint8_t* buffer, std::int32_t maxLength,
                      std::int32_t timeoutMs) {
    TVendorUsbLibrary* library = Library();
    if (!library) return 0;  // the failed load left its last-error value
    return library->ReadPort(handle, buffer, maxLength, timeoutMs);
}

void CloseUSBPort(TIoHandle handle) {
    if (TVendorUsbLibrary* library = Library()) library->CloseUSBPort(handle);
}

}  // namespace ps
