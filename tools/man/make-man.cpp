// SPDX-License-Identifier: MIT
// make-man: turns a program's --help text into its manual page (troff, man macros), so the
// two cannot differ. Run at build time:  make-man HELP_FILE PROGRAM VERSION OUTPUT
//
// The help text: a "Usage:" block (one synopsis a line; deeper-indented lines continue it),
// a description, then sections. A section starts with an unindented line ending in ':'
// ("Exit status:"); in it, a line indented by two blanks starts an entry whose term ends at
// the first two blanks, deeper-indented lines continue the entry, and unindented lines are
// paragraphs of the section.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::size_t Indent(const std::string& line) {
    return line.find_first_not_of(' ') == std::string::npos ? line.size()
                                                            : line.find_first_not_of(' ');
}

std::string Trim(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// Text for troff: backslashes and hyphens escaped (a hyphen in a manual page is a minus sign,
// as in options), and a control character at the start of a line defused.
std::string Escape(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\\')
            out += "\\e";
        else if (c == '-')
            out += "\\-";
        else
            out += c;
    }
    if (!out.empty() && (out[0] == '.' || out[0] == '\'')) out.insert(0, "\\&");
    return out;
}

std::string Upper(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return text;
}

bool IsHeading(const std::string& line) {
    return !line.empty() && line[0] >= 'A' && line[0] <= 'Z' && line.back() == ':' &&
           line.find(". ") == std::string::npos;
}

// The first sentence of the description, as the page's one-line summary.
std::string Summary(const std::vector<std::string>& paragraph) {
    std::string text;
    for (const std::string& line : paragraph) text += (text.empty() ? "" : " ") + Trim(line);
    const auto end = text.find(". ");
    if (end != std::string::npos) text.resize(end);
    if (!text.empty() && text.back() == '.') text.pop_back();
    if (!text.empty() && text[0] >= 'A' && text[0] <= 'Z')
        text[0] = static_cast<char>(text[0] + 32);
    return text;
}

class TManPage {
public:
    TManPage(std::string program, std::string version)
        : m_Program(std::move(program)), m_Version(std::move(version)) {}

    std::string Make(const std::vector<std::string>& lines) {
        std::size_t i = 0;
        std::vector<std::string> synopses;
        for (; i < lines.size() && !Trim(lines[i]).empty(); ++i) {
            std::string line = lines[i];
            if (i == 0 && line.starts_with("Usage: ")) line = line.substr(7);
            if (i > 0 && Indent(line) > 7)
                synopses.back() += " " + Trim(line);
            else
                synopses.push_back(Trim(line));
        }
        std::vector<std::string> first;
        for (++i; i < lines.size() && !Trim(lines[i]).empty(); ++i) first.push_back(lines[i]);

        m_Out << ".TH " << Upper(Escape(m_Program)) << " 1 \"\" \"Printer Settings " << m_Version
              << "\" \"User Commands\"\n"
              // Names, options and paths read better unbroken.
              << ".nh\n.SH NAME\n"
              << Escape(m_Program) << " \\- " << Escape(Summary(first)) << "\n";
        // One synopsis a paragraph with a hanging indent.
        m_Out << ".SH SYNOPSIS\n.in +4n\n";
        for (std::size_t s = 0; s < synopses.size(); ++s) {
            const std::string& line = synopses[s];
            if (s > 0) m_Out << ".br\n";
            const std::string rest =
                line.size() > m_Program.size() ? Trim(line.substr(m_Program.size())) : "";
            m_Out << ".ti -4n\n\\fB" << Escape(m_Program) << "\\fR " << Escape(rest) << "\n";
        }
        m_Out << ".in\n.SH DESCRIPTION\n";
        for (const std::string& line : first) Text(line);
        for (; i < lines.size(); ++i) Line(lines[i]);
        EndEntry();
        return m_Out.str();
    }

private:
    void Text(const std::string& line) { m_Out << Escape(Trim(line)) << "\n"; }

    // An entry is a tagged paragraph; a term without text (a "See also" list) is plain text.
    void EndEntry() {
        if (m_Term.empty()) return;
        if (m_Entry.empty())
            m_Out << m_Term << "\n";
        else
            m_Out << ".TP\n\\fB" << m_Term << "\\fR\n" << m_Entry << "\n";
        m_Term.clear();
        m_Entry.clear();
    }

    void Line(const std::string& line) {
        const std::size_t indent = Indent(line);
        if (Trim(line).empty()) {
            EndEntry();
            m_NewParagraph = true;
            return;
        }
        if (indent == 0 && IsHeading(line)) {
            EndEntry();
            m_Out << ".SH " << Upper(Escape(line.substr(0, line.size() - 1))) << "\n";
            m_NewParagraph = false;
            return;
        }
        if (indent == 2) {
            EndEntry();
            const std::string body = line.substr(2);
            const auto gap = body.find("  ");
            m_Term = Escape(body.substr(0, gap));
            if (gap != std::string::npos) m_Entry = Escape(Trim(body.substr(gap)));
            m_NewParagraph = false;
            return;
        }
        if (indent > 2 && !m_Term.empty()) {
            m_Entry += (m_Entry.empty() ? "" : "\n") + Escape(Trim(line));
            return;
        }
        EndEntry();
        if (m_NewParagraph) m_Out << ".PP\n";
        m_NewParagraph = false;
        Text(line);
    }

    std::string m_Program;
    std::string m_Version;
    std::ostringstream m_Out;
    std::string m_Term;
    std::string m_Entry;
    bool m_NewParagraph = false;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: make-man HELP_FILE PROGRAM VERSION OUTPUT\n");
        return 2;
    }
    std::ifstream in(argv[1]);
    if (!in) {
        std::fprintf(stderr, "make-man: cannot read %s\n", argv[1]);
        return 1;
    }
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    const std::string page = TManPage(argv[2], argv[3]).Make(lines);
    std::ofstream out(argv[4], std::ios::binary);
    out << page;
    out.close();
    if (!out) {
        std::fprintf(stderr, "make-man: cannot write %s\n", argv[4]);
        return 1;
    }
    return 0;
}
