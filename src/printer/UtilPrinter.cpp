// SPDX-License-Identifier: MIT
// Printer and driver queries through the spooler.
#include "printer/UtilPrinter.h"

#include "base/AsciiText.h"
#include "platform/Platform.h"

namespace ps {
bool FindDriverSchemeFile(const std::string& printerName, std::string& schemeFile) {
    if (printerName.empty()) return false;
    auto printer = Platform().Spooler().Open(printerName, TPrinterAccess::Default);
    if (!printer) return false;

    if (auto driver = printer->GetDriverInfo6("")) {
        for (const std::string& file : driver->dependentFiles) {
            if (AsciiUpper(file).find("SETTINGS.DAT") != std::string::npos) {
                schemeFile = file;
                return true;
            }
        }
    }

    auto info = printer->GetInfo2();
    if (!info) return false;
    std::string directory = Platform().Spooler().GetDriverDirectory("").value_or("");
    std::string model = info->driverName;
    if (std::size_t blank = model.find(' '); blank != std::string::npos) {
        model.erase(0, blank + 1);
    }
    schemeFile = directory + kPathDelimiter + "3" + kPathDelimiter + model + "_Settings.Dat";
    return true;
}

bool GetPrinterPortInfo(const std::string& printerName, std::string& portName, bool& online) {
    if (printerName.empty()) return false;
    auto printer = Platform().Spooler().Open(printerName, TPrinterAccess::Default);
    if (!printer) return false;
    auto info = printer->GetInfo2();
    if (!info) return false;
    portName = info->portName;
    online = (info->attributes & kPrinterAttributeWorkOffline) == 0;
    return true;
}

}  // namespace ps
