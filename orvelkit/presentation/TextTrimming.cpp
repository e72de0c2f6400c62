#include "orvelkit/presentation/TextTrimming.h"

#include <cstddef>

namespace OrvelKit {

namespace {

bool isHorizontalSpace(char32_t c) {
    return c == U'\t' || c == U' ' || c == 0x00A0 || c == 0x1680 || (c >= 0x2000 && c <= 0x200A) ||
           c == 0x202F || c == 0x205F || c == 0x3000;
}

bool isSpaceOrNewline(char32_t c) {
    return isHorizontalSpace(c) || (c >= 0x000A && c <= 0x000D) || c == 0x0085 || c == 0x2028 ||
           c == 0x2029;
}

constexpr char32_t invalid = 0xFFFFFFFF;

// The code point of the well-formed sequence text[begin, end), or `invalid`.
// Only the lengths that the classes above need (1 to 3 bytes) are decoded;
// anything longer is never white space.
char32_t decode(std::string_view text, std::size_t begin, std::size_t end) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const std::size_t length = end - begin;
    const unsigned lead = byte(begin);
    if (length == 1) {
        return lead < 0x80 ? lead : invalid;
    }
    for (std::size_t i = begin + 1; i < end; ++i) {
        if ((byte(i) & 0xC0) != 0x80) {
            return invalid;
        }
    }
    if (length == 2 && (lead & 0xE0) == 0xC0) {
        const char32_t c = ((lead & 0x1F) << 6) | (byte(begin + 1) & 0x3F);
        return c >= 0x80 ? c : invalid;
    }
    if (length == 3 && (lead & 0xF0) == 0xE0) {
        const char32_t c =
            ((lead & 0x0F) << 12) | ((byte(begin + 1) & 0x3F) << 6) | (byte(begin + 2) & 0x3F);
        return c >= 0x800 ? c : invalid;
    }
    return invalid;
}

std::size_t sequenceLength(unsigned char lead) {
    if (lead < 0x80) {
        return 1;
    }
    if ((lead & 0xE0) == 0xC0) {
        return 2;
    }
    if ((lead & 0xF0) == 0xE0) {
        return 3;
    }
    return 4; // or malformed: never white space either way
}

template <class Predicate>
std::string_view trimming(std::string_view text, Predicate isTrimmed) {
    std::size_t begin = 0;
    while (begin < text.size()) {
        const std::size_t end = begin + sequenceLength(static_cast<unsigned char>(text[begin]));
        if (end > text.size() || !isTrimmed(decode(text, begin, end))) {
            break;
        }
        begin = end;
    }
    std::size_t end = text.size();
    while (end > begin) {
        std::size_t start = end - 1;
        while (start > begin && end - start < 3 &&
               (static_cast<unsigned char>(text[start]) & 0xC0) == 0x80) {
            --start;
        }
        if (!isTrimmed(decode(text, start, end))) {
            break;
        }
        end = start;
    }
    return text.substr(begin, end - begin);
}

} // namespace

std::string_view trimmingHorizontalWhitespace(std::string_view text) {
    return trimming(text, isHorizontalSpace);
}

std::string_view trimmingWhitespaceAndNewlines(std::string_view text) {
    return trimming(text, isSpaceOrNewline);
}

} // namespace OrvelKit
