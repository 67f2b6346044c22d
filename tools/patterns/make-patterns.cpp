// SPDX-License-Identifier: MIT
// make-patterns: writes the nozzle-check pattern files the item dialog carries, and the C++
// source that carries them.
//   make-patterns OUT_DIR
// Five are raster pages of the printer families (reset, a title line, raster graphics with one
// staircase row per nozzle group and a solid band under it, form feed); "HoleCheck4D00" is the
// printer's own text test line.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace {

using TBytes = std::vector<std::uint8_t>;

// ESC/P raster colours.
constexpr std::uint8_t kBlack = 0;
constexpr std::uint8_t kRed = 1;

struct TFamily {
    const char* resource;
    const char* title;                 // printed above the pattern
    std::vector<std::uint8_t> groups;  // one nozzle group per colour entry, printed in order
    int nozzles;                       // rows of one band: the nozzles of a group
    int density;                       // dots per inch across and down (360 or 180)
    int widthDots;                     // printable width
    bool compressed;                   // run-length compressed raster data
    int steps;                         // columns of one staircase
};

const std::vector<TFamily>& Families() {
    static const std::vector<TFamily> families = {
        {"HoleCheck6A3C", "NOZZLE CHECK 6A3C", {kBlack, kRed}, 180, 360, 2880, true, 10},
        {"HoleCheck6A3C_2", "NOZZLE CHECK 6A3C-2", {kBlack, kRed}, 180, 360, 2880, true, 12},
        {"HoleCheckKV", "NOZZLE CHECK KV", {kBlack}, 96, 180, 1440, false, 8},
        {"HoleCheck4E17", "NOZZLE CHECK 4E17", {kBlack}, 128, 360, 2520, true, 8},
        {"HoleCheck7D05",
         "NOZZLE CHECK 7D05",
         {kBlack, kBlack, kRed, kRed},
         180,
         360,
         2880,
         true,
         10},
    };
    return families;
}

void Add(TBytes& out, std::initializer_list<std::uint8_t> bytes) {
    out.insert(out.end(), bytes);
}
void AddWord(TBytes& out, int value) {
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
    out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
}
void AddText(TBytes& out, const std::string& text) {
    out.insert(out.end(), text.begin(), text.end());
}

// TIFF-style run-length compression of one raster row (what ESC . 1 expects).
void PackBits(const TBytes& row, TBytes& out) {
    std::size_t i = 0;
    while (i < row.size()) {
        std::size_t run = 1;
        while (i + run < row.size() && run < 128 && row[i + run] == row[i]) ++run;
        if (run >= 2) {
            out.push_back(static_cast<std::uint8_t>(257 - run));
            out.push_back(row[i]);
            i += run;
            continue;
        }
        std::size_t literal = 1;
        while (i + literal < row.size() && literal < 128 &&
               !(i + literal + 1 < row.size() && row[i + literal] == row[i + literal + 1]))
            ++literal;
        out.push_back(static_cast<std::uint8_t>(literal - 1));
        out.insert(out.end(), row.begin() + static_cast<std::ptrdiff_t>(i),
                   row.begin() + static_cast<std::ptrdiff_t>(i + literal));
        i += literal;
    }
}

void SetDot(TBytes& row, int x) {
    row[static_cast<std::size_t>(x / 8)] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
}

// One band: ESC . c v h m nL nH and m rows of data, then a carriage return.
void Band(TBytes& out, const TFamily& f, const std::vector<TBytes>& rows) {
    const std::uint8_t unit = static_cast<std::uint8_t>(3600 / f.density);
    Add(out, {0x1B, 0x2E, static_cast<std::uint8_t>(f.compressed ? 1 : 0), unit, unit,
              static_cast<std::uint8_t>(rows.size())});
    AddWord(out, f.widthDots);
    for (const TBytes& row : rows) {
        if (f.compressed)
            PackBits(row, out);
        else
            out.insert(out.end(), row.begin(), row.end());
    }
    out.push_back(0x0D);
}

// Nozzle n fires a short dash in column n mod steps: a staircase per block, so a dash that is
// missing names the nozzle that did not fire.
std::vector<TBytes> Staircase(const TFamily& f) {
    const int rowBytes = (f.widthDots + 7) / 8;
    const int dash = f.density / 30;  // a dash of 1/30 inch
    const int column = dash + dash / 2;
    const int block = column * f.steps + 2 * dash;
    std::vector<TBytes> rows(static_cast<std::size_t>(f.nozzles),
                             TBytes(static_cast<std::size_t>(rowBytes), 0));
    for (int n = 0; n < f.nozzles; ++n) {
        for (int start = 0; start + block <= f.widthDots; start += block) {
            const int x = start + (n % f.steps) * column;
            for (int d = 0; d < dash; ++d) SetDot(rows[static_cast<std::size_t>(n)], x + d);
        }
    }
    return rows;
}

