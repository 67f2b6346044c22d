// SPDX-License-Identifier: MIT
// Fuzz target: the emulator's frame splitter and the printer behind it take any bytes. The
// splitter must hand back exactly the bytes it was given, cut anywhere; the printer must never
// produce a reply beyond the read buffer.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

#include "base/IniFile.h"
#include "emulator/Frames.h"
#include "emulator/PrinterCore.h"

namespace {

using namespace ps::emu;

class TFuzzClock : public ps::TClock {
public:
    std::uint64_t NowMs() override { return m_Now; }
    void Sleep(std::uint32_t ms) override { m_Now += ms; }
    std::uint64_t m_Now = 0;
};

const char* const kScheme =
    "[GlobalSettings]\nSettingCommand=6B22\n"
    "[BaseSection]\nItemCount=3\n"
    "[BaseItem01]\nGetInstruction=0A\nSetInstruction=1B 1D 1E 00 0B\nParameterCount=1\n"
    "[BaseItem02]\nGetInstruction=21\nSetInstruction=1B 1D 1E 05 04 21\nParameterCount=2\n"
    "[BaseItem03]\nGetInstruction=2E\nSetInstruction=1B 1D 1E 05 04 2E\nParameterCount=3\n"
    "[MaintenanceSection]\nItemCount=1\n"
    "[MaintenanceItem01]\nIcon=Ink_Adjust\nSetInstruction=1B 1D 1E 11 02\n";

void CheckSplitter(std::span<const std::uint8_t> data, std::size_t piece) {
    TFrameParser parser(
        {0x1B, 0x1D, 0x1F},
        [](std::span<const std::uint8_t> body, std::vector<std::size_t>& lengths) {
            // Lengths taken from the data itself, as the real oracle does.
            if (body.size() >= 2) lengths.push_back(body[1] % 40);
        },
        64);
    std::vector<std::uint8_t> out;
    auto collect = [&](const std::vector<TSegment>& segments) {
        for (const TSegment& s : segments) out.insert(out.end(), s.bytes.begin(), s.bytes.end());
    };
    for (std::size_t pos = 0; pos < data.size(); pos += piece)
        collect(parser.Feed(data.subspan(pos, std::min(piece, data.size() - pos)), false));
    collect(parser.Feed({}, true));
    if (out.size() != data.size() || !std::equal(out.begin(), out.end(), data.begin()))
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    if (size < 2) return 0;
    const std::span<const std::uint8_t> data(bytes + 2, size - 2);
    CheckSplitter(data, 1 + bytes[0] % 16);

    static const ps::TIniFile scheme = ps::TIniFile::FromText(kScheme);
    TFuzzClock clock;
    TCoreSetup setup;
    setup.scheme = LoadSchemeTable(&scheme, nullptr);
    setup.menu = std::vector<std::uint8_t>{'[', 'A', ']'};
    setup.options.noise = {0x00};
    TPrinterCore core(std::move(setup), clock);
    const char* routes[] = {"monitor", "usb", "port", "job x"};
    std::size_t pos = 0;
    while (pos < data.size()) {
        const std::size_t n = std::min<std::size_t>(1 + bytes[1] % 32, data.size() - pos);
        core.Receive(ParseRoute(routes[(pos / n + bytes[1]) % 4]), data.subspan(pos, n));
        pos += n;
        clock.m_Now += 997;
        for (auto reply = core.TakeReply(1 << 20); !reply.empty(); reply = core.TakeReply(1 << 20))
            if (reply.size() > kReadAllLimit) std::abort();
        core.StatusByte();
    }
    return 0;
}
