#include "orvel/shell/MarkdownPresentation.h"

#include <algorithm>
#include <map>
#include <optional>
#include <utility>
#include <vector>

namespace Orvel::MarkdownPresentation {

namespace {

constexpr auto npos = std::string_view::npos;

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isAlpha(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool isAlnum(char c) {
    return isAlpha(c) || isDigit(c);
}
bool isPunct(char c) {
    return (c >= '!' && c <= '/') || (c >= ':' && c <= '@') || (c >= '[' && c <= '`') ||
           (c >= '{' && c <= '~');
}
char lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool startsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) {
        return false;
    }
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (lower(text[i]) != prefix[i]) {
            return false;
        }
    }
    return true;
}

void appendEscaped(std::string& out, char c) {
    switch (c) {
    case '&':
        out += "&amp;";
        break;
    case '<':
        out += "&lt;";
        break;
    case '>':
        out += "&gt;";
        break;
    case '"':
        out += "&quot;";
        break;
    case '\0':
        out += "\xEF\xBF\xBD"; // U+FFFD
        break;
    default:
        out += c;
    }
}

// "scheme:" with a scheme of 2 to 32 letters, digits, "+", "." or "-",
// starting with a letter.
bool hasScheme(std::string_view text) {
    const auto colon = text.find(':');
    if (colon == npos || colon < 2 || colon > 32 || !isAlpha(text[0])) {
        return false;
    }
    for (std::size_t i = 1; i < colon; ++i) {
        if (!isAlnum(text[i]) && text[i] != '+' && text[i] != '.' && text[i] != '-') {
            return false;
        }
    }
    return true;
}

std::string trim(std::string_view text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && isSpace(text[begin])) {
        ++begin;
    }
    while (end > begin && isSpace(text[end - 1])) {
        --end;
    }
    return std::string(text.substr(begin, end - begin));
}

// Labels match case-insensitively with runs of white space collapsed.
std::string normalizeLabel(std::string_view label) {
    std::string result;
    bool space = false;
    for (const char c : trim(label)) {
        if (isSpace(c)) {
            space = true;
            continue;
        }
        if (space) {
            result += ' ';
            space = false;
        }
        result += lower(c);
    }
    return result;
}

using Definitions = std::map<std::string, std::string, std::less<>>;

// A link destination: "<...>" or a run without spaces and with balanced
// parentheses. Returns the address and the position after it.
std::optional<std::pair<std::string, std::size_t>> parseDestination(std::string_view text,
                                                                    std::size_t at) {
    if (at < text.size() && text[at] == '<') {
        const auto limit = std::min(text.size(), at + 1 + maximumLinkLength);
        for (auto i = at + 1; i < limit; ++i) {
            if (text[i] == '>') {
                return std::pair{std::string(text.substr(at + 1, i - at - 1)), i + 1};
            }
            if (text[i] == '<' || text[i] == '\n') {
                return std::nullopt;
            }
        }
        return std::nullopt;
    }
    int depth = 0;
    auto i = at;
    for (; i < text.size(); ++i) {
        const auto c = text[i];
        if (i - at > maximumLinkLength) {
            return std::nullopt;
        }
        if (c == '\\' && i + 1 < text.size() && isPunct(text[i + 1])) {
            ++i;
            continue;
        }
        if (isSpace(c) || static_cast<unsigned char>(c) < 0x20) {
            break;
        }
        if (c == '(') {
            ++depth;
        } else if (c == ')') {
            if (depth == 0) {
                break;
            }
            --depth;
        }
    }
    if (depth != 0) {
        return std::nullopt;
    }
    return std::pair{std::string(text.substr(at, i - at)), i};
}

// An optional title after white space: "...", '...' or (...).
std::optional<std::size_t> skipTitle(std::string_view text, std::size_t at) {
    if (at >= text.size()) {
        return at;
    }
    const auto open = text[at];
    const auto close = open == '(' ? ')' : open;
    if (open != '"' && open != '\'' && open != '(') {
        return at;
    }
    const auto limit = std::min(text.size(), at + 1 + maximumLinkLength);
    for (auto i = at + 1; i < limit; ++i) {
        if (text[i] == '\\') {
            ++i;
            continue;
        }
        if (text[i] == close) {
            return i + 1;
        }
    }
    return std::nullopt;
}

