#pragma once

// Text for a terminal: untrusted text made harmless, colour that only appears
// when wanted, columns, and wall-clock times.
//
// Everything an agent wrote (titles, bodies, senders, channel names) passes
// through `terminalSafe` before it is printed: a control character in it
// could otherwise move the cursor, rewrite earlier lines or change the
// terminal's settings.

#include "orvelkit/presentation/StatusDot.h"
#include "orvelkit/time/Calendar.h"
#include "orvelkit/time/Date.h"

#include <cstddef>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace Orvel::Cli {

bool isValidUTF8(std::string_view text);

// Characters (code points) of valid UTF-8; each invalid byte counts as one.
std::size_t characterCount(std::string_view text);

// `text` with every byte that is not UTF-8 replaced by U+FFFD.
std::string withValidUTF8(std::string_view text);

// `text` with every control character (C0, DEL, C1) replaced: line breaks
// and tabs by a space (or kept, for line breaks, with `keepLineBreaks`),
// everything else by U+FFFD, as are bytes that are not UTF-8. Carriage
// returns become line breaks when those are kept.
std::string terminalSafe(std::string_view text, bool keepLineBreaks = false);

// Colours and emphasis as ANSI sequences, or nothing when disabled.
class Style {
public:
    enum class Tone { plain, bold, dim, red, green, yellow, cyan };

    explicit Style(bool enabled) : enabled_(enabled) {}

    bool enabled() const { return enabled_; }
    std::string apply(Tone tone, std::string_view text) const;
    std::string bold(std::string_view text) const { return apply(Tone::bold, text); }
    std::string dim(std::string_view text) const { return apply(Tone::dim, text); }

    // The tone a status is shown in.
    static Tone tone(OrvelKit::StatusDot dot);

private:
    bool enabled_;
};

// Rows of cells printed in aligned columns; the last column is not padded.
class Table {
public:
    struct Cell {
        std::string text;
        Style::Tone tone = Style::Tone::plain;
    };

    void add(std::vector<Cell> row) { rows_.push_back(std::move(row)); }
    bool empty() const { return rows_.empty(); }
    // Each row on its own line, after `indent`.
    void write(std::ostream& out, const Style& style, std::string_view indent = "") const;

private:
    std::vector<std::vector<Cell>> rows_;
};

// "HH:MM:SS" (or "HH:MM") of `date` on the wall clock of the calendar's zone.
std::string clockTime(OrvelKit::Date date, const OrvelKit::Calendar& calendar,
                      bool withSeconds = true);

} // namespace Orvel::Cli
