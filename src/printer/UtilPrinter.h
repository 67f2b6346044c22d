// SPDX-License-Identifier: MIT
// Printer and driver queries: the scheme file among a printer's driver files, and the port a
// printer prints to with its on-line state. Each call opens the printer, asks and closes it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ps {

/// The printer driver's menu scheme file: the first dependent file whose name contains
/// "Settings.Dat" (letter case ignored), exactly as the spooler lists it; without one, the
/// driver directory + "\3\" + the driver name after its first blank + "_Settings.Dat" (whether
/// that file exists is not tested). False (and `schemeFile` untouched) for an empty name, a
/// printer that cannot be opened or described, and a driver name whose model part holds a path
/// separator, ".." or a control character (it would lead out of the driver directory).
bool FindDriverSchemeFile(const std::string& printerName, std::string& schemeFile);

/// The printer's port name as the spooler reports it, and whether the spooler does not hold it
/// off-line. False (both outputs untouched) when the printer cannot be opened or described.
bool GetPrinterPortInfo(const std::string& printerName, std::string& portName, bool& online);

// Port routes: the port list, the USB printers of the vendor library, and raw sends by spooler
// job, port device and vendor library. None shows a message; failures are the result.

/// The selectable ports: each item of the port text (separated by commas and runs of
/// characters up to blank; double quotes keep them) is appended to both lists; "_USB" appends
/// the USB printers as EnumUSBPrinters(names, values, " - "); other items starting with "_" are
/// skipped. Both lists are cleared first. The number of values, or -1 when a list is missing.
int BuildPortList(std::string_view portText, std::vector<std::string>* names,
                  std::vector<std::string>* values);

/// Appends maker + model + separator + port name to names and the device path to values, for
/// every USB printer whose device ID has a "MDL:" field. Returns the number of names.
int EnumUSBPrinters(std::vector<std::string>& names, std::vector<std::string>& values,
                    std::string_view separator);

/// The value of a device-ID field ("MDL:"): the text after the key up to the next ";" found
/// within the 50 characters after the key; empty when there is none.
std::string DeviceIdField(std::string_view deviceId, std::string_view key);

/// The vendor library's index of the USB printer on `portName` (the last match among the
/// printers that report a model), or -1. The library's port number is this index + 1.
int FindUSBPrinterIndex(const std::string& portName);

/// Sends bytes as a one-page raw spooler job. True when the data write succeeded.
bool SendRawJob(const std::string& printerName, std::string_view data,
                const std::string& documentName);

/// Writes bytes straight to a port device or a file. "\\?\" is put before a path that does not
/// start with two backslashes; a path with ":\" is created or truncated, anything else must
/// exist. True when the write succeeded.
bool WritePortDevice(const std::uint8_t* data, std::uint32_t count, const std::string& path);

/// Writes bytes through the vendor USB library to USB printer `index`. True when all were
/// written.
bool SendUSBBytes(std::string_view data, int index);

}  // namespace ps
