#include "orvelkit/json/JsonReader.h"

#include "orvelkit/support/HexDigit.h"

#include <simdjson.h>

namespace OrvelKit::Json {

bool JsonReader::checkEncoding() {
    return simdjson::validate_utf8(at_, static_cast<std::size_t>(end_ - at_)) ||
           fail("the text is not UTF-8");
}

namespace {

// The four hex digits after "\u" at `p`, or -1.
long hexQuad(const char* p, const char* end) {
    if (end - p < 4) {
        return -1;
    }
    long value = 0;
    for (int i = 0; i < 4; ++i) {
        const int digit = hexDigitValue(p[i]);
        if (digit < 0) {
            return -1;
        }
        value = value * 16 + digit;
    }
    return value;
}

void appendUtf8(std::string& out, unsigned long point) {
    if (point < 0x80) {
        out += static_cast<char>(point);
    } else if (point < 0x800) {
        out += static_cast<char>(0xC0 | (point >> 6));
        out += static_cast<char>(0x80 | (point & 0x3F));
    } else if (point < 0x10000) {
        out += static_cast<char>(0xE0 | (point >> 12));
        out += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (point & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (point >> 18));
        out += static_cast<char>(0x80 | ((point >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (point & 0x3F));
    }
}

} // namespace

// `p` is at the 'u' of "\u". A high surrogate must be followed by an escaped
// low one; the pair makes one code point.
bool JsonReader::unicodeEscape(const char*& p) {
    const long high = hexQuad(p + 1, end_);
    if (high < 0) {
        return fail("\\u needs four hex digits");
    }
    p += 5;
    if (high >= 0xDC00 && high <= 0xDFFF) {
        return fail("a low surrogate without a high one before it");
    }
    if (high < 0xD800 || high > 0xDBFF) {
        appendUtf8(scratch_, static_cast<unsigned long>(high));
        return true;
    }
    const long low = end_ - p >= 2 && p[0] == '\\' && p[1] == 'u' ? hexQuad(p + 2, end_) : -1;
    if (low < 0xDC00 || low > 0xDFFF) {
        return fail("a high surrogate without a low one after it");
    }
    p += 6;
    appendUtf8(scratch_, 0x10000 + ((static_cast<unsigned long>(high) - 0xD800) << 10) +
                             (static_cast<unsigned long>(low) - 0xDC00));
    return true;
}

JsonReader::Ahead JsonReader::countAhead() const {
    std::size_t depth = 0;
    std::size_t elements = 1;
    const char* p = at_;
    while (p != end_) {
        switch (*p++) {
        case '"':
            for (;;) {
                p = stringStop(p, end_);
                if (p == end_) {
                    break;
                }
                if (*p == '"') {
                    ++p;
                    break;
                }
                p += *p == '\\' && end_ - p >= 2 ? 2 : 1;
            }
            break;
        case '[':
        case '{':
            ++depth;
            break;
        case ']':
        case '}':
            if (depth == 0) {
                return {elements, static_cast<std::size_t>(p - at_)};
            }
            --depth;
            break;
        case ',':
            elements += depth == 0 ? 1 : 0;
            break;
        default:
            break;
        }
    }
    return {elements, static_cast<std::size_t>(p - at_)};
}

bool JsonReader::escapedString(const char* start, const char* stop, std::string_view& text) {
    scratch_.assign(start, stop);
    const char* p = stop;
    for (;;) {
        if (p == end_) {
            return fail("the text ends inside a string");
        }
        const char c = *p;
        if (c == '"') {
            at_ = p + 1;
            text = scratch_;
            return true;
        }
        if (c != '\\') {
            return fail("a control character in a string");
        }
        if (++p == end_) {
            return fail("the text ends inside a string");
        }
        switch (*p) {
        case '"':
        case '\\':
        case '/':
            scratch_ += *p++;
            break;
        case 'b':
            scratch_ += '\b';
            ++p;
            break;
        case 'f':
            scratch_ += '\f';
            ++p;
            break;
        case 'n':
            scratch_ += '\n';
            ++p;
            break;
        case 'r':
            scratch_ += '\r';
            ++p;
            break;
        case 't':
            scratch_ += '\t';
            ++p;
            break;
        case 'u':
            if (!unicodeEscape(p)) {
                return false;
            }
            break;
        default:
            return fail("an unknown escape in a string");
        }
        const char* run = stringStop(p, end_);
        scratch_.append(p, run);
        p = run;
    }
}

} // namespace OrvelKit::Json
