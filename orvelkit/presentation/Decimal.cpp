#include "orvelkit/presentation/Decimal.h"

#include <algorithm>
#include <cstddef>
#include <utility>

namespace OrvelKit {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Exponents beyond this are out of bounds whatever the digits are; reading
// stops growing there so that the arithmetic below cannot overflow.
constexpr std::int64_t exponentCap = std::int64_t{1} << 50;

bool withinBounds(std::int64_t exponent, std::size_t digitCount) {
    return exponent >= -Decimal::maxFractionDigits &&
           exponent + static_cast<std::int64_t>(digitCount) <= Decimal::maxIntegerDigits;
}

} // namespace

Decimal::Decimal(bool negative, std::string digits, std::int64_t exponent)
    : negative_(negative), digits_(std::move(digits)), exponent_(exponent) {}

std::optional<Decimal> Decimal::parse(std::string_view text) {
    std::size_t at = 0;
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
        negative = text[at] == '-';
        ++at;
    }
    const std::size_t integerBegin = at;
    while (at < text.size() && isDigit(text[at])) {
        ++at;
    }
    const std::string_view integerDigits = text.substr(integerBegin, at - integerBegin);
    std::string_view fractionDigits;
    if (at < text.size() && text[at] == '.') {
        const std::size_t fractionBegin = ++at;
        while (at < text.size() && isDigit(text[at])) {
            ++at;
        }
        fractionDigits = text.substr(fractionBegin, at - fractionBegin);
    }
    if (integerDigits.empty() && fractionDigits.empty()) {
        return std::nullopt;
    }
    std::int64_t exponent = 0;
    if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
        ++at;
        bool negativeExponent = false;
        if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
            negativeExponent = text[at] == '-';
            ++at;
        }
        const std::size_t exponentBegin = at;
        while (at < text.size() && isDigit(text[at])) {
            exponent = std::min(exponent * 10 + (text[at] - '0'), exponentCap);
            ++at;
        }
        if (at == exponentBegin) {
            return std::nullopt;
        }
        if (negativeExponent) {
            exponent = -exponent;
        }
    }
    if (at != text.size()) {
        return std::nullopt;
    }

    // The significant digits of integer and fraction taken together.
    std::string digits;
    digits.reserve(integerDigits.size() + fractionDigits.size());
    for (const std::string_view part : {integerDigits, fractionDigits}) {
        for (const char c : part) {
            if (c != '0' || !digits.empty()) {
                digits.push_back(c);
            }
        }
    }
    const std::size_t significant = digits.find_last_not_of('0');
    if (significant == std::string::npos) {
        return Decimal();
    }
    const std::size_t trailingZeros = digits.size() - 1 - significant;
    digits.resize(significant + 1);
    // The text is in memory, so its length is far below the cap.
    exponent = exponent - static_cast<std::int64_t>(fractionDigits.size()) +
               static_cast<std::int64_t>(trailingZeros);
    if (!withinBounds(exponent, digits.size())) {
        return std::nullopt;
    }
    return Decimal(negative, std::move(digits), exponent);
}

int Decimal::digitAt(std::int64_t power) const {
    const std::int64_t fromLeast = power - exponent_;
    if (fromLeast < 0 || fromLeast >= static_cast<std::int64_t>(digits_.size())) {
        return 0;
    }
    return digits_[digits_.size() - 1 - static_cast<std::size_t>(fromLeast)] - '0';
}

int Decimal::compareMagnitudes(const Decimal& a, const Decimal& b) {
    if (a.top() != b.top()) {
        return a.top() < b.top() ? -1 : 1;
    }
    // Same leading position: the digit strings compare like the numbers,
    // a shorter one counting as padded with zeros.
    const std::size_t common = std::min(a.digits_.size(), b.digits_.size());
    if (const int order = a.digits_.compare(0, common, b.digits_, 0, common); order != 0) {
        return order < 0 ? -1 : 1;
    }
    if (a.digits_.size() != b.digits_.size()) {
        return a.digits_.size() < b.digits_.size() ? -1 : 1;
    }
    return 0;
}

std::optional<Decimal> Decimal::adding(const Decimal& other) const {
    if (other.isZero()) {
        return *this;
    }
    if (isZero()) {
        return other;
    }
    const std::int64_t low = std::min(exponent_, other.exponent_);
    const std::int64_t high = std::max(top(), other.top());
    // Least significant digit first, with room for a carry.
    std::string sum(static_cast<std::size_t>(high - low) + 1, '0');
    bool negative = negative_;
    if (negative_ == other.negative_) {
        int carry = 0;
        for (std::int64_t power = low; power < high; ++power) {
            const int digit = digitAt(power) + other.digitAt(power) + carry;
            carry = digit / 10;
            sum[static_cast<std::size_t>(power - low)] = static_cast<char>('0' + digit % 10);
        }
        sum.back() = static_cast<char>('0' + carry);
    } else {
        const int order = compareMagnitudes(*this, other);
        if (order == 0) {
            return Decimal();
        }
        const Decimal& larger = order > 0 ? *this : other;
        const Decimal& smaller = order > 0 ? other : *this;
        negative = larger.negative_;
        int borrow = 0;
        for (std::int64_t power = low; power < high; ++power) {
            int digit = larger.digitAt(power) - smaller.digitAt(power) - borrow;
            borrow = digit < 0 ? 1 : 0;
            digit += borrow * 10;
            sum[static_cast<std::size_t>(power - low)] = static_cast<char>('0' + digit);
        }
    }
    // Drop zeros at both ends, then turn most significant first.
    const std::size_t first = sum.find_first_not_of('0');
    const std::size_t last = sum.find_last_not_of('0');
    std::string digits(sum.rbegin() + static_cast<std::ptrdiff_t>(sum.size() - 1 - last),
                       sum.rend() - static_cast<std::ptrdiff_t>(first));
    const std::int64_t exponent = low + static_cast<std::int64_t>(first);
    if (!withinBounds(exponent, digits.size())) {
        return std::nullopt;
    }
    return Decimal(negative, std::move(digits), exponent);
}

std::string Decimal::plainString() const {
    if (isZero()) {
        return "0";
    }
    std::string text;
    if (negative_) {
        text.push_back('-');
    }
    if (exponent_ >= 0) {
        text += digits_;
        text.append(static_cast<std::size_t>(exponent_), '0');
        return text;
    }
    const std::int64_t integerLength = top();
    if (integerLength > 0) {
        const auto split = static_cast<std::size_t>(integerLength);
        text.append(digits_, 0, split);
        text.push_back('.');
        text.append(digits_, split);
    } else {
        text += "0.";
        text.append(static_cast<std::size_t>(-integerLength), '0');
        text += digits_;
    }
    return text;
}

} // namespace OrvelKit
