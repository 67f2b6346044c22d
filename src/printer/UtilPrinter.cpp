// SPDX-License-Identifier: MIT
// Printer and driver queries through the spooler.
#include "printer/UtilPrinter.h"

#include "base/AsciiText.h"
#include "platform/Platform.h"

namespace ps {
namespace {

// A model name from the spooler that can stand as one file name in the driver directory: no
// separator, no "..", no control character (the queue's make and model is a server's text).
bool UsableModelFileName(std::string_view model) {
    if (model.find("..") != std::string_view::npos) return false;
    for (char c : model) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '/' || c == '\\' || byte < 0x20 || byte == 0x7F) return false;
    }
    return true;
}

}  // namespace

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
    if (!UsableModelFileName(model)) return false;
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
