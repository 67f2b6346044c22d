// SPDX-License-Identifier: MIT
// Fuzz target: IEEE 1284 device IDs as printers send them (the LPIOC_GET_DEVICE_ID reply or the
// sysfs file). A cleaned ID is bounded, printable and cleans to itself; every field look-up is
// bounded and free of the separator; a usb: URI made of an ID's own maker, model and serial
// finds that device.
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "platform/DeviceId.h"
#include "platform/linux/DeviceUri.h"

using ps::fuzz::Check;

namespace {

void CheckField(const std::string& field) {
    Check(field.size() <= ps::kMaxDeviceIdFieldLength);
    Check(field.find(';') == std::string::npos);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string raw(reinterpret_cast<const char*>(data), size);
    for (const std::string& id : {ps::CleanDeviceId(raw), ps::DeviceIdFromIoctlReply(raw)}) {
        Check(id.size() <= ps::kMaxDeviceIdLength);
        for (char c : id) Check(c >= 0x20 && c < 0x7F);
        Check(ps::CleanDeviceId(id) == id);
        const std::string maker = ps::DeviceIdMaker(id);
        const std::string model = ps::DeviceIdModel(id);
        const std::string serial = ps::DeviceIdSerial(id);
        for (const std::string& field : {maker, model, serial}) CheckField(field);

        // The device is found again by the URI CUPS would write for it.
        if (maker.empty() || model.empty()) continue;
        ps::TUsblpDevice device;
        device.path = "/dev/usb/lp0";
        device.portName = "USB001";
        device.deviceId = id;
        const std::vector<ps::TUsblpDevice> devices = {device};
        ps::TDeviceUri uri;
        uri.scheme = "usb";
        uri.host = maker;
        uri.resource = model;
        uri.serial = serial;
        Check(ps::MatchUsbQueue("Q", uri, devices).index == std::optional<std::size_t>(0));
    }
    return 0;
}
