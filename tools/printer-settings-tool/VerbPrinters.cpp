// SPDX-License-Identifier: MIT
// The "printers" verb: the printers the spooler knows, their ports and schemes.
#include <filesystem>
#include <ostream>

#include "ItemRecords.h"
#include "VerbSession.h"
#include "base/PathText.h"
#include "platform/Platform.h"
#include "printer/UtilPrinter.h"

namespace ps::tool {
namespace {

// "usb" for the USB ports page reads go through, "network" for the vendor's network port
// monitor, "local" for the rest (parallel, serial, files), "none" without a port.
std::string PortKind(const std::string& port) {
    if (port.empty()) return "none";
    if (port.find("USB") != std::string::npos) return "usb";
    if (port.find("VODAV") != std::string::npos) return "network";
    return "local";
}

json PrinterRecord(const std::string& name) {
    json record{{"name", name}};
    auto printer = Platform().Spooler().Open(name, TPrinterAccess::Default);
    const auto info = printer ? printer->GetInfo2() : std::nullopt;
    const auto jobs = printer ? printer->GetJobs(0, 255) : std::nullopt;
    const std::string port = info ? info->portName : "";
    const bool online = info && (info->attributes & kPrinterAttributeWorkOffline) == 0;
    const std::size_t queued = jobs ? jobs->size() : 0;
    record["port"] = port;
    record["portKind"] = PortKind(port);
    record["driver"] = info ? info->driverName : "";
    record["online"] = online;
    record["queuedJobs"] = queued;
    // What start-up needs: a port, on-line, nothing queued.
    record["usable"] = info && online && !port.empty() && queued == 0;
    std::string scheme;
    if (FindDriverSchemeFile(name, scheme)) {
        std::error_code ec;
        record["scheme"] = scheme;
        record["schemeFound"] = std::filesystem::is_regular_file(PathFromUtf8(scheme), ec);
    } else {
        record["scheme"] = nullptr;
        record["schemeFound"] = false;
    }
    return record;
}

}  // namespace

int RunPrintersVerb(std::vector<std::string> args, TVerbIo& io) {
    const bool asJson = TakeFlag(args, "--json");
    RejectUnknownOptions(args);
    if (!args.empty()) throw EVerbFailure(kVerbBadInput, "printers takes no printer name");
    const auto names = Platform().Spooler().EnumPrinterNames();
    if (!names)
        throw EVerbFailure(kVerbUnreachable,
                           "the spooler cannot list its printers: " + ThreadLastErrorText());

    json document{{"format", kDocumentFormat}, {"verb", "printers"}, {"printers", json::array()}};
    for (const std::string& name : *names) document["printers"].push_back(PrinterRecord(name));
    if (asJson) {
        io.out << document.dump(2) << "\n";
        return kVerbDone;
    }
    std::vector<std::vector<std::string>> rows = {
        {"PRINTER", "PORT", "KIND", "DRIVER", "ON-LINE", "JOBS", "USABLE", "SCHEME"}};
    for (const json& p : document["printers"]) {
        std::string scheme = p["scheme"].is_null() ? "-" : p["scheme"].get<std::string>();
        if (!p["schemeFound"].get<bool>()) scheme += " (missing)";
        rows.push_back({p["name"], p["port"].get<std::string>().empty() ? "-" : p["port"],
                        p["portKind"], p["driver"], p["online"].get<bool>() ? "yes" : "no",
                        std::to_string(p["queuedJobs"].get<std::size_t>()),
                        p["usable"].get<bool>() ? "yes" : "no", scheme});
    }
    WriteTable(io.out, rows);
    return kVerbDone;
}

}  // namespace ps::tool