std::size_t skipSpaces(std::string_view text, std::size_t at) {
    while (at < text.size() && isSpace(text[at])) {
        ++at;
    }
    return at;
}

// Removes backslash escapes from a link address.
std::string unescapeDestination(std::string_view text) {
    std::string result;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size() && isPunct(text[i + 1])) {
            ++i;
        }
        result += text[i];
    }
    return result;
}

class InlineRenderer {
public:
    InlineRenderer(std::string_view text, const Definitions& definitions)
        : text_(text), definitions_(definitions) {
        index();
    }

    std::string render() {
        std::string out;
        renderRange(0, text_.size(), 0, true, out);
        return out;
    }

private:
    struct Run {
        char c;
        std::size_t length;
        bool operator<(const Run& other) const {
            return std::pair(c, length) < std::pair(other.c, other.length);
        }
    };

    // One pass: escaped positions, matching brackets, backtick runs and the
    // delimiter runs that can close emphasis. Lookups are then logarithmic,
    // so no input makes the rendering quadratic.
    void index() {
        escaped_.assign(text_.size(), false);
        bracketMatch_.assign(text_.size(), npos);
        std::vector<std::size_t> open;
        for (std::size_t i = 0; i < text_.size(); ++i) {
            const auto c = text_[i];
            if (c == '\\' && i + 1 < text_.size() && isPunct(text_[i + 1])) {
                escaped_[i + 1] = true;
                ++i;
                continue;
            }
            if (c == '[') {
                open.push_back(i);
            } else if (c == ']' && !open.empty()) {
                bracketMatch_[open.back()] = i;
                open.pop_back();
            } else if (c == '`' || c == '*' || c == '_' || c == '~') {
                auto end = i;
                while (end < text_.size() && text_[end] == c) {
                    ++end;
                }
                const auto length = end - i;
                if (c == '`') {
                    backticks_[length].push_back(i);
                } else if (rightFlanking(i, end)) {
                    closers_[Run{c, length}].push_back(i);
                }
                i = end - 1;
            }
        }
    }

    bool rightFlanking(std::size_t begin, std::size_t end) const {
        if (begin == 0 || isSpace(text_[begin - 1])) {
            return false;
        }
        return !(text_[begin] == '_' && end < text_.size() && isAlnum(text_[end]));
    }

    bool leftFlanking(std::size_t begin, std::size_t end) const {
        if (end >= text_.size() || isSpace(text_[end])) {
            return false;
        }
        return !(text_[begin] == '_' && begin > 0 && isAlnum(text_[begin - 1]));
    }

    // The first entry of `positions` in [from, before).
    static std::optional<std::size_t> firstIn(const std::vector<std::size_t>& positions,
                                              std::size_t from, std::size_t before) {
        const auto found = std::lower_bound(positions.begin(), positions.end(), from);
        if (found == positions.end() || *found >= before) {
            return std::nullopt;
        }
        return *found;
    }

    void appendRaw(std::size_t begin, std::size_t end, std::string& out) const {
        for (auto i = begin; i < end; ++i) {
            appendEscaped(out, text_[i]);
        }
    }

