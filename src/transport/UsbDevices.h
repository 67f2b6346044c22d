// SPDX-License-Identifier: MIT
// The one enumeration of the vendor USB library's printers, shared by the port list, the USB
// index look-up and the USB printer port's device list.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ps {

/// One printer as the vendor library enumerated it.
struct TUsbDevice {
    std::int32_t index;    // the library's index; its port number is index + 1
    std::string port;      // the spooler port name the library reports ("USB001")
    std::string path;      // the device path
    std::string deviceId;  // the IEEE 1284 device ID ("MFG:...;MDL:...;")
};

/// How the in/out path size given to the library behaves across indices.
enum class TUsbPathSize {
    Fresh,    // the full buffer size for every index
    Carried,  // the full size once; when the library shrinks it, later indices get the smaller
};

/// Every printer the library enumerates, in its order, each text read into a zero-filled
/// buffer of kUsbTextBufferSize bytes. No library: no printers.
std::vector<TUsbDevice> ListUsbDevices(TUsbPathSize pathSize);

}  // namespace ps