// Every nozzle over the whole width: a weak nozzle shows as a pale line in the band.
std::vector<TBytes> Solid(const TFamily& f) {
    const int rowBytes = (f.widthDots + 7) / 8;
    TBytes row(static_cast<std::size_t>(rowBytes), 0);
    for (int x = 0; x < f.widthDots; ++x) SetDot(row, x);
    return std::vector<TBytes>(static_cast<std::size_t>(f.nozzles), row);
}

TBytes RasterPage(const TFamily& f) {
    TBytes out;
    Add(out, {0x1B, 0x40});                            // reset
    AddText(out, std::string(f.title) + "\r\n\r\n");   // title in the printer's font
    Add(out, {0x1B, 0x28, 0x47, 0x01, 0x00, 0x01});    // graphics mode
    Add(out, {0x1B, 0x28, 0x55, 0x01, 0x00, 0x0A});    // unit 1/360 inch
    const int lineFeed = 360 * f.nozzles / f.density;  // one band, in 1/360 inch
    int position = 120;                                // below the title
    for (std::uint8_t colour : f.groups) {
        Add(out, {0x1B, 0x28, 0x56, 0x02, 0x00});  // absolute vertical position
        AddWord(out, position);
        Add(out, {0x1B, 0x72, colour});  // colour of the group
        Band(out, f, Staircase(f));
        Add(out, {0x1B, 0x28, 0x76, 0x02, 0x00});  // down by one band and a gap
        AddWord(out, lineFeed + 30);
        Band(out, f, Solid(f));
        position += 2 * lineFeed + 120;
    }
    Add(out, {0x0C});  // form feed
    return out;
}

// The printer's own test line: the nozzle check command, a feed, one framed text line, a
// feed, the form feed and a reset.
TBytes TextTestLine() {
    TBytes out = {0x1B, 0x1D, 0x1E, 0x10, 0x09, 0x81, 0x1B, 0x1D, 0x1F};
    Add(out, {0x0D, 0x1B, 0x4A, 0xD0});
    const std::string text =
        std::string(20, ' ') + "--  PRINTER HEAD HOLE TEST    END --" + std::string(20, ' ');
    Add(out, {0x1B, 0x1D, 0x1E, 0x10, 0x15});
    AddWord(out, static_cast<int>(text.size()));
    AddText(out, text);
    Add(out, {0x1B, 0x1D, 0x1F});
    Add(out, {0x0D, 0x1B, 0x4A, 0x10, 0x0C, 0x1B, 0x40});
    return out;
}

// The raster data must never look like the start of a framed command, which a printer of
// this kind would obey.
bool HasFrameStart(const TBytes& data) {
    for (std::size_t i = 0; i + 2 < data.size(); ++i)
        if (data[i] == 0x1B && data[i + 1] == 0x1D && data[i + 2] == 0x1E) return true;
    return false;
}

bool WriteFile(const std::filesystem::path& path, const TBytes& data) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data.data()),
              static_cast<std::streamsize>(data.size()));
    return static_cast<bool>(out);
}

std::string Identifier(const std::string& resource) {
    std::string id = "k";
    for (char c : resource) id += (c == '_') ? 'X' : c;
    return id;
}

std::string Source(const std::vector<std::pair<std::string, TBytes>>& patterns) {
    std::string text =
        "// Generated by tools/patterns/make-patterns at build time; do not edit.\n"
        "#include \"maintenance/NozzlePatterns.h\"\n\nnamespace ps {\nnamespace {\n\n";
    for (const auto& [name, data] : patterns) {
        text += "const std::uint8_t " + Identifier(name) + "[] = {";
        for (std::size_t i = 0; i < data.size(); ++i) {
            if (i % 24 == 0) text += "\n";
            text += std::to_string(data[i]) + ",";
        }
        text += "\n};\n\n";
    }
    text +=
        "}  // namespace\n\nstd::span<const std::uint8_t> NozzlePatternData(std::string_view "
        "resource) {\n";
    for (const auto& [name, data] : patterns)
        text += "    if (resource == \"" + name + "\") return " + Identifier(name) + ";\n";
    text += "    return {};\n}\n\n}  // namespace ps\n";
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make-patterns OUT_DIR\n";
        return 2;
    }
    const std::filesystem::path out = argv[1];
    std::filesystem::create_directories(out);
    std::vector<std::pair<std::string, TBytes>> patterns;
    for (const TFamily& family : Families()) {
        TBytes page = RasterPage(family);
        if (HasFrameStart(page)) {
            std::cerr << "make-patterns: " << family.resource << " holds a frame start\n";
            return 1;
        }
        patterns.emplace_back(family.resource, std::move(page));
    }
    patterns.emplace_back("HoleCheck4D00", TextTestLine());
    for (const auto& [name, data] : patterns) {
        if (!WriteFile(out / (name + ".prn"), data)) {
            std::cerr << "make-patterns: cannot write " << name << ".prn\n";
            return 1;
        }
    }
    const std::string source = Source(patterns);
    const std::filesystem::path file = out / "NozzlePatternData.cpp";
    std::ofstream(file.string() + ".tmp", std::ios::binary | std::ios::trunc) << source;
    std::filesystem::rename(file.string() + ".tmp", file);
    return 0;
}
