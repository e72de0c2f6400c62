#include "orvel/shell/MarkdownPresentation.h"

#include "orvel/shell/MarkdownInline.h"

#include <algorithm>
#include <map>
#include <optional>
#include <utility>
#include <vector>

namespace Orvel::MarkdownPresentation {

namespace {

using namespace MarkdownInline;

std::string renderInline(std::string_view text, const Definitions& definitions) {
    return MarkdownInline::render(text, definitions);
}

// ---- Blocks ------------------------------------------------------------------

std::size_t indentOf(std::string_view line) {
    std::size_t i = 0;
    while (i < line.size() && line[i] == ' ') {
        ++i;
    }
    return i;
}

bool isBlank(std::string_view line) {
    return indentOf(line) == line.size();
}

std::string dropIndent(std::string_view line, std::size_t count) {
    return std::string(line.substr(std::min(count, indentOf(line))));
}

struct Fence {
    char c;
    std::size_t length;
    std::size_t indent;
};

std::optional<Fence> fenceOf(std::string_view line) {
    const auto indent = indentOf(line);
    if (indent > 3 || indent >= line.size()) {
        return std::nullopt;
    }
    const auto c = line[indent];
    if (c != '`' && c != '~') {
        return std::nullopt;
    }
    auto end = indent;
    while (end < line.size() && line[end] == c) {
        ++end;
    }
    if (end - indent < 3 || (c == '`' && line.substr(end).find('`') != npos)) {
        return std::nullopt;
    }
    return Fence{c, end - indent, indent};
}

bool closesFence(std::string_view line, const Fence& fence) {
    const auto indent = indentOf(line);
    if (indent > 3) {
        return false;
    }
    auto end = indent;
    while (end < line.size() && line[end] == fence.c) {
        ++end;
    }
    return end - indent >= fence.length && isBlank(line.substr(end));
}

std::optional<std::pair<int, std::string>> atxHeading(std::string_view line) {
    const auto indent = indentOf(line);
    if (indent > 3) {
        return std::nullopt;
    }
    auto end = indent;
    while (end < line.size() && line[end] == '#') {
        ++end;
    }
    const auto level = static_cast<int>(end - indent);
    if (level < 1 || level > 6 || (end < line.size() && line[end] != ' ' && line[end] != '\t')) {
        return std::nullopt;
    }
    auto text = trim(line.substr(end));
    // A closing run of '#' preceded by a space is not part of the text.
    auto cut = text.size();
    while (cut > 0 && text[cut - 1] == '#') {
        --cut;
    }
    if (cut == 0 || text[cut - 1] == ' ') {
        text = trim(std::string_view(text).substr(0, cut));
    }
    return std::pair{level, text};
}

bool isThematicBreak(std::string_view line) {
    if (indentOf(line) > 3) {
        return false;
    }
    char mark = 0;
    int count = 0;
    for (const char c : line) {
        if (c == ' ' || c == '\t') {
            continue;
        }
        if ((c != '-' && c != '*' && c != '_') || (mark != 0 && c != mark)) {
            return false;
        }
        mark = c;
        ++count;
    }
    return count >= 3;
}

// "===" or "---" under a paragraph: level 1 or 2.
int setextLevel(std::string_view line) {
    if (indentOf(line) > 3) {
        return 0;
    }
    const auto text = trim(line);
    if (text.empty() || text.find_first_not_of(text[0]) != std::string::npos) {
        return 0;
    }
    return text[0] == '=' ? 1 : text[0] == '-' ? 2 : 0;
}

struct ListMarker {
    bool ordered = false;
    char delimiter = 0; // the bullet, or '.' / ')' after the number
    long start = 1;
    std::size_t contentIndent = 0;
};

std::optional<ListMarker> listMarkerOf(std::string_view line) {
    const auto indent = indentOf(line);
    if (indent > 3 || indent >= line.size()) {
        return std::nullopt;
    }
    ListMarker marker;
    auto at = indent;
    if (line[at] == '-' || line[at] == '*' || line[at] == '+') {
        marker.delimiter = line[at];
        ++at;
    } else {
        long number = 0;
        while (at < line.size() && isDigit(line[at]) && at - indent < 9) {
            number = number * 10 + (line[at] - '0');
            ++at;
        }
        if (at == indent || at >= line.size() || (line[at] != '.' && line[at] != ')')) {
            return std::nullopt;
        }
        marker.ordered = true;
        marker.delimiter = line[at];
        marker.start = number;
        ++at;
    }
    if (at < line.size() && line[at] != ' ' && line[at] != '\t') {
        return std::nullopt;
    }
    auto content = at;
    while (content < line.size() && line[content] == ' ' && content - at < 4) {
        ++content;
    }
    marker.contentIndent = content >= line.size() || content - at >= 4 ? at + 1 : content;
    return marker;
}

bool sameList(const ListMarker& a, const ListMarker& b) {
    return a.ordered == b.ordered && a.delimiter == b.delimiter;
}

// "[label]: address" on a line of its own.
std::optional<std::pair<std::string, std::string>> definitionOf(std::string_view line) {
    const auto indent = indentOf(line);
    if (indent > 3 || indent >= line.size() || line[indent] != '[') {
        return std::nullopt;
    }
    const auto close = line.find("]:", indent);
    if (close == npos || close - indent > 1000) {
        return std::nullopt;
    }
    const auto label = normalizeLabel(line.substr(indent + 1, close - indent - 1));
    if (label.empty() || label.find_first_of("[]") != std::string::npos) {
        return std::nullopt;
    }
    auto at = skipSpaces(line, close + 2);
    const auto destination = parseDestination(line, at);
    if (!destination || (destination->first.empty() && line[at] != '<')) {
        return std::nullopt;
    }
    at = skipSpaces(line, destination->second);
    const auto titleEnd = skipTitle(line, at);
    if (!titleEnd || !isBlank(line.substr(*titleEnd))) {
        return std::nullopt;
    }
    return std::pair{label, unescapeDestination(destination->first)};
}

class BlockRenderer {
public:
    explicit BlockRenderer(const Definitions& definitions) : definitions_(definitions) {}

