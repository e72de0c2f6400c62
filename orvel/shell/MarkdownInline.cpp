#include "orvel/shell/MarkdownInline.h"

#include "orvel/shell/MarkdownPresentation.h"

#include <algorithm>
#include <vector>

namespace Orvel::MarkdownInline {

using MarkdownPresentation::escapeHtml;
using MarkdownPresentation::isWebLink;
using MarkdownPresentation::maximumLinkLength;
using MarkdownPresentation::maximumNesting;

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

namespace {

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
        // Control characters (DEL included) end the address, as spaces do.
        while (length < rest.size() && !isSpace(rest[length]) && rest[length] != '<' &&
               static_cast<unsigned char>(rest[length]) >= 0x20 && rest[length] != 0x7f) {
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
        if (!isWebLink(address)) {
            return std::nullopt; // what a click would refuse is never a link
        }
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

} // namespace

std::string render(std::string_view text, const Definitions& definitions) {
    return InlineRenderer(text, definitions).render();
}

} // namespace Orvel::MarkdownInline
