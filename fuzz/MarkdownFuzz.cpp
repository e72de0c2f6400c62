// The Markdown renderer, on update bodies and details as agents write them.
// Whatever the text, the rich text it gives must stay inside the fixed
// subset the views display: only the known tags, properly nested; every
// other "<", ">" and "&" escaped; a link only to an http(s) address; and a
// second rendering gives the same text.

#include "fuzz/FuzzCheck.h"
#include "orvel/shell/MarkdownPresentation.h"

#include <algorithm>
#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace std::string_view_literals;

constexpr std::array pairedTags = {"p"sv,          "b"sv,  "i"sv,  "s"sv,  "code"sv, "pre"sv,
                                   "blockquote"sv, "ul"sv, "ol"sv, "li"sv, "h1"sv,   "h2"sv,
                                   "h3"sv,         "h4"sv, "h5"sv, "h6"sv, "a"sv};
constexpr std::array emptyTags = {"br/"sv, "hr/"sv};
constexpr std::array entities = {"&amp;"sv, "&lt;"sv, "&gt;"sv, "&quot;"sv};

bool isDigits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The address as written inside href="…", with its entities read back.
std::string unescaped(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        const auto entity = std::find_if(entities.begin(), entities.end(),
                                         [&](auto e) { return text.substr(i).starts_with(e); });
        if (text[i] == '&') {
            FUZZ_CHECK(entity != entities.end());
            static constexpr std::array plain = {'&', '<', '>', '"'};
            out += plain[static_cast<std::size_t>(entity - entities.begin())];
            i += entity->size();
        } else {
            out += text[i++];
        }
    }
    return out;
}

// The tag's name once its attributes are checked: "ol" with a numeric start,
// "a" with a web address and nothing else.
std::string_view checkedName(std::string_view inside) {
    if (inside.starts_with("ol start=\"")) {
        const auto value = inside.substr(10);
        FUZZ_CHECK(value.size() >= 2 && value.back() == '"');
        FUZZ_CHECK(isDigits(value.substr(0, value.size() - 1)));
        return "ol";
    }
    if (inside.starts_with("a href=\"")) {
        const auto value = inside.substr(8);
        FUZZ_CHECK(value.size() >= 2 && value.back() == '"');
        const auto address = value.substr(0, value.size() - 1);
        FUZZ_CHECK(address.find('"') == std::string_view::npos);
        FUZZ_CHECK(Orvel::MarkdownPresentation::isWebLink(unescaped(address)));
        return "a";
    }
    return inside;
}

void checkRichText(std::string_view html) {
    std::vector<std::string_view> open;
    for (std::size_t i = 0; i < html.size();) {
        const char c = html[i];
        FUZZ_CHECK(c != '>' && c != '"');
        if (c == '&') {
            FUZZ_CHECK(std::any_of(entities.begin(), entities.end(),
                                   [&](auto e) { return html.substr(i).starts_with(e); }));
            ++i;
            continue;
        }
        if (c != '<') {
            ++i;
            continue;
        }
        const auto end = html.find('>', i);
        FUZZ_CHECK(end != std::string_view::npos);
        const auto inside = html.substr(i + 1, end - i - 1);
        FUZZ_CHECK(inside.find('<') == std::string_view::npos);
        i = end + 1;
        if (std::find(emptyTags.begin(), emptyTags.end(), inside) != emptyTags.end()) {
            continue;
        }
        if (inside.starts_with('/')) {
            FUZZ_CHECK(!open.empty() && open.back() == inside.substr(1));
            open.pop_back();
            continue;
        }
        const auto name = checkedName(inside);
        FUZZ_CHECK(std::find(pairedTags.begin(), pairedTags.end(), name) != pairedTags.end());
        FUZZ_CHECK(name != "a" || std::find(open.begin(), open.end(), "a") == open.end());
        open.push_back(name);
    }
    FUZZ_CHECK(open.empty());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input = OrvelFuzz::text(data, size);
    const auto html = Orvel::MarkdownPresentation::render(input);
    checkRichText(html);
    FUZZ_CHECK(Orvel::MarkdownPresentation::render(input) == html);

    // Escaped text must read back as the text (NUL shows as U+FFFD), and
    // never hold markup.
    const auto escaped = Orvel::MarkdownPresentation::escapeHtml(input);
    std::string expected;
    for (const char c : input) {
        expected += c == '\0' ? std::string_view("\xEF\xBF\xBD") : std::string_view(&c, 1);
    }
    FUZZ_CHECK(unescaped(escaped) == expected);
    FUZZ_CHECK(escaped.find_first_of("<>\"") == std::string::npos);
    return 0;
}