    // `tight`: paragraphs without <p>, as in list items.
    std::string render(const std::vector<std::string>& lines, int depth, bool tight) {
        std::string out;
        std::vector<std::string> paragraph;
        const auto flush = [&] {
            if (paragraph.empty()) {
                return;
            }
            std::string text;
            for (const auto& line : paragraph) {
                if (!text.empty()) {
                    text += '\n';
                }
                text += line;
            }
            paragraph.clear();
            const auto rendered = renderInline(trim(text), definitions_);
            if (tight) {
                if (!out.empty() && !out.ends_with('>')) {
                    out += "<br/>";
                }
                out += rendered;
            } else {
                out += "<p>" + rendered + "</p>";
            }
        };

        std::size_t i = 0;
        while (i < lines.size()) {
            const auto& line = lines[i];
            if (isBlank(line)) {
                flush();
                ++i;
                continue;
            }
            if (paragraph.empty() && indentOf(line) >= 4) {
                std::vector<std::string> code;
                while (i < lines.size() && (isBlank(lines[i]) || indentOf(lines[i]) >= 4)) {
                    code.push_back(dropIndent(lines[i], 4));
                    ++i;
                }
                while (!code.empty() && isBlank(code.back())) {
                    code.pop_back();
                }
                out += codeBlock(code);
                continue;
            }
            if (const auto fence = fenceOf(line)) {
                flush();
                std::vector<std::string> code;
                ++i;
                while (i < lines.size() && !closesFence(lines[i], *fence)) {
                    code.push_back(dropIndent(lines[i], fence->indent));
                    ++i;
                }
                ++i; // the closing fence, or the end
                out += codeBlock(code);
                continue;
            }
            if (const auto heading = atxHeading(line)) {
                flush();
                out += headingTag(heading->first, renderInline(heading->second, definitions_));
                ++i;
                continue;
            }
            if (!paragraph.empty()) {
                if (const auto level = setextLevel(line)) {
                    std::string text;
                    for (const auto& part : paragraph) {
                        text += (text.empty() ? "" : "\n") + part;
                    }
                    paragraph.clear();
                    out += headingTag(level, renderInline(trim(text), definitions_));
                    ++i;
                    continue;
                }
            }
            if (isThematicBreak(line)) {
                flush();
                out += "<hr/>";
                ++i;
                continue;
            }
            const auto indent = indentOf(line);
            if (indent <= 3 && line[indent] == '>' && depth < maximumNesting) {
                flush();
                std::vector<std::string> quoted;
                while (i < lines.size() && !isBlank(lines[i]) && indentOf(lines[i]) <= 3 &&
                       lines[i][indentOf(lines[i])] == '>') {
                    auto rest = std::string_view(lines[i]).substr(indentOf(lines[i]) + 1);
                    if (!rest.empty() && rest[0] == ' ') {
                        rest.remove_prefix(1);
                    }
                    quoted.emplace_back(rest);
                    ++i;
                }
                out += "<blockquote>" + render(quoted, depth + 1, false) + "</blockquote>";
                continue;
            }
            if (const auto marker = listMarkerOf(line); marker && depth < maximumNesting) {
                flush();
                i = list(lines, i, *marker, depth, out);
                continue;
            }
            if (paragraph.empty() && depth == 0 && definitionOf(line)) {
                ++i;
                continue;
            }
            // Trailing spaces stay: two of them end a line with a break.
            paragraph.push_back(std::string(std::string_view(line).substr(indentOf(line))));
            ++i;
        }
        flush();
        return out;
    }

private:
    std::size_t list(const std::vector<std::string>& lines, std::size_t i, ListMarker first,
                     int depth, std::string& out) {
        out += first.ordered
                   ? (first.start == 1 ? std::string("<ol>")
                                       : "<ol start=\"" + std::to_string(first.start) + "\">")
                   : std::string("<ul>");
        auto marker = first;
        while (i < lines.size()) {
            std::vector<std::string> item;
            item.push_back(std::string(std::string_view(lines[i]).substr(
                std::min(marker.contentIndent, lines[i].size()))));
            ++i;
            bool previousBlank = false;
            std::optional<ListMarker> nextMarker;
            while (i < lines.size()) {
                const auto& line = lines[i];
                if (isBlank(line)) {
                    item.emplace_back();
                    previousBlank = true;
                    ++i;
                    continue;
                }
                if (indentOf(line) >= marker.contentIndent) {
                    item.push_back(dropIndent(line, marker.contentIndent));
                    previousBlank = false;
                    ++i;
                    continue;
                }
                if (const auto next = listMarkerOf(line)) {
                    nextMarker = next;
                    break;
                }
                if (previousBlank || fenceOf(line) || atxHeading(line) || isThematicBreak(line)) {
                    break;
                }
                item.push_back(trim(line)); // a lazy continuation of the item's paragraph
                ++i;
            }
            while (!item.empty() && isBlank(item.back())) {
                item.pop_back();
            }
            out += "<li>" + render(item, depth + 1, true) + "</li>";
            if (!nextMarker || !sameList(*nextMarker, first)) {
                break;
            }
            marker = *nextMarker;
        }
        out += first.ordered ? "</ol>" : "</ul>";
        return i;
    }

