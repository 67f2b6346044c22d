// SPDX-License-Identifier: MIT
// The program's command line and the per-printer file paths derived from it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ps {

struct TCommandLine {
    bool bHasArguments = false;
    std::string strPrinterName;   // argument 1, verbatim
    std::uint8_t iRunMode = 100;  // argument 2: decimal, low 8 bits, 0 when not a number
    std::int32_t iItem = 0;       // argument 3: decimal, 0 when not a number
    std::int32_t iReserved = 0;   // argument 4: read and ignored
};

/// Parses the arguments after the program name.
TCommandLine ParseCommandLine(const std::vector<std::string>& args);

/// A decimal integer with optional sign in the 32-bit range, else `fallback`.
std::int32_t DecimalOrDefault(std::string_view text, std::int32_t fallback);

/// The printer's file name inside the cache folder. Ordinary names (blanks, letters of any
/// script, dots inside) stay as they are; characters that cannot stand in a file name or
/// would leave the folder ('\', '/', ':', '*', '?', '"', '<', '>', '|', control characters)
/// and '%' itself become "%XX", and a name of only dots is written as "%2E"s. Different
/// printer names therefore never share files, and no name reaches outside the folder.
std::string PrinterFileName(std::string_view printerName);

/// The cache folder: tempPath (with its trailing separator, at most 1024 characters taken)
/// followed by "Talvenor Printer" and the separator.
std::string PrinterCacheFolder(std::string_view tempPath);

}  // namespace ps
