// SPDX-License-Identifier: MIT
// Port routes: port lists, USB printer enumeration and the raw one-way sends.
#include "platform/Platform.h"
#include "printer/UtilPrinter.h"
#include "transport/ExchangeLock.h"
#include "transport/RawJob.h"
#include "transport/TVPCOMM.h"
#include "transport/UsbDevices.h"

namespace ps {
namespace {

constexpr std::size_t kFieldWindow = 50;

bool IsItemSeparator(char c) {
    return c == ',' || static_cast<unsigned char>(c) <= 32;
}

// Items of a port text: separated by commas and runs of characters up to blank; a double-quoted
// part may hold them (a doubled quote inside stands for one). Empty items are left out.
std::vector<std::string> SplitPortText(std::string_view text) {
    std::vector<std::string> items;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && IsItemSeparator(text[i])) ++i;
        if (i >= text.size()) break;
        std::string item;
        while (i < text.size() && !IsItemSeparator(text[i])) {
            if (text[i] != '"') {
                item += text[i++];
                continue;
            }
            for (++i; i < text.size(); ++i) {
                if (text[i] != '"') {
                    item += text[i];
                } else if (i + 1 < text.size() && text[i + 1] == '"') {
                    item += '"';
                    ++i;
                } else {
                    ++i;
                    break;
                }
            }
        }
        if (!item.empty()) items.push_back(std::move(item));
    }
    return items;
}

}  // namespace

std::string DeviceIdField(std::string_view deviceId, std::string_view key) {
    std::size_t at = deviceId.find(key);
    if (at == std::string_view::npos) return {};
    std::string_view rest = deviceId.substr(at + key.size());
    std::size_t semi = rest.substr(0, kFieldWindow).find(';');
    if (semi == std::string_view::npos) return {};
    return std::string(rest.substr(0, semi));
}

namespace {

// One USB printer of the vendor library that reports a model.
struct TUsbPrinter {
    std::int32_t libraryIndex;
    std::string name;  // maker + model
    std::string port;
    std::string path;
};

std::vector<TUsbPrinter> ListUsbPrinters() {
    std::vector<TUsbPrinter> printers;
    for (const TUsbDevice& device : ListUsbDevices(TUsbPathSize::Fresh)) {
        if (device.deviceId.find("MDL:") == std::string::npos) continue;
        printers.push_back(
            {device.index,
             DeviceIdField(device.deviceId, "MFG:") + DeviceIdField(device.deviceId, "MDL:"),
             device.port, device.path});
    }
    return printers;
}

}  // namespace

int EnumUSBPrinters(std::vector<std::string>& names, std::vector<std::string>& values,
                    std::string_view separator) {
    for (const TUsbPrinter& printer : ListUsbPrinters()) {
        names.push_back(printer.name + std::string(separator) + printer.port);
        values.push_back(printer.path);
    }
    return static_cast<int>(names.size());
}

int BuildPortList(std::string_view portText, std::vector<std::string>* names,
                  std::vector<std::string>* values) {
    if (!names || !values) return -1;
    names->clear();
    values->clear();
    for (const std::string& item : SplitPortText(portText)) {
        if (item == "_USB") {
            EnumUSBPrinters(*names, *values, " - ");
        } else if (item.front() != '_') {
            names->push_back(item);
            values->push_back(item);
        }
    }
    return static_cast<int>(values->size());
}

int FindUSBPrinterIndex(const std::string& portName) {
    // The library's own index, so that a printer without a model listed before this one
    // cannot make the caller open its neighbour.
    int index = -1;
    for (const TUsbPrinter& printer : ListUsbPrinters())
        if (printer.port == portName) index = printer.libraryIndex;
    return index;
}

bool SendRawJob(const std::string& printerName, std::string_view data,
                const std::string& documentName) {
    return SendRawDocument(
        printerName, documentName,
        std::span(reinterpret_cast<const std::uint8_t*>(data.data()), data.size()));
}

bool WritePortDevice(const std::uint8_t* data, std::uint32_t count, const std::string& path) {
    std::string full = path.starts_with("\\\\") ? path : "\\\\?\\" + path;
    TFileCreation creation = path.find(":\\") != std::string::npos ? TFileCreation::CreateAlways
                                                                   : TFileCreation::OpenExisting;
    const TExchangeLock lock;
    if (!lock.Held()) return false;
    TKernel& kernel = Platform().Kernel();
    TScopedIoHandle file(kernel.OpenFileHandle(full, true, true, creation));
    if (!file.Valid()) return false;
    std::uint32_t written = 0;
    return kernel.WriteHandle(file.Get(), std::span(data, count), written);
}

bool SendUSBBytes(std::string_view data, int index) {
    const TExchangeLock lock;
    if (!lock.Held()) return false;
    TIoHandle handle = OpenPrinterUSBPort(index + 1);
    if (handle == kInvalidIoHandle) return false;
    const auto length = static_cast<std::int32_t>(data.size());
    std::int32_t written = WritePort(handle, reinterpret_cast<const std::uint8_t*>(data.data()),
                                     length, kUsbWriteTimeoutMs);
    Platform().Kernel().CloseHandle(handle);
    return written == length;
}

}  // namespace ps
