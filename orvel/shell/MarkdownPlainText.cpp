#include "orvel/shell/MarkdownPlainText.h"

#include "orvel/shell/MarkdownPresentation.h"

#include <charconv>
#include <cstdint>
#include <optional>
#include <vector>

namespace Orvel::MarkdownPlainText {

namespace {

bool isAsciiAlnum(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

void appendUtf8(std::string& out, std::uint32_t code) {
    if (code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
        code = 0xFFFD;
    }
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// The character of an entity's name ("amp", "#38", "#x26"), if it is one.
std::optional<std::uint32_t> entity(std::string_view name) {
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
    if (name == "apos") {
        return '\'';
    }
    if (name.size() < 2 || name[0] != '#') {
        return std::nullopt;
    }
    const bool hex = name[1] == 'x' || name[1] == 'X';
    const auto digits = name.substr(hex ? 2 : 1);
    std::uint32_t code = 0;
    const auto [end, error] =
        std::from_chars(digits.data(), digits.data() + digits.size(), code, hex ? 16 : 10);
    if (error != std::errc{} || end != digits.data() + digits.size()) {
        return std::nullopt;
    }
    return code;
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
            const auto code = semicolon == std::string_view::npos
                                  ? std::nullopt
                                  : entity(html.substr(i + 1, semicolon - i - 1));
            if (!code) {
                writer.text(c);
                ++i;
                continue;
            }
            std::string character;
            appendUtf8(character, *code);
            writer.text(character);
            i = semicolon + 1;
        } else {
            writer.text(c);
            ++i;
        }
    }
    return writer.take();
}

} // namespace Orvel::MarkdownPlainText
