// SPDX-License-Identifier: MIT
// The start-up checks for one printer, with no window: the per-printer paths and the exchange
// lock, the scheme and its menu (downloaded when missing), the read statistics, and the test
// that the printer opens with no queued jobs. The start-up sequence and the command-line tool
// both run them; failures are said through the user-interface hook as start-up says them.
#pragma once

#include <string>

namespace ps {

enum class TPrinterCheck {
    Ready,
    MenuVersionUnknown,  // MenuVersion other than 0 or 1
    MenuMissing,         // no menu file, also after the download
    NotOpened,           // the spooler cannot open the printer
    JobsQueued,          // jobs wait in the printer's queue
};

/// Sets g_PrinterName, the cache folder (made when missing), g_PrinterCacheBase and
/// g_PrinterIniFile (named by the spooler's spelling of the printer, so every spelling of one
/// printer has the same files), and names the printer's exchange lock file: one per device the
/// printer reaches ("locks/" + the spooler's device key in the cache folder), so two printers
/// on one device share it, or "NAME.lock" beside the files where the spooler cannot name the
/// device. Throws std::runtime_error when the temporary folder cannot be used safely.
void SetUpPrinterPaths(const std::string& printerName);

/// Creates g_SchemeOptions from the driver's scheme file, finds the menu file (downloading the
/// printer's menu when it is missing) and loads it, and reads the read statistics. Throws
/// ESchemeLoadError for a menu that cannot be loaded.
TPrinterCheck LoadPrinterScheme();

/// The printer opens by name (also the empty name) and no job waits in its queue.
TPrinterCheck CheckPrinterIdle();

}  // namespace ps
