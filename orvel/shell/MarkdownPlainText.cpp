#include "orvel/shell/MarkdownPlainText.h"

#include "orvel/shell/MarkdownPresentation.h"

#include <charconv>
#include <optional>
#include <vector>

namespace Orvel::MarkdownPlainText {

namespace {

bool isAsciiAlnum(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// The character of one of the four references the renderer writes for the
// author's own "&", "<", ">" and '"' (it decodes every other one itself).
std::optional<char> escaped(std::string_view name) {
    if (name == "amp") {
        return '&';
    }
    if (name == "lt") {
        return '<';
    }
    if (name == "gt") {
        return '>';
    }
    if (name == "quot") {
        return '"';
    }
    return std::nullopt;
}

bool isBlockTag(std::string_view name) {
    static constexpr std::string_view blocks[] = {"p",  "h1",         "h2",  "h3",    "h4",  "h5",
                                                  "h6", "ul",         "ol",  "li",    "pre", "hr",
                                                  "br", "blockquote", "div", "table", "tr"};
    for (const auto block : blocks) {
        if (name == block) {
            return true;
        }
    }
    return false;
}

class Writer {
public:
    std::string take() { return std::move(out_); }

    void text(char c) {
        if (c == '\n' && !inCode_) {
            c = ' ';
        }
        if (c == '\n') {
            breakLine();
            return;
        }
        if (lineBreakDue_ && !out_.empty()) {
            out_ += '\n';
        }
        lineBreakDue_ = false;
        out_ += c;
    }
    void text(std::string_view run) {
        for (const char c : run) {
            text(c);
        }
    }

    void tag(std::string_view tag) {
        const bool closing = tag.starts_with('/');
        std::size_t end = closing ? 1 : 0;
        while (end < tag.size() && isAsciiAlnum(tag[end])) {
            ++end;
        }
        const auto name = tag.substr(closing ? 1 : 0, end - (closing ? 1 : 0));
        if (!isBlockTag(name)) {
            return;
        }
        breakLine();
        if (name == "pre") {
            inCode_ = !closing;
        } else if (name == "ul" || name == "ol") {
            if (closing) {
                if (!lists_.empty()) {
                    lists_.pop_back();
                }
            } else {
                lists_.push_back(name == "ol" ? std::optional(start(tag)) : std::nullopt);
            }
        } else if (name == "li" && !closing && !lists_.empty()) {
            text(std::string((lists_.size() - 1) * 2, ' '));
            if (auto& number = lists_.back()) {
                text(std::to_string((*number)++) + ". ");
            } else {
                text("• ");
            }
        }
    }

private:
    void breakLine() { lineBreakDue_ = true; }

    // The number of an ordered list's first item: its start attribute or 1.
    static long long start(std::string_view tag) {
        const auto at = tag.find("start=\"");
        long long number = 1;
        if (at != std::string_view::npos) {
            const auto digits = tag.substr(at + 7);
            std::from_chars(digits.data(), digits.data() + digits.size(), number);
        }
        return number;
    }

    std::string out_;
    bool lineBreakDue_ = false;
    bool inCode_ = false;
    // Per open list: the next item's number, or none for a bulleted list.
    std::vector<std::optional<long long>> lists_;
};

} // namespace

std::string render(std::string_view markdown) {
    // The rich text escapes every character of the author's, so each "<"
    // starts one of the renderer's tags and each "&" an entity.
    const auto rich = MarkdownPresentation::render(markdown);
    const std::string_view html(rich);
    Writer writer;
    std::size_t i = 0;
    while (i < html.size()) {
        const char c = html[i];
        if (c == '<') {
            const auto close = html.find('>', i);
            if (close == std::string_view::npos) {
                break;
            }
            writer.tag(html.substr(i + 1, close - i - 1));
            i = close + 1;
        } else if (c == '&') {
            // Entity names are short: no need to look far for the end.
            const auto semicolon = html.substr(0, i + 12).find(';', i);
            const auto character = semicolon == std::string_view::npos
                                       ? std::nullopt
                                       : escaped(html.substr(i + 1, semicolon - i - 1));
            if (!character) {
                writer.text(c);
                ++i;
                continue;
            }
            writer.text(*character);
            i = semicolon + 1;
        } else {
            writer.text(c);
            ++i;
        }
    }
    return writer.take();
}

} // namespace Orvel::MarkdownPlainText
