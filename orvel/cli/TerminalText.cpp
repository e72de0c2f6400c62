#include "orvel/cli/TerminalText.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <optional>

namespace Orvel::Cli {

namespace {

constexpr std::string_view replacement = "\xEF\xBF\xBD"; // U+FFFD

// The code point at the start of `text` and its length in bytes, or nothing
// when the bytes there are not UTF-8 (overlong forms and surrogates included).
std::optional<std::pair<char32_t, std::size_t>> decodeOne(std::string_view text) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) {
        return std::pair{char32_t{lead}, std::size_t{1}};
    }
    std::size_t length = 0;
    char32_t value = 0;
    char32_t minimum = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        value = lead & 0x1F;
        minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        value = lead & 0x0F;
        minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        value = lead & 0x07;
        minimum = 0x10000;
    } else {
        return std::nullopt;
    }
    if (text.size() < length) {
        return std::nullopt;
    }
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) {
            return std::nullopt;
        }
        value = (value << 6) | (byte(i) & 0x3F);
    }
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        return std::nullopt;
    }
    return std::pair{value, length};
}

bool isControl(char32_t c) {
    return c < 0x20 || c == 0x7F || (c >= 0x80 && c <= 0x9F);
}

const char* code(Style::Tone tone) {
    switch (tone) {
    case Style::Tone::plain:
        return "";
    case Style::Tone::bold:
        return "\x1b[1m";
    case Style::Tone::dim:
        return "\x1b[2m";
    case Style::Tone::red:
        return "\x1b[31m";
    case Style::Tone::green:
        return "\x1b[32m";
    case Style::Tone::yellow:
        return "\x1b[33m";
    case Style::Tone::cyan:
        return "\x1b[36m";
    }
    return "";
}

} // namespace

bool isValidUTF8(std::string_view text) {
    while (!text.empty()) {
        const auto decoded = decodeOne(text);
        if (!decoded) {
            return false;
        }
        text.remove_prefix(decoded->second);
    }
    return true;
}

std::size_t characterCount(std::string_view text) {
    std::size_t count = 0;
    while (!text.empty()) {
        const auto decoded = decodeOne(text);
        text.remove_prefix(decoded ? decoded->second : 1);
        ++count;
    }
    return count;
}

std::string withValidUTF8(std::string_view text) {
    std::string valid;
    valid.reserve(text.size());
    while (!text.empty()) {
        const auto decoded = decodeOne(text);
        const std::size_t length = decoded ? decoded->second : 1;
        if (decoded) {
            valid.append(text.substr(0, length));
        } else {
            valid += replacement;
        }
        text.remove_prefix(length);
    }
    return valid;
}

std::string terminalSafe(std::string_view text, bool keepLineBreaks) {
    std::string safe;
    safe.reserve(text.size());
    while (!text.empty()) {
        const auto decoded = decodeOne(text);
        if (!decoded) {
            safe += replacement;
            text.remove_prefix(1);
            continue;
        }
        const auto [c, length] = *decoded;
        if (!isControl(c)) {
            safe.append(text.substr(0, length));
        } else if (c == '\n' || c == '\r') {
            if (!keepLineBreaks) {
                safe += ' ';
            } else if (c == '\n' || !text.substr(length).starts_with('\n')) {
                // "\r\n" and a lone "\r" each end one line.
                safe += '\n';
            }
        } else if (c == '\t') {
            safe += ' ';
        } else {
            safe += replacement;
        }
        text.remove_prefix(length);
    }
    return safe;
}

std::string Style::apply(Tone tone, std::string_view text) const {
    if (!enabled_ || tone == Tone::plain || text.empty()) {
        return std::string(text);
    }
    std::string styled = code(tone);
    styled += text;
    styled += "\x1b[0m";
    return styled;
}

Style::Tone Style::tone(OrvelKit::StatusDot dot) {
    switch (dot) {
    case OrvelKit::StatusDot::need:
        return Tone::yellow;
    case OrvelKit::StatusDot::running:
        return Tone::cyan;
    case OrvelKit::StatusDot::done:
        return Tone::green;
    case OrvelKit::StatusDot::failed:
        return Tone::red;
    case OrvelKit::StatusDot::info:
        return Tone::plain;
    case OrvelKit::StatusDot::idle:
        return Tone::dim;
    }
    return Tone::plain;
}

void Table::write(std::ostream& out, const Style& style, std::string_view indent) const {
    std::vector<std::size_t> widths;
    for (const auto& row : rows_) {
        if (widths.size() < row.size()) {
            widths.resize(row.size(), 0);
        }
        for (std::size_t i = 0; i < row.size(); ++i) {
            widths[i] = std::max(widths[i], characterCount(row[i].text));
        }
    }
    for (const auto& row : rows_) {
        std::string line(indent);
        for (std::size_t i = 0; i < row.size(); ++i) {
            const bool last = i + 1 == row.size();
            line += style.apply(row[i].tone, row[i].text);
            if (!last) {
                line.append(widths[i] - characterCount(row[i].text) + 2, ' ');
            }
        }
        // Trailing blanks of empty last cells are left off.
        while (!line.empty() && line.back() == ' ') {
            line.pop_back();
        }
        out << line << '\n';
    }
}

std::string clockTime(OrvelKit::Date date, const OrvelKit::Calendar& calendar, bool withSeconds) {
    const int hour = calendar.hour(date);
    // The time since the top of the hour. Where a daylight-saving change
    // repeats the hour, its first occurrence is found: the remainder of a
    // whole hour is the same.
    double sinceHour = 0;
    if (const auto top = calendar.settingHour(hour, date)) {
        sinceHour = std::fmod(std::floor(date.timeIntervalSince(*top)), 3600.0);
        if (sinceHour < 0) {
            sinceHour += 3600.0;
        }
    }
    const auto seconds = static_cast<int>(sinceHour);
    char text[48];
    if (withSeconds) {
        std::snprintf(text, sizeof text, "%02d:%02d:%02d", hour, seconds / 60, seconds % 60);
    } else {
        std::snprintf(text, sizeof text, "%02d:%02d", hour, seconds / 60);
    }
    return text;
}

} // namespace Orvel::Cli
