// SPDX-License-Identifier: MIT
// The device query pattern shared by the device function dialogs: the printer query, the
// port-kind test, the busy test, the read through the port monitor into a buffer of its own
// with the value taken only from bytes that came back, the read under the waiting window, and
// the write that is read back and compared. Messages go through the user-interface hook.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "device/DeviceCommands.h"

namespace ps {

class TUSBPrinterPort;

/// How "printer not found" is shown.
enum class TOfflineBox {
    HintError,           // caption HintTitle, error icon
    PrinterNameWarning,  // caption g_PrinterName, warning icon
};

/// The printer query of g_PrinterName: its port (when the spooler knows it) and whether it is
/// on-line. A printer that cannot be asked counts as not on-line.
bool DevicePrinterOnline(std::string& port);
/// The same; a printer not on-line gets the PrinterNotFound box.
bool DevicePrinterOnlineOrSay(std::string& port, TOfflineBox box = TOfflineBox::HintError);
/// Ports whose replies can be read: names containing "USB" or "VODAV" (exact case).
bool PortCanRead(const std::string& port);

/// Sends a command through the port monitor without reading a reply.
bool DeviceSend(const TBytes& command);
/// One exchange into a buffer of its own: exactly the reply bytes that came back (at most
/// `replyLength`), or nothing when the exchange failed.
std::optional<TBytes> DeviceExchange(const TBytes& command, std::int32_t replyLength);
/// One read exchange into a buffer of its own: the value from the bytes that came back, or
/// nothing when the exchange failed or the reply is too short to hold the value.
std::optional<std::int64_t> DeviceExchangeRead(const TDeviceRead& read);

/// Where the dialogs' reads differ.
struct TDeviceQueryStyle {
    TOfflineBox offlineInCurrentRead = TOfflineBox::PrinterNameWarning;
    bool bBusyTest = false;  // the status byte is asked before the read's exchange
    bool bUsbOnly = false;   // only a USB port is read; any other fails without a message
};

enum class TDeviceWriteOutcome {
    SendFailed,    // the write did not reach the printer
    Confirmed,     // read back as written (or confirmation is switched off)
    NotConfirmed,  // read back, but another value
    Unreadable,    // sent, but the value could not be read back
};

class TDeviceQuery {
public:
    /// `usbPort` answers the busy test; it outlives the query.
    TDeviceQuery(TDeviceQueryStyle style, const TUSBPrinterPort& usbPort)
        : m_Style(style), m_USBPort(usbPort) {}

    /// The read itself: printer query (PrinterNotFound, HintTitle, error icon), busy test when
    /// the style has it, the exchange and the value. False when any of them fails.
    bool GetItemValueFromUSBPrinterI(const TDeviceRead& read, std::int64_t& value) const;
    /// The read with its checks: printer query (box by style), port kind (PortNotSupport), then
    /// the read; a failed read shows ErrorTitle / PrinterStatusError (warning) unless the
    /// scheme's AffirmReadDisable is set.
    bool GetCurrentItemValueFromPrinterI(const TDeviceRead& read, std::int64_t& value) const;

    /// The busy test on `port`: true when refused (box shown). Always false when the style
    /// has no busy test.
    bool RefuseWhenBusy(const std::string& port) const;

    /// Sends `write`, waits the scheme's SleepBeforeRead and reads `readBack` to compare with
    /// `expected`. With AffirmReadDisable a failed or different read-back counts as confirmed.
    TDeviceWriteOutcome WriteAndConfirm(const TBytes& write, const TDeviceRead& readBack,
                                        std::int64_t expected,
                                        std::optional<std::int64_t>* readValue = nullptr) const;

private:
    TDeviceQueryStyle m_Style;
    const TUSBPrinterPort& m_USBPort;
};

/// The boxes of a write that was sent but not confirmed: NotConfirmed shows HintTitle /
/// SetPrinterTimeout (error), Unreadable HintTitle / SetPrinterCantAffirm (warning). True when
/// a box was shown.
bool SayUnconfirmedWrite(TDeviceWriteOutcome outcome);

/// Runs `read` under the waiting window; after a successful read the windows are kept alive
/// for about half a second (51 rounds of yield, pending messages, 10 ms). The read's result.
bool ReadUnderWaitingWindow(const std::function<bool()>& read);
/// The half-second pause after a successful read.
void SettleAfterRead();

/// The firmware version and date ("V0102.0001 2023-07-27"); nothing when the exchange failed
/// or fewer than the eight version and date bytes came back.
std::optional<std::string> ReadFirmwareVersion();

}  // namespace ps