    static std::string codeBlock(const std::vector<std::string>& lines) {
        std::string out = "<pre>";
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (i > 0) {
                out += '\n';
            }
            out += escapeHtml(lines[i]);
        }
        return out + "</pre>";
    }

    static std::string headingTag(int level, const std::string& content) {
        const auto n = std::to_string(level);
        return "<h" + n + ">" + content + "</h" + n + ">";
    }

    const Definitions& definitions_;
};

std::vector<std::string> splitLines(std::string_view text) {
    std::vector<std::string> lines;
    std::string line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = text[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
            lines.push_back(std::move(line));
            line.clear();
        } else if (c == '\t') {
            // Tabs stop every four columns.
            line.append(4 - line.size() % 4, ' ');
        } else {
            line += c;
        }
    }
    lines.push_back(std::move(line));
    return lines;
}

} // namespace

std::string escapeHtml(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        appendEscaped(out, c);
    }
    return out;
}

bool isWebLink(std::string_view url) {
    for (const char c : url) {
        if (static_cast<unsigned char>(c) <= 0x20 || c == 0x7f) {
            return false;
        }
    }
    const auto colon = url.find(':');
    if (colon == npos) {
        return false;
    }
    std::string scheme;
    for (const char c : url.substr(0, colon)) {
        scheme += lower(c);
    }
    return scheme == "http" || scheme == "https";
}

std::string render(std::string_view text) {
    const auto lines = splitLines(text);
    Definitions definitions;
    std::optional<Fence> fence;
    bool paragraphOpen = false;
    for (const auto& line : lines) {
        if (fence) {
            if (closesFence(line, *fence)) {
                fence.reset();
            }
            continue;
        }
        if ((fence = fenceOf(line))) {
            paragraphOpen = false;
            continue;
        }
        if (!paragraphOpen) {
            if (auto definition = definitionOf(line)) {
                // The first definition of a label wins.
                definitions.emplace(std::move(definition->first), std::move(definition->second));
                continue;
            }
        }
        paragraphOpen = !isBlank(line);
    }
    return BlockRenderer(definitions).render(lines, 0, false);
}

} // namespace Orvel::MarkdownPresentation
