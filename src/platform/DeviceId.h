// SPDX-License-Identifier: MIT
// IEEE 1284 device IDs as printers send them: cleaned, bounded, and read field by field.
#pragma once

#include <string>
#include <string_view>

namespace ps {

/// Longest device ID kept, in bytes; the rest of what a printer sends is dropped.
inline constexpr std::size_t kMaxDeviceIdLength = 1023;
/// Longest field value a lookup returns.
inline constexpr std::size_t kMaxDeviceIdFieldLength = 255;

/// The printer-supplied bytes as a device ID: ends at the first NUL, drops control and
/// non-ASCII bytes, at most kMaxDeviceIdLength bytes, surrounding blanks and line ends cut.
std::string CleanDeviceId(std::string_view raw);

/// The reply of a device-ID request (usblp LPIOC_GET_DEVICE_ID, USB printing class
/// IOCTL_USBPRINT_GET_1284_ID): two bytes of length (big-endian, counting themselves),
/// then the ID. A length larger than what was received is held to what was received.
std::string DeviceIdFromIoctlReply(std::string_view reply);

/// The value of the first of the keys ("MFG", "MANUFACTURER") present in the ID, letter case
/// ignored, up to the next ';' or the end, at most kMaxDeviceIdFieldLength bytes, trimmed.
/// Empty when none is present.
std::string DeviceIdField(std::string_view id, std::initializer_list<std::string_view> keys);

/// The maker, model and serial number fields under their usual names.
std::string DeviceIdMaker(std::string_view id);
std::string DeviceIdModel(std::string_view id);
std::string DeviceIdSerial(std::string_view id);

}  // namespace ps
