#include "orvelkit/presentation/Decimal.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>

using OrvelKit::Decimal;

namespace {

// 128-bit integers are a compiler extension; they check sums of ~30 digits.
__extension__ typedef __int128 Int128;
__extension__ typedef unsigned __int128 UInt128;

// The plain text of `scaled` / 10^scale, written independently of Decimal.
std::string plain(Int128 scaled, int scale) {
    const bool negative = scaled < 0;
    UInt128 magnitude = negative ? static_cast<UInt128>(-(scaled + 1)) + 1 : scaled;
    std::string digits;
    do {
        digits.insert(digits.begin(), static_cast<char>('0' + static_cast<int>(magnitude % 10)));
        magnitude /= 10;
    } while (magnitude != 0);
    if (static_cast<int>(digits.size()) <= scale) {
        digits.insert(0, static_cast<std::size_t>(scale + 1) - digits.size(), '0');
    }
    std::string text = digits.substr(0, digits.size() - static_cast<std::size_t>(scale));
    std::string fraction = digits.substr(digits.size() - static_cast<std::size_t>(scale));
    while (!fraction.empty() && fraction.back() == '0') {
        fraction.pop_back();
    }
    if (!fraction.empty()) {
        text += "." + fraction;
    }
    if (negative && text != "0") {
        text.insert(0, "-");
    }
    return text;
}

Int128 power10(int exponent) {
    Int128 result = 1;
    while (exponent-- > 0) {
        result *= 10;
    }
    return result;
}

// The exact sum of two decimal texts, as plain text; each read back from
// what it writes.
std::optional<std::string> sum(const std::string& a, const std::string& b) {
    const auto x = Decimal::parse(a);
    const auto y = Decimal::parse(b);
    if (!x || !y) {
        return std::nullopt;
    }
    const auto total = x->adding(*y);
    if (!total || Decimal::parse(total->plainString()) != total) {
        return std::nullopt;
    }
    return total->plainString();
}

} // namespace

TEST(Decimal, ReadsThePosixFormAndNothingElse) {
    const std::pair<const char*, const char*> cases[] = {
        {"-0", "0"},          {"00012.3400", "12.34"}, {"-.5", "-0.5"},     {"1E+3", "1000"},
        {"1.5e-3", "0.0015"}, {"100e-2", "1"},         {"0e999999999", "0"}};
    for (const auto& [text, expected] : cases) {
        const auto value = Decimal::parse(text);
        ASSERT_TRUE(value.has_value()) << text;
        EXPECT_EQ(value->plainString(), expected) << text;
    }
    EXPECT_EQ(Decimal::parse("1.50"), Decimal::parse("15e-1"));
    EXPECT_FALSE(Decimal::parse("-0")->isNegative());

    for (const char* text : {"", "+", ".", "e5", "1e", "1e+", " 1", "1\n", "1,000", "1.2.3", "0x10",
                             "inf", "nan", "--1", "1e5.5", "12abc", "\xEF\xBC\x91"}) {
        EXPECT_FALSE(Decimal::parse(text).has_value()) << text;
    }
    // An embedded NUL ends nothing: the text goes on after it.
    EXPECT_FALSE(Decimal::parse(std::string_view("1\0"
                                                 "2",
                                                 3))
                     .has_value());
}

TEST(Decimal, AddsBeyondTheRangeOfIntegersAndDoubles) {
    // Carries and borrows across many digits, beyond 128 bits.
    EXPECT_EQ(sum("99999999999999999999999999999999999999999", "1"),
              "100000000000000000000000000000000000000000");
    EXPECT_EQ(sum("1e40", "-1e-40"), "9999999999999999999999999999999999999999."
                                     "9999999999999999999999999999999999999999");

    // Random values of up to 30 digits at random scales against 128-bit
    // arithmetic; short ones meet every carry, borrow and change of sign.
    std::mt19937_64 random(20240601);
    for (int round = 0; round < 50000; ++round) {
        const auto value = [&random] {
            Int128 magnitude = 0;
            for (auto digits = random() % 31; digits > 0; --digits) {
                magnitude = magnitude * 10 + static_cast<Int128>(random() % 10);
            }
            return (random() & 1) ? -magnitude : magnitude;
        };
        const Int128 a = value();
        const Int128 b = value();
        const int scaleA = static_cast<int>(random() % 6);
        const int scaleB = static_cast<int>(random() % 6);
        const int scale = std::max(scaleA, scaleB);
        const Int128 expected = a * power10(scale - scaleA) + b * power10(scale - scaleB);
        ASSERT_EQ(sum(plain(a, scaleA), plain(b, scaleB)), plain(expected, scale));
    }
}

TEST(Decimal, KeepsWithinItsBoundsAndFailsCleanlyBeyondThem) {
    EXPECT_EQ(Decimal::parse("1e4095")->plainString().size(), 4096u);
    EXPECT_TRUE(Decimal::parse("1e-4096").has_value());
    for (const char* text : {"1e4096", "1e-4097", "1e99999999999999999999999999999999"}) {
        EXPECT_FALSE(Decimal::parse(text).has_value()) << text;
    }
    // Zeros that only pad the number cost nothing.
    EXPECT_EQ(Decimal::parse("1" + std::string(5000, '0') + "e-5000")->plainString(), "1");
    // A carry past the top is refused, not rounded.
    EXPECT_EQ(sum("9e4095", "1e4095"), std::nullopt);
    EXPECT_TRUE(sum("4e4095", "5e4095").has_value());
}
