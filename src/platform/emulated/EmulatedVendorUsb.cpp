// SPDX-License-Identifier: MIT
// The emulated vendor USB port library.
#include "platform/emulated/EmulatedVendorUsb.h"

#include <algorithm>
#include <cstring>

namespace ps::emu {
namespace {

using TKind = TEmulatedKernel::THandleKind;

// Copies text cut to fit `size` bytes with its terminator.
void CopyText(const std::string& text, char* buffer, std::uint32_t size) {
    if (!buffer || size == 0) return;
    std::size_t n = std::min<std::size_t>(text.size(), size - 1);
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
}

}  // namespace

std::int32_t TEmulatedVendorUsb::USBPrintRefresh() {
    auto devices = m_Devices.UsbDevices();
    std::lock_guard lock(m_Mutex);
    m_Enumerated = std::move(devices);
    m_bEnumerated = true;
    return static_cast<std::int32_t>(m_Enumerated.size());
}

TDeviceLink* TEmulatedVendorUsb::At(std::int32_t index) {
    bool enumerated = false;
    {
        std::lock_guard lock(m_Mutex);
        enumerated = m_bEnumerated;
    }
    if (!enumerated) USBPrintRefresh();
    std::lock_guard lock(m_Mutex);
    if (index < 0 || static_cast<std::size_t>(index) >= m_Enumerated.size()) return nullptr;
    return m_Enumerated[static_cast<std::size_t>(index)];
}

void TEmulatedVendorUsb::GetUSBPrintFileName(std::int32_t index, char* buffer,
                                             std::uint32_t& size) {
    TDeviceLink* device = At(index);
    if (!device) return;
    std::string path = UsbDevicePath(device->Config().id);
    if (path.size() + 1 > size) {
        size = static_cast<std::uint32_t>(path.size() + 1);
        return;
    }
    CopyText(path, buffer, size);
}

void TEmulatedVendorUsb::GetUSBHWID(std::int32_t index, char* portName, std::uint32_t portSize,
                                    char* deviceId, std::uint32_t deviceIdSize) {
    TDeviceLink* device = At(index);
    if (!device) return;
    CopyText(device->Config().usbPort, portName, portSize);
    CopyText(device->Config().deviceId, deviceId, deviceIdSize);
}

TIoHandle TEmulatedVendorUsb::OpenPrinterUSBPort(std::int32_t portNumber) {
    TDeviceLink* device = At(portNumber - 1);
    if (!device) {
        SetThreadLastError(kErrorFileNotFound);
        return kInvalidIoHandle;
    }
    return m_Kernel.OpenDeviceHandle(device, TKind::VendorPort);
}

std::int32_t TEmulatedVendorUsb::WritePort(TIoHandle handle, const std::uint8_t* data,
                                           std::int32_t length, std::int32_t /*timeoutMs*/) {
    TDeviceLink* device = m_Kernel.DeviceOf(handle, TKind::VendorPort);
    if (!device || length < 0 || (length > 0 && !data)) {
        SetThreadLastError(device ? kErrorInvalidParameter : kErrorInvalidHandle);
        return -2;
    }
    if (device->Config().usbWriteFails) {
        SetThreadLastError(kErrorWriteFault);
        return -2;
    }
    const std::int64_t shortBy = device->Config().shortWrite;
    const auto written = static_cast<std::int32_t>(std::max<std::int64_t>(0, length - shortBy));
    device->Receive("usb", std::span<const std::uint8_t>(data, static_cast<std::size_t>(written)));
    return written;
}

std::int32_t TEmulatedVendorUsb::ReadPort(TIoHandle handle, std::uint8_t* buffer,
                                          std::int32_t maxLength, std::int32_t timeoutMs) {
    TDeviceLink* device = m_Kernel.DeviceOf(handle, TKind::VendorPort);
    if (!device || maxLength < 0 || (maxLength > 0 && !buffer)) {
        SetThreadLastError(device ? kErrorInvalidParameter : kErrorInvalidHandle);
        return 0;
    }
    std::uint64_t deadline = m_Clock.NowMs() + static_cast<std::uint64_t>(std::max(0, timeoutMs));
    for (;;) {
        auto reply = device->TakeReply(static_cast<std::size_t>(maxLength));
        if (!reply.empty()) {
            std::memcpy(buffer, reply.data(), reply.size());
            SetThreadLastError(kErrorSuccess);
            return static_cast<std::int32_t>(reply.size());
        }
        std::uint64_t now = m_Clock.NowMs();
        if (maxLength == 0 || now >= deadline) break;
        m_Clock.Sleep(static_cast<std::uint32_t>(std::min<std::uint64_t>(2, deadline - now)));
    }
    SetThreadLastError(kErrorTimeout);
    return 0;
}

void TEmulatedVendorUsb::CloseUSBPort(TIoHandle handle) {
    m_Kernel.CloseHandle(handle);
}

}  // namespace ps::emu
