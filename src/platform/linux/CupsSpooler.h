// SPDX-License-Identifier: MIT
// The print spooler of a Linux machine: CUPS queues through libcups.
#pragma once

#include <functional>
#include <string>

#include "platform/Platform.h"
#include "platform/linux/LinuxPortMonitor.h"
#include "platform/linux/PrinterDataStore.h"
#include "platform/linux/UsblpLibrary.h"

namespace ps {

/// Environment variable naming the printer driver directory (the scheme files of
/// "DIR/3/<model>_Settings.Dat"), and its default.
inline constexpr const char* kDriverDirVariable = "PRINTER_SETTINGS_DRIVER_DIR";
inline constexpr const char* kDefaultDriverDir = "/usr/share/printer-settings/drivers";

/// A printer name is a CUPS queue of the server the user's settings name. Default access: the
/// queue exists; full access: the user may also administer printers on that server. Level 2
/// details come from the queue's attributes (the port name from its device URI, see
/// PortNameForDeviceUri; a stopped queue works off-line), driver details from its make and
/// model and its PPD, printer data from a per-user file, raw jobs are CUPS jobs of the raw
/// format, and the port-monitor trigger is answered by the in-process monitor.
class TCupsSpooler : public TSpooler {
public:
    TCupsSpooler(TLinuxPortMonitor& monitor, TUsblpSystem& usb, TUsblpFolders folders,
                 TPrinterDataStore data)
        : m_Monitor(monitor), m_Usb(usb), m_Folders(std::move(folders)), m_Data(std::move(data)) {}

    std::unique_ptr<TPrinterHandle> Open(const std::string& printerName,
                                         TPrinterAccess access) override;
    /// $PRINTER_SETTINGS_DRIVER_DIR, else the installed program's drivers folder beside its
    /// other shipped files, else /usr/share/printer-settings/drivers.
    std::optional<std::string> GetDriverDirectory(const std::string& environment) override;
    /// The server's queue names.
    std::optional<std::vector<std::string>> EnumPrinterNames() override;
    /// The device the queue reaches (DeviceKeyForQueue of its device URI and command channel).
    std::optional<std::string> GetDeviceKey(const std::string& printerName) override;

    TLinuxPortMonitor& Monitor() { return m_Monitor; }
    TUsblpSystem& Usb() { return m_Usb; }
    const TUsblpFolders& Folders() const { return m_Folders; }
    const TPrinterDataStore& Data() const { return m_Data; }

private:
    TLinuxPortMonitor& m_Monitor;
    TUsblpSystem& m_Usb;
    TUsblpFolders m_Folders;
    TPrinterDataStore m_Data;
};

}  // namespace ps
