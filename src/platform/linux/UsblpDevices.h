// SPDX-License-Identifier: MIT
// USB printers of the printer-class driver (usblp): the /dev/usb/lpN nodes, found through
// sysfs alone and named "USB001" ... after their minor number, so that a name stays with its
// printer while it stays plugged in; a node opened only when it still holds that printer.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/linux/UsblpSystem.h"

namespace ps {

/// One USB printer as sysfs shows it.
struct TUsblpDevice {
    unsigned minor = 0;     // the node's minor number: lpN has N
    std::string path;       // "/dev/usb/lp0"
    std::string portName;   // "USB001" for minor 0: never from what the printer says
    std::string deviceId;   // IEEE 1284 device ID, cleaned and bounded (see CleanDeviceId)
    std::string usbSerial;  // the USB device's serial number, cleaned; empty when it has none

    /// The same printer on the same node, as far as sysfs can tell: maker, model and serial
    /// numbers (other fields of a device ID, a status for one, may change while it is there).
    bool SamePrinter(const TUsblpDevice& other) const;
    /// What identifies the device a queue reaches while it stays plugged in ("usb-lp3"), for
    /// keys such as the exchange lock.
    std::string Key() const { return "usb-lp" + std::to_string(minor); }
};

/// Where the printer nodes and their sysfs entries are.
struct TUsblpFolders {
    std::string devices = "/dev/usb";
    std::string sysfs = "/sys/class/usbmisc";
};

/// "USB001" for minor 0: the port name of a usblp node, the same rule for listed printers and
/// for names typed in local-port mode (USBnnn is /dev/usb/lp(nnn-1)).
std::string UsblpPortName(unsigned minor);

/// The minor number of a node path under `folders.devices` ("/dev/usb/lp3" -> 3).
std::optional<unsigned> UsblpMinorOfPath(const TUsblpFolders& folders, std::string_view path);

/// The printer on minor `minor` as sysfs shows it now: its dev, ieee1284_id and the USB
/// device's serial attribute. Nothing when no printer is there. Opens no node.
std::optional<TUsblpDevice> ReadUsblpDevice(TUsblpSystem& system, const TUsblpFolders& folders,
                                            unsigned minor);

/// The USB printers present now, in minor order, from sysfs alone: usblp lets one program open
/// a node at a time, so a scan that opened nodes would make another program's exchange fail.
std::vector<TUsblpDevice> ScanUsblpDevices(TUsblpSystem& system, const TUsblpFolders& folders);

/// Opens the node of `listed` for reading and writing, non-blocking, and checks that the
/// printer on it is still the one that was listed (unplugged and another plugged in gets the
/// same minor). -1 with the last-error value and a text that says why and what to do: busy
/// (another program has it open), no right to open it, not attached, not the listed printer.
int OpenUsblpNode(TUsblpSystem& system, const TUsblpFolders& folders, const TUsblpDevice& listed);

}  // namespace ps
