#include "orvel/cli/ManPage.h"

#include "orvel/cli/CommandTable.h"

#include <cctype>
#include <vector>

namespace Orvel::Cli {

namespace {

std::vector<std::string_view> linesOf(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const auto end = text.find('\n');
        lines.push_back(text.substr(0, end));
        text.remove_prefix(end == text.npos ? text.size() : end + 1);
    }
    return lines;
}

std::string_view trimmed(std::string_view line) {
    while (!line.empty() && line.front() == ' ') {
        line.remove_prefix(1);
    }
    while (!line.empty() && line.back() == ' ') {
        line.remove_suffix(1);
    }
    return line;
}

std::size_t indentation(std::string_view line) {
    return line.find_first_not_of(' ');
}

// Text for roff: backslashes and hyphens escaped, no line taken for a request.
std::string escaped(std::string_view text) {
    std::string out;
    for (const auto line : linesOf(text)) {
        if (line.starts_with('.') || line.starts_with('\'')) {
            out += "\\&";
        }
        for (const char c : line) {
            out += c == '\\'  ? std::string("\\e")
                   : c == '-' ? std::string("\\-")
                              : std::string(1, c);
        }
        out += '\n';
    }
    return out;
}

// "--grace 24": the option in bold, its value in italics.
std::string term(std::string_view text) {
    const auto space = text.find(' ');
    std::string out = "\\fB" + escaped(text.substr(0, space));
    out.pop_back();
    out += "\\fR";
    if (space != text.npos) {
        std::string value = escaped(trimmed(text.substr(space)));
        value.pop_back();
        out += " \\fI" + value + "\\fR";
    }
    return out + "\n";
}

struct Blocks {
    std::vector<std::string_view> usage;
    std::string prose;
    std::string options;
};

bool isOptionBlock(const std::vector<std::string_view>& block) {
    return indentation(block.front()) > 0 && trimmed(block.front()).starts_with('-');
}

// An option list as tagged paragraphs.
std::string optionList(const std::vector<std::string_view>& block) {
    std::string out;
    const auto column = indentation(block.front());
    for (const auto line : block) {
        const auto text = trimmed(line);
        if (indentation(line) == column) {
            const auto gap = text.find("  ");
            out += ".TP\n" + term(text.substr(0, gap));
            if (gap != text.npos) {
                out += escaped(trimmed(text.substr(gap)));
            }
        } else {
            out += escaped(text);
        }
    }
    return out;
}

Blocks blocksOf(std::string_view help) {
    Blocks blocks;
    std::vector<std::vector<std::string_view>> grouped(1);
    for (const auto line : linesOf(help)) {
        if (trimmed(line).empty()) {
            if (!grouped.back().empty()) {
                grouped.emplace_back();
            }
        } else {
            grouped.back().push_back(line);
        }
    }
    for (const auto& block : grouped) {
        if (block.empty()) {
            continue;
        }
        if (block.front().starts_with("usage: ")) {
            for (const auto line : block) {
                blocks.usage.push_back(
                    trimmed(line.starts_with("usage: ") ? line.substr(7) : line));
            }
        } else if (isOptionBlock(block)) {
            blocks.options += optionList(block);
        } else {
            blocks.prose += ".PP\n";
            for (const auto line : block) {
                blocks.prose += escaped(trimmed(line));
            }
        }
    }
    return blocks;
}

std::string upper(std::string_view text) {
    std::string out;
    for (const char c : text) {
        out += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return out;
}

std::string header(std::string_view program, std::string_view summary) {
    std::string name = escaped(upper(program));
    name.pop_back();
    return ".TH " + name + " 1 \"\" \"Orvel\" \"User Commands\"\n.nh\n.ad l\n.SH NAME\n" +
           escaped(std::string(program) + " - " + std::string(summary));
}

// A usage line: the program in bold, the rest as written.
std::string synopsis(const std::vector<std::string_view>& usage) {
    std::string out = ".SH SYNOPSIS\n";
    for (std::size_t i = 0; i < usage.size(); ++i) {
        out += i > 0 ? ".br\n" : "";
        out += term(usage[i]);
    }
    return out;
}

} // namespace

std::string manPageFromHelp(std::string_view program, std::string_view summary,
                            std::string_view help) {
    const auto blocks = blocksOf(help);
    std::string page = header(program, summary);
    page += synopsis(blocks.usage);
    page += ".SH DESCRIPTION\n" + blocks.prose;
    if (!blocks.options.empty()) {
        page += ".SH OPTIONS\n" + blocks.options;
    }
    return page;
}

std::string orvelctlManPage() {
    const auto head = blocksOf(generalUsageHead);
    std::string page = header("orvelctl", "the Orvel inbox from a terminal");
    page += synopsis(head.usage);
    page += ".SH DESCRIPTION\n" + head.prose;
    page += ".SH COMMANDS\n";
    for (const auto& declared : commandTable()) {
        const auto command = blocksOf(declared.help);
        std::string heading = escaped(usageLine(declared.command).substr(7));
        heading.pop_back();
        page += ".SS \"" + heading + "\"\n";
        // The heading already starts a paragraph.
        const std::string_view prose = command.prose;
        page += prose.starts_with(".PP\n") ? prose.substr(4) : prose;
        if (!command.options.empty()) {
            page += command.options + ".PP\n";
        }
    }
    page += ".SH OPTIONS\n";
    for (const auto& option : globalOptions()) {
        std::string name(option.name);
        if (option.takesValue()) {
            name += " " + std::string(option.valueName);
        }
        page += ".TP\n" + term(name) + escaped(option.help);
    }
    page += ".SH \"EXIT STATUS\"\n" + escaped(generalUsageTail);
    page += ".SH \"SEE ALSO\"\n.BR orvel\\-send (1),\n.BR orvel\\-devserver (1)\n";
    return page;
}

} // namespace Orvel::Cli
