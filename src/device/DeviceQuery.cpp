// SPDX-License-Identifier: MIT
// The device query pattern.
#include "device/DeviceQuery.h"

#include <algorithm>
#include <thread>

#include "device/DeviceCodecs.h"
#include "localisation/Scheme.h"
#include "localisation/WaitingTexts.h"
#include "maintenance/ActionChecks.h"
#include "platform/Platform.h"
#include "platform/UserInterface.h"
#include "printer/Globals.h"
#include "printer/UtilPrinter.h"
#include "scheme/Scheme3.h"
#include "transport/USBPrinterPort.h"
#include "transport/UtilDataSend.h"

namespace ps {
namespace {

// Room for the longest answer any device read asks for, whatever the monitor stores.
constexpr std::int32_t kReplyBufferSize = 1024;

bool AffirmReadDisabled() {
    return g_SchemeOptions && g_SchemeOptions->m_Sections.AffirmReadDisable;
}

}  // namespace

bool DevicePrinterOnline(std::string& port) {
    bool online = false;
    std::string name;
    const bool known = GetPrinterPortInfo(g_PrinterName, name, online);
    if (known) port = name;
    return known && online;
}

bool DevicePrinterOnlineOrSay(std::string& port, TOfflineBox box) {
    if (DevicePrinterOnline(port)) return true;
    if (box == TOfflineBox::PrinterNameWarning)
        ShowMessage(nullptr, g_PrinterName, g_GlobalString.PrinterNotFound, TMessageIcon::Warning);
    else
        ShowMessage(nullptr, g_GlobalString.HintTitle, g_GlobalString.PrinterNotFound,
                    TMessageIcon::Error);
    return false;
}

bool PortCanRead(const std::string& port) {
    return port.find("USB") != std::string::npos || port.find("VODAV") != std::string::npos;
}

bool DeviceSend(const TBytes& command) {
    std::int32_t none = 0;
    return PortMonitorExchange(g_PrinterName, command.data(),
                               static_cast<std::int32_t>(command.size()), nullptr, none);
}

std::optional<TBytes> DeviceExchange(const TBytes& command, std::int32_t replyLength) {
    TBytes reply(static_cast<std::size_t>(std::max(kReplyBufferSize, replyLength)), 0);
    std::int32_t length = std::max(replyLength, 0);
    if (!PortMonitorExchange(g_PrinterName, command.data(),
                             static_cast<std::int32_t>(command.size()), reply.data(), length))
        return std::nullopt;
    reply.resize(static_cast<std::size_t>(std::clamp(length, 0, std::max(replyLength, 0))));
    return reply;
}

std::optional<std::int64_t> DeviceExchangeRead(const TDeviceRead& read) {
    const auto reply = DeviceExchange(read.command, read.replyLength);
    if (!reply) return std::nullopt;
    // Only what came back counts: a short reply has no value.
    return read.decode(TReplyView(reply->data(), static_cast<std::int32_t>(reply->size())));
}

std::optional<std::string> ReadFirmwareVersion() {
    UserInterface().ProcessMessages();
    const auto reply = DeviceExchange(FirmwareVersionCommand(), kFirmwareReplyWanted);
    if (!reply || reply->size() < static_cast<std::size_t>(kFirmwareReplyBytes))
        return std::nullopt;
    return FormatFirmwareVersion(reply->data());
}

bool TDeviceQuery::RefuseWhenBusy(const std::string& port) const {
    if (!m_Style.bBusyTest) return false;
    // A printer whose status cannot be asked counts as not at work.
    const auto status = StatusByteOf(&m_USBPort, port);
    if (!status || *status != kStatusPrinterAtWork) return false;
    ShowRefusal(TActionRefusal::PrinterAtWork, nullptr);
    return true;
}

bool TDeviceQuery::GetItemValueFromUSBPrinterI(const TDeviceRead& read, std::int64_t& value) const {
    std::string port;
    if (!DevicePrinterOnlineOrSay(port, TOfflineBox::HintError)) return false;
    if (m_Style.bUsbOnly && port.find("USB") == std::string::npos) return false;
    if (RefuseWhenBusy(port)) return false;
    const auto decoded = DeviceExchangeRead(read);
    if (!decoded) return false;
    value = *decoded;
    return true;
}

bool TDeviceQuery::GetCurrentItemValueFromPrinterI(const TDeviceRead& read,
                                                   std::int64_t& value) const {
    std::string port;
    if (!DevicePrinterOnlineOrSay(port, m_Style.offlineInCurrentRead)) return false;
    if (!PortCanRead(port)) {
        ShowMessage(nullptr, g_GlobalString.HintTitle, g_GlobalString.PortNotSupport,
                    TMessageIcon::Error);
        return false;
    }
    if (GetItemValueFromUSBPrinterI(read, value)) return true;
    if (!AffirmReadDisabled())
        ShowMessage(nullptr, g_GlobalString.ErrorTitle, g_GlobalString.PrinterStatusError,
                    TMessageIcon::Warning);
    return false;
}

TDeviceWriteOutcome TDeviceQuery::WriteAndConfirm(const TBytes& write, const TDeviceRead& readBack,
                                                  std::int64_t expected,
                                                  std::optional<std::int64_t>* readValue) const {
    if (!DeviceSend(write)) return TDeviceWriteOutcome::SendFailed;
    if (g_SchemeOptions) Platform().Clock().Sleep(g_SchemeOptions->m_Sections.SleepBeforeRead);
    std::int64_t value = 0;
    const bool read = GetItemValueFromUSBPrinterI(readBack, value);
    if (readValue) *readValue = read ? std::optional<std::int64_t>(value) : std::nullopt;
    if (AffirmReadDisabled() || (read && value == expected)) return TDeviceWriteOutcome::Confirmed;
    return read ? TDeviceWriteOutcome::NotConfirmed : TDeviceWriteOutcome::Unreadable;
}

bool SayUnconfirmedWrite(TDeviceWriteOutcome outcome) {
    if (outcome == TDeviceWriteOutcome::NotConfirmed) {
        ShowMessage(nullptr, g_GlobalString.HintTitle, g_GlobalString.SetPrinterTimeout,
                    TMessageIcon::Error);
        return true;
    }
    if (outcome == TDeviceWriteOutcome::Unreadable) {
        ShowMessage(nullptr, g_GlobalString.HintTitle, g_GlobalString.SetPrinterCantAffirm,
                    TMessageIcon::Warning);
        return true;
    }
    return false;
}

void SettleAfterRead() {
    for (int round = 0; round < 51; ++round) {
        std::this_thread::yield();
        UserInterface().ProcessMessages();
        Platform().Clock().Sleep(10);
    }
}

bool ReadUnderWaitingWindow(const std::function<bool()>& read) {
    TWaitingWindowGuard waiting(g_PrinterName);
    const bool ok = read();
    if (ok) SettleAfterRead();
    return ok;
}

}  // namespace ps