    void renderRange(std::size_t begin, std::size_t end, int depth, bool allowLinks,
                     std::string& out) {
        if (depth > maximumNesting) {
            appendRaw(begin, end, out);
            return;
        }
        auto i = begin;
        while (i < end) {
            const auto c = text_[i];
            if (c == '\\' && i + 1 < end && (isPunct(text_[i + 1]) || text_[i + 1] == '\n')) {
                if (text_[i + 1] == '\n') {
                    out += "<br/>";
                } else {
                    appendEscaped(out, text_[i + 1]);
                }
                i += 2;
                continue;
            }
            if (c == '\n') {
                const auto hard = out.size() >= 2 && out.ends_with("  ");
                while (!out.empty() && out.back() == ' ') {
                    out.pop_back();
                }
                out += hard ? "<br/>" : "\n";
                i = skipSpaces(text_.substr(0, end), i + 1);
                continue;
            }
            std::optional<std::size_t> next;
            if (c == '`') {
                next = codeSpan(i, end, out);
            } else if (c == '!' && i + 1 < end && text_[i + 1] == '[') {
                next = link(i + 1, end, depth, false, true, out);
            } else if (c == '[') {
                next = link(i, end, depth, allowLinks, false, out);
            } else if (c == '<') {
                next = autolink(i, end, allowLinks, out);
            } else if ((c == '*' || c == '_' || c == '~') && !escaped_[i]) {
                next = emphasis(i, end, depth, allowLinks, out);
            } else if ((c == 'h' || c == 'H') && allowLinks &&
                       (i == 0 || isSpace(text_[i - 1]) || text_[i - 1] == '(')) {
                next = bareLink(i, end, out);
            }
            if (next) {
                i = *next;
                continue;
            }
            if (c == '`' || c == '*' || c == '_' || c == '~') {
                // A delimiter run that opened nothing stays as text, whole.
                auto runEnd = i;
                while (runEnd < end && text_[runEnd] == c) {
                    ++runEnd;
                }
                appendRaw(i, runEnd, out);
                i = runEnd;
                continue;
            }
            appendEscaped(out, c);
            ++i;
        }
    }

    std::optional<std::size_t> codeSpan(std::size_t at, std::size_t end, std::string& out) {
        auto open = at;
        while (open < end && text_[open] == '`') {
            ++open;
        }
        const auto length = open - at;
        const auto found = backticks_.find(length);
        if (found == backticks_.end()) {
            return std::nullopt;
        }
        const auto close = firstIn(found->second, open, end);
        if (!close || *close + length > end) {
            return std::nullopt;
        }
        auto content = text_.substr(open, *close - open);
        std::string flat(content);
        std::replace(flat.begin(), flat.end(), '\n', ' ');
        if (flat.size() >= 2 && flat.front() == ' ' && flat.back() == ' ' &&
            flat.find_first_not_of(' ') != std::string::npos) {
            flat = flat.substr(1, flat.size() - 2);
        }
        out += "<code>";
        out += escapeHtml(flat);
        out += "</code>";
        return *close + length;
    }

    // A link at `open` ("[" of "[text](address)", "[text][label]", "[text][]"
    // or "[text]" with a definition). An image shows its text, never loads.
    std::optional<std::size_t> link(std::size_t open, std::size_t end, int depth, bool allowLinks,
                                    bool image, std::string& out) {
        const auto close = bracketMatch_[open];
        if (close == npos || close >= end) {
            return std::nullopt;
        }
        std::optional<std::string> address;
        auto after = close + 1;
        const auto limited = text_.substr(0, end);
        if (after < end && text_[after] == '(') {
            auto at = skipSpaces(limited, after + 1);
            if (at < end && text_[at] == ')') {
                address = std::string();
                after = at + 1;
            } else if (const auto destination = parseDestination(limited, at)) {
                at = skipSpaces(limited, destination->second);
                if (const auto titleEnd = skipTitle(limited, at)) {
                    at = skipSpaces(limited, *titleEnd);
                    if (at < end && text_[at] == ')') {
                        address = unescapeDestination(destination->first);
                        after = at + 1;
                    }
                }
            }
        }
        if (!address && after < end && text_[after] == '[') {
            const auto labelClose = bracketMatch_[after];
            if (labelClose != npos && labelClose < end) {
                auto label = normalizeLabel(text_.substr(after + 1, labelClose - after - 1));
                if (label.empty()) {
                    label = normalizeLabel(text_.substr(open + 1, close - open - 1));
                }
                if (const auto found = definitions_.find(label); found != definitions_.end()) {
                    address = found->second;
                    after = labelClose + 1;
                }
            }
        }
        if (!address) {
            const auto found =
                definitions_.find(normalizeLabel(text_.substr(open + 1, close - open - 1)));
            if (found == definitions_.end()) {
                return std::nullopt;
            }
            address = found->second;
            after = close + 1;
        }
        const auto clickable = allowLinks && !image && isWebLink(*address);
        if (clickable) {
            out += "<a href=\"";
            out += escapeHtml(*address);
            out += "\">";
        }
        renderRange(open + 1, close, depth + 1, false, out);
        if (clickable) {
            out += "</a>";
        }
        return after;
    }

