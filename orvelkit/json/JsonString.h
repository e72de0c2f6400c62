#pragma once

// Writing a text as a JSON string: quotes, backslashes and control characters
// are escaped, everything else (including non-ASCII) is copied as it is, and a
// text that is not valid UTF-8 is refused.

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace OrvelKit::Json::detail {

// Room that writeQuoted() needs for a text of `size` bytes: every byte
// escaped as \u00XX, two quotes, and slack for one whole-word store.
constexpr std::size_t quotedCapacity(std::size_t size) {
    return 6 * size + 2 + 8;
}

// The length of the well-formed UTF-8 sequence that starts a non-ASCII byte
// at `p`, or 0 when it is not one (stray continuation bytes, overlong forms,
// surrogates, values beyond U+10FFFF, truncated sequences).
inline std::size_t utf8SequenceLength(const unsigned char* p, const unsigned char* end) {
    const auto continuation = [](unsigned char c) { return (c & 0xC0) == 0x80; };
    const unsigned char lead = p[0];
    const std::size_t available = static_cast<std::size_t>(end - p);
    if (lead >= 0xC2 && lead <= 0xDF) {
        return available >= 2 && continuation(p[1]) ? 2 : 0;
    }
    if (lead >= 0xE0 && lead <= 0xEF) {
        if (available < 3 || !continuation(p[2])) {
            return 0;
        }
        const unsigned char second = p[1];
        const unsigned char low = lead == 0xE0 ? 0xA0 : 0x80;
        const unsigned char high = lead == 0xED ? 0x9F : 0xBF;
        return second >= low && second <= high ? 3 : 0;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        if (available < 4 || !continuation(p[2]) || !continuation(p[3])) {
            return 0;
        }
        const unsigned char second = p[1];
        const unsigned char low = lead == 0xF0 ? 0x90 : 0x80;
        const unsigned char high = lead == 0xF4 ? 0x8F : 0xBF;
        return second >= low && second <= high ? 4 : 0;
    }
    return 0;
}

// One bit (the high bit of its byte) for every byte of `word` that needs
// more than copying: below 0x20, a quote, a backslash or non-ASCII. Bits
// above the lowest one may be spurious; the lowest one is exact.
inline std::uint64_t specialBytes(std::uint64_t word) {
    constexpr std::uint64_t ones = 0x0101010101010101ULL;
    constexpr std::uint64_t highs = 0x8080808080808080ULL;
    const auto anyZero = [](std::uint64_t v) { return (v - ones) & ~v & highs; };
    const std::uint64_t below0x20 = (word - ones * 0x20) & ~word & highs;
    return (word & highs) | below0x20 | anyZero(word ^ (ones * '"')) |
           anyZero(word ^ (ones * '\\'));
}

// Writes `text` as a quoted JSON string at `out`, which has room for
// quotedCapacity(text.size()) bytes. Returns the end of what was written, or
// nullptr when the text is not valid UTF-8.
inline char* writeQuoted(std::string_view text, char* out) {
    static_assert(std::endian::native == std::endian::little,
                  "the first byte of a text is the lowest byte of a word");
    static constexpr char hex[] = "0123456789ABCDEF";
    constexpr std::uint64_t spaces = 0x2020202020202020ULL;
    auto p = reinterpret_cast<const unsigned char*>(text.data());
    const auto end = p + text.size();
    *out++ = '"';
    while (p < end) {
        // Eight bytes at a time (a short tail padded with spaces, which need
        // no care): copy up to the first byte that needs care.
        const std::size_t available = static_cast<std::size_t>(end - p);
        std::uint64_t word;
        if (available >= 8) {
            std::memcpy(&word, p, 8);
        } else if (text.size() >= 8) {
            // The text's last eight bytes, shifted past the ones already written.
            std::memcpy(&word, end - 8, 8);
            const unsigned shift = static_cast<unsigned>(8 - available) * 8;
            word = (word >> shift) | (spaces << (64 - shift));
        } else {
            word = spaces;
            for (std::size_t i = 0; i < available; ++i) {
                word =
                    (word & ~(std::uint64_t{0xFF} << (8 * i))) | (std::uint64_t{p[i]} << (8 * i));
            }
        }
        const std::uint64_t special = specialBytes(word);
        if (special == 0) {
            std::memcpy(out, &word, 8);
            const std::size_t taken = available >= 8 ? 8 : available;
            out += taken;
            p += taken;
            continue;
        }
        const std::size_t plain = static_cast<std::size_t>(std::countr_zero(special)) / 8;
        std::memcpy(out, &word, 8);
        out += plain;
        p += plain;

        const unsigned char c = *p;
        if (c >= 0x80) {
            const std::size_t length = utf8SequenceLength(p, end);
            if (length == 0) {
                return nullptr;
            }
            std::memcpy(out, p, length);
            out += length;
            p += length;
            continue;
        }
        ++p;
        *out++ = '\\';
        switch (c) {
        case '"':
        case '\\':
            *out++ = static_cast<char>(c);
            break;
        case '\b':
            *out++ = 'b';
            break;
        case '\f':
            *out++ = 'f';
            break;
        case '\n':
            *out++ = 'n';
            break;
        case '\r':
            *out++ = 'r';
            break;
        case '\t':
            *out++ = 't';
            break;
        default:
            *out++ = 'u';
            *out++ = '0';
            *out++ = '0';
            *out++ = hex[c >> 4];
            *out++ = hex[c & 0xF];
            break;
        }
    }
    *out++ = '"';
    return out;
}

} // namespace OrvelKit::Json::detail
