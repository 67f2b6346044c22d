// SPDX-License-Identifier: MIT
// The programs' help texts (resources/help/), what --help and --version print, the manual
// pages made from the help texts, and the command lines of docs/ all say the same.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "ProgramRunner.h"
#include "support/TestSupport.h"

namespace ps::test {
namespace {

struct TProgram {
    std::string name;
    std::filesystem::path binary;
    std::string doc;            // docs/ file with its command line
    std::string headingPrefix;  // "## " headings of its sections there
};

const std::vector<TProgram>& Programs() {
    static const std::vector<TProgram> programs = {
        {"printer-settings", PRINTER_SETTINGS_BIN, "command-line.md", "## printer-settings"},
        {"printer-settings-tool", PRINTER_SETTINGS_TOOL_BIN, "command-line.md",
         "## printer-settings-tool"},
        {"printer-emulator", PS_PRINTER_EMULATOR, "emulator.md", "## The daemon"}};
    return programs;
}

std::string ReadText(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    EXPECT_TRUE(in) << file;
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// Blanks collapsed, backticks (Markdown code) dropped.
std::string Plain(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '`') continue;
        if (c == ' ' || c == '\t' || c == '\n') {
            if (!out.empty() && out.back() != ' ') out += ' ';
        } else {
            out += c;
        }
    }
    while (!out.empty() && out.back() == ' ') out.pop_back();
    return out;
}

std::size_t Indent(const std::string& line) {
    const auto n = line.find_first_not_of(' ');
    return n == std::string::npos ? line.size() : n;
}

struct THelp {
    std::vector<std::string> synopses;
    std::map<std::string, std::vector<std::string>> sections;  // "Exit status" -> "0 stopped"
};

THelp ParseHelp(const std::string& text) {
    THelp help;
    const std::vector<std::string> lines = Lines(text);
    std::size_t i = 0;
    for (; i < lines.size() && !lines[i].empty(); ++i) {
        std::string line = lines[i];
        if (i == 0) line = line.substr(line.find(' ') + 1);  // "Usage: "
        if (i > 0 && Indent(line) > 7)
            help.synopses.back() = Plain(help.synopses.back() + " " + line);
        else
            help.synopses.push_back(Plain(line));
    }
    std::string section;
    for (; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        if (!line.empty() && Indent(line) == 0 && line.back() == ':') {
            section = line.substr(0, line.size() - 1);
        } else if (!section.empty() && Indent(line) == 2) {
            help.sections[section].push_back(Plain(line));
        } else if (!section.empty() && Indent(line) > 2 && !help.sections[section].empty()) {
            help.sections[section].back() = Plain(help.sections[section].back() + " " + line);
        } else if (Indent(line) == 0) {
            section.clear();
        }
    }
    return help;
}

struct TDoc {
    std::vector<std::string> synopses;
    std::map<std::string, std::vector<std::string>> tables;  // first header cell -> rows
};

// The program's lines in the plain code blocks of `text`, and the tables of its sections.
TDoc ParseDoc(const std::string& text, const TProgram& program) {
    TDoc doc;
    bool inBlock = false;
    bool plainBlock = false;
    bool inSection = false;
    std::string table;
    for (const std::string& line : Lines(text)) {
        if (line.starts_with("```")) {
            plainBlock = !inBlock && line == "```";
            inBlock = !inBlock;
            continue;
        }
        if (inBlock) {
            if (plainBlock && (line == program.name || line.starts_with(program.name + " ")))
                doc.synopses.push_back(Plain(line));
            continue;
        }
        if (line.starts_with("## ")) {
            inSection =
                line == program.headingPrefix || line.starts_with(program.headingPrefix + ":");
            continue;
        }
        if (!inSection || !line.starts_with("|")) {
            table.clear();
            continue;
        }
        std::vector<std::string> cells;
        std::istringstream row(line.substr(1));
        for (std::string cell; std::getline(row, cell, '|');) cells.push_back(Plain(cell));
        if (cells.size() < 2 || cells[0].starts_with("---")) continue;
        if (table.empty()) {
            table = cells[0];
            continue;
        }
        doc.tables[table].push_back(cells[0] + " " + cells[1]);
    }
    return doc;
}

// The help text's section that says what a docs table of this header says.
const std::map<std::string, std::string> kSectionOfTable = {
    {"Argument", "Arguments"}, {"Run mode", "Run modes"}, {"Status", "Exit status"}};

std::string HelpText(const TProgram& program) {
    return ReadText(SourceDir() / "resources" / "help" / (program.name + ".txt"));
}

TEST(ProgramHelp, HelpTextsSayWhatTheDocsSay) {
    for (const TProgram& program : Programs()) {
        SCOPED_TRACE(program.name);
        const THelp help = ParseHelp(HelpText(program));
        const TDoc doc = ParseDoc(ReadText(SourceDir() / "docs" / program.doc), program);
        EXPECT_EQ(help.synopses, doc.synopses);
        ASSERT_TRUE(doc.tables.contains("Status"));
        for (const auto& [header, rows] : doc.tables) {
            if (!kSectionOfTable.contains(header)) continue;  // the JSON members, say
            const std::string section = kSectionOfTable.at(header);
            ASSERT_TRUE(help.sections.contains(section)) << section;
            EXPECT_EQ(help.sections.at(section), rows) << section;
        }
    }
}

TEST(ProgramHelp, ProgramsPrintTheirHelpTextAndVersion) {
    for (const TProgram& program : Programs()) {
        SCOPED_TRACE(program.name);
        const TProgramResult help = RunProgram(program.binary, {"--help"}, {});
        EXPECT_EQ(help.exitCode, 0);
        EXPECT_EQ(help.out, HelpText(program));
        const TProgramResult version = RunProgram(program.binary, {"--version"}, {});
        EXPECT_EQ(version.exitCode, 0);
        EXPECT_EQ(version.out, program.name + " " + PS_VERSION + "\n");
    }
}

// The manual page as man shows it: every synopsis and every entry of the help text is there.
TEST(ProgramHelp, ManualPagesCarryTheHelpText) {
    if (std::string(PS_GROFF).empty()) GTEST_SKIP() << "no groff to show the pages";
    for (const TProgram& program : Programs()) {
        SCOPED_TRACE(program.name);
        const std::string page = std::string(PS_MAN_OUTPUT) + "/" + program.name + ".1.gz";
        const TProgramResult shown = RunProgram(
            "/bin/sh",
            {"-c", "gzip -dc '" + page + "' | '" PS_GROFF "' -man -Tascii -P-cbou -ww 2>&1"}, {});
        ASSERT_EQ(shown.exitCode, 0);
        const std::string text = Plain(shown.out);
        EXPECT_EQ(text.find("warning"), std::string::npos) << shown.out;
        const THelp help = ParseHelp(HelpText(program));
        for (const std::string& synopsis : help.synopses)
            EXPECT_NE(text.find(synopsis), std::string::npos) << synopsis << "\n" << shown.out;
        for (const auto& [section, entries] : help.sections) {
            for (const std::string& entry : entries)
                EXPECT_NE(text.find(entry), std::string::npos) << entry << "\n" << shown.out;
        }
    }
}

}  // namespace
}  // namespace ps::test
