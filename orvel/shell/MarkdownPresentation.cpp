#include "orvel/shell/MarkdownPresentation.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <md4c.h>
#include <optional>
#include <utility>
#include <vector>

namespace Orvel::MarkdownPresentation {

namespace {

constexpr auto npos = std::string_view::npos;
constexpr std::string_view replacementCharacter = "\xEF\xBF\xBD";

bool isControl(char c) {
    return static_cast<unsigned char>(c) < 0x20 || c == 0x7f;
}

char lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

void appendEscaped(std::string& out, std::string_view text) {
    for (const char c : text) {
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
            out += replacementCharacter;
            break;
        default:
            out += c;
        }
    }
}

std::string utf8(std::uint32_t code) {
    if (code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
        return std::string(replacementCharacter);
    }
    std::string out;
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
    return out;
}

// What an entity ("&…;") stands for: a numeric one its character, the common
// named ones theirs; any other shows as written.
std::string entityText(std::string_view entity) {
    if (entity.size() < 3 || entity.front() != '&' || entity.back() != ';') {
        return std::string(entity);
    }
    const auto name = entity.substr(1, entity.size() - 2);
    if (name.front() == '#') {
        const bool hex = name.size() > 1 && lower(name[1]) == 'x';
        std::uint32_t code = 0;
        for (const char c : name.substr(hex ? 2 : 1)) {
            const auto l = lower(c);
            const auto digit = l >= 'a' ? l - 'a' + 10 : l - '0';
            code = std::min<std::uint32_t>(code * (hex ? 16 : 10) + digit, 0x110000);
        }
        return utf8(code);
    }
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 16> named = {{
        {"amp", "&"},
        {"lt", "<"},
        {"gt", ">"},
        {"quot", "\""},
        {"apos", "'"},
        {"nbsp", "\u00A0"},
        {"copy", "\u00A9"},
        {"reg", "\u00AE"},
        {"deg", "\u00B0"},
        {"times", "\u00D7"},
        {"ndash", "\u2013"},
        {"mdash", "\u2014"},
        {"bull", "\u2022"},
        {"hellip", "\u2026"},
        {"trade", "\u2122"},
        {"rarr", "\u2192"},
    }};
    const auto found = std::find_if(named.begin(), named.end(),
                                    [&](const auto& entry) { return entry.first == name; });
    return std::string(found != named.end() ? found->second : entity);
}

// The first `limit` bytes of an attribute as md4c hands it over (backslash
// escapes already gone), its entities read.
std::string resolve(const MD_ATTRIBUTE& attribute, MD_SIZE limit) {
    std::string out;
    limit = std::min(limit, attribute.size);
    for (unsigned i = 0; attribute.substr_offsets[i] < limit; ++i) {
        const auto begin = attribute.substr_offsets[i];
        const auto end = std::min(attribute.substr_offsets[i + 1], limit);
        const std::string_view part(attribute.text + begin, end - begin);
        switch (attribute.substr_types[i]) {
        case MD_TEXT_ENTITY:
            out += entityText(part);
            break;
        case MD_TEXT_NULLCHAR:
            out += replacementCharacter;
            break;
        default:
            out += part;
        }
    }
    return out;
}

// Where the Markdown part of a long text ends: after its last line end within
// the limit, or else at the limit moved back to the start of a character.
std::size_t markdownLength(std::string_view text) {
    if (text.size() <= maximumMarkdownLength) {
        return text.size();
    }
    const auto lineEnd = text.find_last_of("\r\n", maximumMarkdownLength - 1);
    if (lineEnd != npos) {
        return lineEnd + 1;
    }
    auto length = maximumMarkdownLength;
    while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80) {
        --length;
    }
    return length;
}

// Text shown without Markdown: escaped, its line ends as breaks.
void appendPlain(std::string& out, std::string_view text) {
    const auto first = text.find_first_not_of("\r\n");
    if (first == npos) {
        return;
    }
    text = text.substr(first, text.find_last_not_of("\r\n") + 1 - first);
    out += "<p>";
    for (;;) {
        const auto lineEnd = std::min(text.find_first_of("\r\n"), text.size());
        appendEscaped(out, text.substr(0, lineEnd));
        if (lineEnd == text.size()) {
            break;
        }
        out += "<br/>";
        text.remove_prefix(lineEnd + (text.substr(lineEnd, 2) == "\r\n" ? 2 : 1));
    }
    out += "</p>";
}

// md4c's callbacks, writing the fixed subset of rich text.
class RichTextWriter {
public:
    explicit RichTextWriter(std::string& out) : out_(out) {}

