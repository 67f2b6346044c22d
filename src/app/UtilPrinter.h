// SPDX-License-Identifier: MIT
// Printer and driver queries: the scheme file among a printer's driver files, and the port a
// printer prints to with its on-line state. Each call opens the printer, asks and closes it.
#pragma once

#include <string>

namespace ps {

/// The printer driver's menu scheme file: the first dependent file whose name contains
/// "Settings.Dat" (letter case ignored), exactly as the spooler lists it; without one, the
/// driver directory + "\3\" + the driver name after its first blank + "_Settings.Dat" (whether
/// that file exists is not tested). False (and `schemeFile` untouched) for an empty name or a
/// printer that cannot be opened or described.
bool FindDriverSchemeFile(const std::string& printerName, std::string& schemeFile);

/// The printer's port name as the spooler reports it, and whether the spooler does not hold it
/// off-line. False (both outputs untouched) when the printer cannot be opened or described.
bool GetPrinterPortInfo(const std::string& printerName, std::string& portName, bool& online);

}  // namespace ps
