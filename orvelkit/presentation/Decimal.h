#pragma once

// Exact decimal numbers for the arithmetic on card values: parsed from text,
// added without binary floating point, written back as plain decimal text.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace OrvelKit {

// A decimal number of any length within fixed bounds: every significant
// digit lies between 10^(maxIntegerDigits - 1) and 10^-maxFractionDigits. The
// bounds keep text such as "1e999999999" from asking for gigabytes of digits;
// numbers outside them are rejected, not rounded.
class Decimal {
public:
    static constexpr std::int64_t maxIntegerDigits = 4096;
    static constexpr std::int64_t maxFractionDigits = 4096;

    // Zero.
    Decimal() = default;

    // Reads a number in the POSIX form: an optional sign ("+" or "-"), digits
    // with an optional fraction after "." (at least one digit in all), and an
    // optional exponent ("e" or "E", an optional sign, digits). The whole text
    // must be the number: white space, grouping separators, other decimal
    // marks and trailing characters make it fail, as does a number outside
    // the bounds.
    static std::optional<Decimal> parse(std::string_view text);

    // The exact sum; absent when it falls outside the bounds.
    std::optional<Decimal> adding(const Decimal& other) const;

    // Plain decimal text: an optional "-", the integer digits (at least "0"),
    // and "." with the fraction digits when there is a fraction. No exponent,
    // no leading zeros in the integer part, no trailing zeros in the
    // fraction; zero is "0" (never "-0").
    std::string plainString() const;

    bool isZero() const { return digits_.empty(); }
    bool isNegative() const { return negative_; }

    // Numbers are kept in one canonical form, so equal numbers compare equal
    // however they were written ("1.50" and "15e-1").
    bool operator==(const Decimal&) const = default;

private:
    Decimal(bool negative, std::string digits, std::int64_t exponent);

    // The digit at position `power` (the digit of 10^power), 0 outside.
    int digitAt(std::int64_t power) const;
    // One past the position of the most significant digit.
    std::int64_t top() const { return exponent_ + static_cast<std::int64_t>(digits_.size()); }
    // Compares magnitudes: negative, zero or positive.
    static int compareMagnitudes(const Decimal& a, const Decimal& b);

    bool negative_ = false;
    // Significant digits as characters, most significant first, without
    // leading or trailing zeros; empty for zero.
    std::string digits_;
    // The value is digits_ × 10^exponent_.
    std::int64_t exponent_ = 0;
};

} // namespace OrvelKit