    bool write(std::string_view markdown) {
        if (markdown.empty()) {
            return true;
        }
        // md4c 0.4.8 reads past the end of a text whose last line has no line
        // end (seen with "[](" and with bare addresses): it always gets one.
        document_.reserve(markdown.size() + 1);
        document_.assign(markdown);
        if (!document_.ends_with('\n')) {
            document_ += '\n';
        }
        MD_PARSER parser{};
        parser.flags = MD_FLAG_NOHTML | MD_FLAG_PERMISSIVEURLAUTOLINKS | MD_FLAG_STRIKETHROUGH;
        parser.enter_block = [](MD_BLOCKTYPE type, void* detail, void* self) {
            static_cast<RichTextWriter*>(self)->enterBlock(type, detail);
            return 0;
        };
        parser.leave_block = [](MD_BLOCKTYPE type, void* detail, void* self) {
            static_cast<RichTextWriter*>(self)->leaveBlock(type, detail);
            return 0;
        };
        parser.enter_span = [](MD_SPANTYPE type, void* detail, void* self) {
            static_cast<RichTextWriter*>(self)->enterSpan(type, detail);
            return 0;
        };
        parser.leave_span = [](MD_SPANTYPE type, void*, void* self) {
            static_cast<RichTextWriter*>(self)->leaveSpan(type);
            return 0;
        };
        parser.text = [](MD_TEXTTYPE type, const MD_CHAR* text, MD_SIZE size, void* self) {
            static_cast<RichTextWriter*>(self)->text(type, std::string_view(text, size));
            return 0;
        };
        return md_parse(document_.data(), static_cast<MD_SIZE>(document_.size()), &parser, this) ==
               0;
    }

private:
    // A bare address that ran on through a control character, linked up to it
    // once its text turns out to be the address itself.
    struct BareAddress {
        const char* at;
        std::size_t length;
        std::string address;
    };

    // Lists and quotes nest up to `maximumNesting`; deeper ones keep their
    // text, each item on a line of its own.
    bool nestedTooDeep() const { return nesting_ > maximumNesting; }

    void enterBlock(MD_BLOCKTYPE type, void* detail) {
        closeSpans();
        switch (type) {
        case MD_BLOCK_QUOTE:
        case MD_BLOCK_UL:
        case MD_BLOCK_OL:
            ++nesting_;
            if (nestedTooDeep()) {
                break;
            }
            if (type == MD_BLOCK_OL) {
                const auto start = static_cast<MD_BLOCK_OL_DETAIL*>(detail)->start;
                out_ += start == 1 ? "<ol>" : "<ol start=\"" + std::to_string(start) + "\">";
            } else {
                out_ += type == MD_BLOCK_UL ? "<ul>" : "<blockquote>";
            }
            break;
        case MD_BLOCK_LI:
            out_ += nestedTooDeep() ? "" : "<li>";
            break;
        case MD_BLOCK_HR:
            out_ += "<hr/>";
            break;
        case MD_BLOCK_H:
            out_ += "<h" + std::to_string(static_cast<MD_BLOCK_H_DETAIL*>(detail)->level) + ">";
            break;
        case MD_BLOCK_CODE:
            out_ += "<pre>";
            break;
        case MD_BLOCK_P:
            out_ += "<p>";
            break;
        default: // the document; raw HTML and tables are off
            break;
        }
    }

    void leaveBlock(MD_BLOCKTYPE type, void* detail) {
        closeSpans();
        switch (type) {
        case MD_BLOCK_QUOTE:
        case MD_BLOCK_UL:
        case MD_BLOCK_OL:
            if (!nestedTooDeep()) {
                out_ += type == MD_BLOCK_OL   ? "</ol>"
                        : type == MD_BLOCK_UL ? "</ul>"
                                              : "</blockquote>";
            }
            --nesting_;
            break;
        case MD_BLOCK_LI:
            out_ += nestedTooDeep() ? "<br/>" : "</li>";
            break;
        case MD_BLOCK_H:
            out_ += "</h" + std::to_string(static_cast<MD_BLOCK_H_DETAIL*>(detail)->level) + ">";
            break;
        case MD_BLOCK_CODE:
            if (out_.ends_with('\n')) {
                out_.pop_back(); // the last line's end
            }
            out_ += "</pre>";
            break;
        case MD_BLOCK_P:
            out_ += "</p>";
            break;
        default:
            break;
        }
    }

    static std::string_view tagName(MD_SPANTYPE type) {
        switch (type) {
        case MD_SPAN_EM:
            return "i";
        case MD_SPAN_STRONG:
            return "b";
        case MD_SPAN_CODE:
            return "code";
        case MD_SPAN_DEL:
            return "s";
        default:
            return "";
        }
    }

    void enterSpan(MD_SPANTYPE type, void* detail) {
        if (linkTextLeft_ != npos) {
            closeLink(); // nothing nests in a bare address
        }
        bool tagged = false;
        if (type == MD_SPAN_IMG) {
            ++images_; // only its text shows
        } else if (type == MD_SPAN_A) {
            tagged = images_ == 0 && !linkTagOpen_; // links never nest
            if (tagged) {
                enterLink(static_cast<MD_SPAN_A_DETAIL*>(detail)->href);
            }
        } else if (const auto name = tagName(type);
                   !name.empty() && images_ == 0 &&
                   spans_.size() < static_cast<std::size_t>(maximumNesting)) {
            tagged = true;
            out_.append("<").append(name).append(">");
        }
        spans_.push_back({type, tagged});
    }