    // "<scheme:...>": a link when it is a web address, its text otherwise.
    std::optional<std::size_t> autolink(std::size_t at, std::size_t end, bool allowLinks,
                                        std::string& out) {
        const auto limit = std::min(end, at + 1 + maximumLinkLength);
        std::size_t close = npos;
        for (auto i = at + 1; i < limit; ++i) {
            if (text_[i] == '>') {
                close = i;
                break;
            }
            if (text_[i] == '<' || isSpace(text_[i])) {
                return std::nullopt;
            }
        }
        if (close == npos) {
            return std::nullopt;
        }
        const auto address = text_.substr(at + 1, close - at - 1);
        if (!hasScheme(address)) {
            return std::nullopt; // "<b>" and the like stay text, brackets included
        }
        if (allowLinks && isWebLink(address)) {
            out += "<a href=\"" + escapeHtml(address) + "\">" + escapeHtml(address) + "</a>";
        } else {
            out += escapeHtml(address);
        }
        return close + 1;
    }

    // "http://..." or "https://..." in running text.
    std::optional<std::size_t> bareLink(std::size_t at, std::size_t end, std::string& out) {
        const auto rest = text_.substr(at, end - at);
        const auto scheme = startsWithNoCase(rest, "https://")  ? 8
                            : startsWithNoCase(rest, "http://") ? 7
                                                                : 0;
        if (scheme == 0) {
            return std::nullopt;
        }
        std::size_t length = scheme;
        while (length < rest.size() && !isSpace(rest[length]) && rest[length] != '<' &&
               static_cast<unsigned char>(rest[length]) >= 0x20) {
            ++length;
        }
        while (length > static_cast<std::size_t>(scheme) &&
               std::string_view(".,:;!?'\")*_~").find(rest[length - 1]) != npos) {
            --length;
        }
        if (length == static_cast<std::size_t>(scheme) || length > maximumLinkLength) {
            return std::nullopt;
        }
        const auto address = rest.substr(0, length);
        out += "<a href=\"" + escapeHtml(address) + "\">" + escapeHtml(address) + "</a>";
        return at + length;
    }

    std::optional<std::size_t> emphasis(std::size_t at, std::size_t end, int depth, bool allowLinks,
                                        std::string& out) {
        const auto c = text_[at];
        auto runEnd = at;
        while (runEnd < end && text_[runEnd] == c) {
            ++runEnd;
        }
        const auto length = runEnd - at;
        if (length > 3 || (c == '~' && length != 2) || !leftFlanking(at, runEnd)) {
            return std::nullopt;
        }
        const auto closers = closers_.find(Run{c, length});
        if (closers == closers_.end()) {
            return std::nullopt;
        }
        const auto close = firstIn(closers->second, runEnd + 1, end);
        if (!close || *close + length > end) {
            return std::nullopt;
        }
        static constexpr std::pair<const char*, const char*> tags[] = {
            {"<i>", "</i>"}, {"<b>", "</b>"}, {"<b><i>", "</i></b>"}};
        const auto& [openTag, closeTag] = c == '~' ? std::pair{"<s>", "</s>"} : tags[length - 1];
        out += openTag;
        renderRange(runEnd, *close, depth + 1, allowLinks, out);
        out += closeTag;
        return *close + length;
    }

    std::string_view text_;
    const Definitions& definitions_;
    std::vector<bool> escaped_;
    std::vector<std::size_t> bracketMatch_;
    std::map<std::size_t, std::vector<std::size_t>> backticks_;
    std::map<Run, std::vector<std::size_t>> closers_;
};

std::string renderInline(std::string_view text, const Definitions& definitions) {
    return InlineRenderer(text, definitions).render();
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
