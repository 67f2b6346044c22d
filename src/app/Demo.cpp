// SPDX-License-Identifier: MIT
// The demo folder and the demo without a display.
#include "app/Demo.h"

#include <fstream>
#include <iterator>
#include <stdexcept>
#include <system_error>

#include "app/CommandLine.h"
#include "app/StartUp.h"
#include "base/ProgramPlace.h"
#include "printer/Globals.h"

namespace ps {
namespace {

namespace stdfs = std::filesystem;

constexpr std::uint8_t kRunModeValuesReport = 101;
constexpr std::uint8_t kRunModeMenuRefresh = 102;

std::runtime_error Failure(const std::string& what, const std::error_code& ec) {
    return std::runtime_error(what + ": " + ec.message());
}

void MakePrivateFolder(const stdfs::path& folder) {
    std::error_code ec;
    if (!stdfs::create_directory(folder, ec) && ec)
        throw Failure("cannot make " + folder.string(), ec);
    stdfs::permissions(folder, stdfs::perms::owner_all, stdfs::perm_options::replace, ec);
    if (ec) throw Failure("cannot make " + folder.string() + " private", ec);
}

std::string FileText(const stdfs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::erase(text, '\r');
    return text;
}

std::string Quoted(const std::vector<std::string>& args) {
    std::string line = "$ printer-settings";
    for (const std::string& arg : args) line += " \"" + arg + "\"";
    return line;
}

class TWalkThrough {
public:
    TWalkThrough(TWindowFactory& windows, std::ostream& out) : m_Windows(windows), m_Out(out) {}

    // One run of the program, as a shell would show it; the per-printer files are then at
    // g_PrinterCacheBase.
    void Run(const std::vector<std::string>& args) {
        m_Out << Quoted(args) << "\n" << std::flush;
        const int status = RunStartUp(args, m_Windows);
        m_Out << "(exit status " << status << ")\n";
    }

    void Report(const std::string& printer) {
        Run({printer, "101"});
        m_Out << "--- values report of " << printer << ":\n"
              << FileText(g_PrinterCacheBase) << "\n";
    }

    void MenuRefresh(const std::string& printer) {
        Run({printer, "102"});
        std::error_code ec;
        const auto size = stdfs::file_size(g_PrinterCacheBase + ".DAT", ec);
        std::string model;
        std::ifstream ini(g_PrinterCacheBase + ".ini", std::ios::binary);
        for (std::string line; std::getline(ini, line);) {
            if (line.starts_with("PrinterName")) model = line;
        }
        std::erase(model, '\r');
        m_Out << "--- menu downloaded from " << printer << ": " << (ec ? 0 : size) << " bytes; "
              << model << "\n\n";
    }

    void Unreadable(const std::string& printer) {
        Run({printer, "101"});
        const stdfs::path base(g_PrinterCacheBase);
        const std::string name = base.filename().string();
        int files = 0;
        std::error_code ec;
        for (const auto& entry : stdfs::directory_iterator(base.parent_path(), ec)) {
            if (entry.path().filename().string().starts_with(name)) ++files;
        }
        m_Out << "--- a printer behind the network port monitor cannot be read over USB: "
              << "no report (" << files << " files for it)\n\n";
    }

private:
    TWindowFactory& m_Windows;
    std::ostream& m_Out;
};

}  // namespace

TDemoRequest ParseDemoArguments(std::vector<std::string> afterDemo) {
    TDemoRequest request;
    if (!afterDemo.empty() && afterDemo.front() == "--keep") {
        request.bKeep = true;
        afterDemo.erase(afterDemo.begin());
    }
    if (afterDemo.empty()) afterDemo.push_back(kDemoPrinter);
    request.args = std::move(afterDemo);
    return request;
}

stdfs::path UserDemoFolder() {
    const stdfs::path state = ps::fs::UserStateFolder();
    return state.empty() ? stdfs::path() : state / "printer-settings" / "demo";
}

stdfs::path PrepareDemoFolder(const stdfs::path& dataFolder, const stdfs::path& folder, bool keep) {
    const stdfs::path shipped = dataFolder / "emulation" / "demo";
    const stdfs::path emulation = folder / "emulation" / "demo";
    std::error_code ec;
    if (dataFolder.empty() || !stdfs::is_regular_file(shipped / "emulation.ini", ec))
        throw std::runtime_error("the demo printers are not installed (no " +
                                 (shipped / "emulation.ini").string() + ")");
    if (folder.empty()) throw std::runtime_error("the user has no folder for the demo (no HOME)");

    if (keep && stdfs::is_regular_file(emulation / "emulation.ini", ec)) return emulation;

    // A link in the folder's place goes, not what it points to.
    if (stdfs::exists(stdfs::symlink_status(folder, ec))) {
        stdfs::remove_all(folder, ec);
        if (ec) throw Failure("cannot remove the last demo in " + folder.string(), ec);
    }
    const stdfs::path parent = folder.parent_path();
    if (!stdfs::is_directory(parent, ec)) {
        stdfs::create_directories(parent.parent_path(), ec);
        MakePrivateFolder(parent);
    }
    MakePrivateFolder(folder);
    stdfs::create_directory(folder / "emulation", ec);
    stdfs::copy(shipped, emulation, stdfs::copy_options::recursive, ec);
    if (!ec)
        stdfs::copy(dataFolder / "Scheme", folder / "Scheme", stdfs::copy_options::recursive, ec);
    if (ec) throw Failure("cannot copy the demo printers to " + folder.string(), ec);
    return emulation;
}

int RunDemoWithoutDisplay(const std::vector<std::string>& args, const stdfs::path& emulation,
                          TWindowFactory& windows, std::ostream& out) {
    const std::uint8_t runMode = ParseCommandLine(args).iRunMode;
    if (runMode == kRunModeValuesReport || runMode == kRunModeMenuRefresh)
        return RunStartUp(args, windows);

    out << "No display: running the window-less demo instead.\n"
        << "(Run it on a desktop for the windows.)\n\n";
    TWalkThrough demo(windows, out);
    demo.Report(kDemoPrinter);
    demo.MenuRefresh("Talvenor QJ-760");
    demo.Report("Talvenor QJ-760");
    demo.Unreadable("Talvenor QR-520 Network");
    out << "Commands the emulated QR-520 received: "
        << (emulation / "devices" / "qr520" / "commands.log").string() << "\n";
    return kExitNoWindow;
}

}  // namespace ps