    void leaveSpan(MD_SPANTYPE type) {
        // md4c may close a span it never opened (emphasis across a link's
        // bounds): only the innermost open span closes.
        if (!spans_.empty() && spans_.back().type == type) {
            closeSpan();
        }
    }

    void closeSpan() {
        const auto span = spans_.back();
        spans_.pop_back();
        if (span.type == MD_SPAN_IMG) {
            --images_;
        } else if (span.type == MD_SPAN_A) {
            bareAddress_.reset();
            if (span.tagged && linkTagOpen_) {
                closeLink();
            }
        } else if (span.tagged) {
            out_.append("</").append(tagName(span.type)).append(">");
        }
    }

    // Spans end with their block, whether md4c says so or not.
    void closeSpans() {
        while (!spans_.empty()) {
            closeSpan();
        }
    }

    static bool linkable(const std::string& address) {
        return address.size() <= maximumLinkLength && isWebLink(address);
    }

    void enterLink(const MD_ATTRIBUTE& href) {
        const std::string_view written(href.text, href.size);
        const auto control = std::find_if(written.begin(), written.end(), isControl);
        if (control == written.end()) {
            if (auto address = resolve(href, href.size); linkable(address)) {
                openLink(address);
            }
            return;
        }
        // A link destination holds no control character outside "<…>", but
        // md4c runs a bare address on through them: there it ends at the
        // first one.
        const auto length = static_cast<std::size_t>(control - written.begin());
        if (auto address = resolve(href, static_cast<MD_SIZE>(length)); linkable(address)) {
            bareAddress_ = BareAddress{href.text, length, std::move(address)};
        }
    }

    void openLink(const std::string& address) {
        out_ += "<a href=\"";
        appendEscaped(out_, address);
        out_ += "\">";
        linkTagOpen_ = true;
    }

    void closeLink() {
        out_ += "</a>";
        linkTagOpen_ = false;
        linkTextLeft_ = npos;
    }

    void text(MD_TEXTTYPE type, std::string_view text) {
        if (bareAddress_) {
            const auto bare = std::move(*bareAddress_);
            bareAddress_.reset();
            if (text.data() == bare.at) {
                openLink(bare.address);
                linkTextLeft_ = bare.length;
            }
        }
        if (linkTextLeft_ < text.size()) {
            const auto left = linkTextLeft_;
            appendText(type, text.substr(0, left));
            closeLink();
            appendText(type, text.substr(left));
            return;
        }
        if (linkTextLeft_ != npos) {
            linkTextLeft_ -= text.size();
        }
        appendText(type, text);
    }

    // A text md4c hands over from the document ends where the document does
    // (its own line ends come from elsewhere).
    std::string_view inDocument(std::string_view text) const {
        const auto at = reinterpret_cast<std::uintptr_t>(text.data());
        const auto begin = reinterpret_cast<std::uintptr_t>(document_.data());
        if (at < begin || at > begin + document_.size()) {
            return text;
        }
        return text.substr(0, begin + document_.size() - at);
    }

    void appendText(MD_TEXTTYPE type, std::string_view text) {
        switch (type) {
        case MD_TEXT_NULLCHAR:
            for (std::size_t i = 0; i < text.size(); ++i) {
                out_ += replacementCharacter;
            }
            break;
        case MD_TEXT_BR:
            out_ += images_ > 0 ? "\n" : "<br/>";
            break;
        case MD_TEXT_SOFTBR:
            out_ += '\n';
            break;
        case MD_TEXT_ENTITY:
            appendEscaped(out_, entityText(inDocument(text)));
            break;
        default:
            appendEscaped(out_, inDocument(text));
        }
    }

    struct OpenSpan {
        MD_SPANTYPE type;
        bool tagged; // wrote its tag; for a link: may own the <a>
    };

    std::string& out_;
    std::string document_;
    int nesting_ = 0; // open lists and quotes
    std::vector<OpenSpan> spans_;
    int images_ = 0;
    bool linkTagOpen_ = false;
    std::size_t linkTextLeft_ = npos; // a bare address cut short: its text before </a>
    std::optional<BareAddress> bareAddress_;
};

} // namespace

std::string escapeHtml(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    appendEscaped(out, text);
    return out;
}

bool isWebLink(std::string_view url) {
    if (std::any_of(url.begin(), url.end(), [](char c) { return isControl(c) || c == ' '; })) {
        return false;
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
    const auto length = markdownLength(text);
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    if (!RichTextWriter(out).write(text.substr(0, length))) {
        // md4c gave up (out of memory): the text unstyled.
        out.clear();
        appendPlain(out, text);
        return out;
    }
    appendPlain(out, text.substr(length));
    return out;
}

} // namespace Orvel::MarkdownPresentation
