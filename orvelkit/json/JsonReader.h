#pragma once

// A strict pull reader over one JSON text held in memory: the caller asks for
// the next token of the kind it expects and the reader checks it against
// JSON's grammar as it goes. It keeps no index of the text and no document:
// memory beyond the text is one reusable buffer for strings with escapes.
//
// Strings without escapes are given where they lie in the text, numbers as
// their raw token (the caller converts them), so nothing is copied that the
// caller does not keep. The reader never reads past the text's last byte.
//
// checkEncoding() validates the text's UTF-8 once, up front; the reader then
// only rejects control characters in strings and escapes that make no code
// point (invalid ones, lone surrogates). A read that returns false leaves the
// reason in problem(); the reader must not be used further after that.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace OrvelKit::Json {

class JsonReader {
public:
    enum class Kind : std::uint8_t { object, array, string, number, boolean, null };

    // `scratch` holds unescaped strings; what string() gives stays valid
    // until the next read.
    JsonReader(std::string_view text, std::string& scratch)
        : at_(text.data()), end_(text.data() + text.size()), scratch_(scratch) {}

    // The whole text is UTF-8.
    bool checkEncoding();

    // Why the last read failed.
    std::string_view problem() const { return problem_; }

    // The kind of the next value, judged by its first byte (white space is
    // skipped); reading it checks the rest.
    bool peek(Kind& kind) {
        skipSpace();
        if (at_ == end_) {
            return fail("the text ends where a value should be");
        }
        switch (*at_) {
        case '{':
            kind = Kind::object;
            return true;
        case '[':
            kind = Kind::array;
            return true;
        case '"':
            kind = Kind::string;
            return true;
        case 't':
        case 'f':
            kind = Kind::boolean;
            return true;
        case 'n':
            kind = Kind::null;
            return true;
        default:
            if (*at_ == '-' || (*at_ >= '0' && *at_ <= '9')) {
                kind = Kind::number;
                return true;
            }
            return fail("expected a value");
        }
    }

    // Objects: beginObject() at '{', then for each member key() (the key and
    // its ':') and the value, then nextMember() (',' or the closing '}').
    bool beginObject(bool& empty) { return begin('}', empty); }
    bool key(std::string_view& name) {
        skipSpace();
        if (at_ == end_ || *at_ != '"') {
            return fail("expected a key");
        }
        if (!string(name)) {
            return false;
        }
        skipSpace();
        if (at_ == end_ || *at_ != ':') {
            return fail("expected ':' after a key");
        }
        ++at_;
        return true;
    }
    bool nextMember(bool& more) { return next('}', more, "expected ',' or '}' after a member"); }

    // Arrays: beginArray() at '[', then each element followed by nextElement().
    bool beginArray(bool& empty) { return begin(']', empty); }
    bool nextElement(bool& more) { return next(']', more, "expected ',' or ']' after an element"); }

    // Scalars, after peek() named their kind.
    bool string(std::string_view& text) {
        const char* start = ++at_;
        const char* stop = stringStop(start, end_);
        if (stop != end_ && *stop == '"') {
            text = std::string_view(start, static_cast<std::size_t>(stop - start));
            at_ = stop + 1;
            return true;
        }
        return escapedString(start, stop, text);
    }
    // -?(0|[1-9][0-9]*)(.[0-9]+)?([eE][+-]?[0-9]+)?
    bool number(std::string_view& token) {
        const char* start = at_;
        if (*at_ == '-') {
            ++at_;
        }
        if (at_ == end_ || !digit(*at_)) {
            return fail("a number needs digits");
        }
        if (*at_++ != '0') {
            skipDigits();
        }
        if (at_ != end_ && *at_ == '.') {
            ++at_;
            if (!skipDigits()) {
                return fail("a number needs digits after its '.'");
            }
        }
        if (at_ != end_ && (*at_ == 'e' || *at_ == 'E')) {
            ++at_;
            if (at_ != end_ && (*at_ == '+' || *at_ == '-')) {
                ++at_;
            }
            if (!skipDigits()) {
                return fail("a number needs digits in its exponent");
            }
        }
        token = std::string_view(start, static_cast<std::size_t>(at_ - start));
        return true;
    }
    bool boolean(bool& value) {
        if (atom("true")) {
            value = true;
            return true;
        }
        if (atom("false")) {
            value = false;
            return true;
        }
        return fail("expected true or false");
    }
    bool null() { return atom("null") || fail("expected null"); }

    // How many elements the array being read has from here on (after its
    // '[' or a ','), and how many bytes they span: the structure counted
    // ahead without checking it, which the reads themselves still do.
    struct Ahead {
        std::size_t elements = 0;
        std::size_t bytes = 0;
    };
    Ahead countAhead() const;

    // Nothing but white space is left.
    bool atEnd() {
        skipSpace();
        return at_ == end_ || fail("content after the value");
    }

private:
    static bool digit(char c) { return c >= '0' && c <= '9'; }

    bool fail(const char* problem) {
        problem_ = problem;
        return false;
    }

    void skipSpace() {
        while (at_ != end_ && (*at_ == ' ' || *at_ == '\n' || *at_ == '\r' || *at_ == '\t')) {
            ++at_;
        }
    }

    bool skipDigits() {
        const char* from = at_;
        while (at_ != end_ && digit(*at_)) {
            ++at_;
        }
        return at_ != from;
    }

    bool atom(std::string_view word) {
        if (static_cast<std::size_t>(end_ - at_) < word.size() ||
            std::string_view(at_, word.size()) != word) {
            return false;
        }
        at_ += word.size();
        return true;
    }

    // Past the opening bracket peek() found.
    bool begin(char close, bool& empty) {
        ++at_;
        skipSpace();
        empty = at_ != end_ && *at_ == close;
        if (empty) {
            ++at_;
        }
        return true;
    }

    bool next(char close, bool& more, const char* problem) {
        skipSpace();
        if (at_ != end_) {
            if (*at_ == ',') {
                ++at_;
                more = true;
                return true;
            }
            if (*at_ == close) {
                ++at_;
                more = false;
                return true;
            }
        }
        return fail(problem);
    }

    // The first '"', '\\' or control character from `p` on, or `end`.
    static const char* stringStop(const char* p, const char* end) {
#if defined(__SSE2__)
        const __m128i quote = _mm_set1_epi8('"');
        const __m128i backslash = _mm_set1_epi8('\\');
        const __m128i lastControl = _mm_set1_epi8(0x1F);
        while (end - p >= 16) {
            const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
            const __m128i stops = _mm_or_si128(
                _mm_or_si128(_mm_cmpeq_epi8(bytes, quote), _mm_cmpeq_epi8(bytes, backslash)),
                _mm_cmpeq_epi8(_mm_min_epu8(bytes, lastControl), bytes));
            if (const int mask = _mm_movemask_epi8(stops)) {
                return p + __builtin_ctz(static_cast<unsigned>(mask));
            }
            p += 16;
        }
#endif
        while (p != end && *p != '"' && *p != '\\' && static_cast<unsigned char>(*p) >= 0x20) {
            ++p;
        }
        return p;
    }

    // The rest of a string from `stop`, which is not its closing quote:
    // an escape, a control character or the end of the text.
    bool escapedString(const char* start, const char* stop, std::string_view& text);
    bool unicodeEscape(const char*& p);

    const char* at_;
    const char* end_;
    std::string& scratch_;
    const char* problem_ = "";
};

} // namespace OrvelKit::Json
