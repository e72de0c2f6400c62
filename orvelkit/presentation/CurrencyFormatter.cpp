#include "orvelkit/presentation/CurrencyFormatter.h"

#include <unicode/currunit.h>
#include <unicode/locid.h>
#include <unicode/numberformatter.h>
#include <unicode/unistr.h>

#include <array>
#include <utility>
#include <vector>

namespace OrvelKit {

namespace {

bool isAsciiLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// The code in upper case when it is three ASCII letters.
std::optional<std::array<char, 3>> currencyCodeOf(std::string_view code) {
    if (code.size() != 3) {
        return std::nullopt;
    }
    std::array<char, 3> upper{};
    for (std::size_t i = 0; i < 3; ++i) {
        if (!isAsciiLetter(code[i])) {
            return std::nullopt;
        }
        upper[i] = (code[i] >= 'a') ? static_cast<char>(code[i] - 'a' + 'A') : code[i];
    }
    return upper;
}

// Longer text is no amount a card holds (Decimal keeps about 8,200 digits).
constexpr std::size_t maxAmountLength = 65536;

} // namespace

struct CurrencyFormatter::Formatters {
    icu::Locale locale;
    // One per currency code used so far; absent where ICU refused the code.
    std::vector<
        std::pair<std::array<char, 3>, std::optional<icu::number::LocalizedNumberFormatter>>>
        byCurrency;

    const icu::number::LocalizedNumberFormatter* forCurrency(const std::array<char, 3>& code) {
        for (const auto& [candidate, formatter] : byCurrency) {
            if (candidate == code) {
                return formatter ? &*formatter : nullptr;
            }
        }
        UErrorCode status = U_ZERO_ERROR;
        const icu::CurrencyUnit unit(icu::StringPiece(code.data(), 3), status);
        std::optional<icu::number::LocalizedNumberFormatter> formatter;
        if (U_SUCCESS(status)) {
            formatter = icu::number::NumberFormatter::withLocale(locale).unit(unit);
        }
        byCurrency.emplace_back(code, std::move(formatter));
        const auto& stored = byCurrency.back().second;
        return stored ? &*stored : nullptr;
    }
};

CurrencyFormatter::CurrencyFormatter(std::string_view localeId)
    : formatters_(std::make_unique<Formatters>()) {
    formatters_->locale = icu::Locale(std::string(localeId).c_str());
}

CurrencyFormatter::CurrencyFormatter(CurrencyFormatter&&) noexcept = default;
CurrencyFormatter& CurrencyFormatter::operator=(CurrencyFormatter&&) noexcept = default;
CurrencyFormatter::~CurrencyFormatter() = default;

std::optional<std::string> CurrencyFormatter::format(std::string_view amount,
                                                     std::string_view currencyCode) {
    const auto code = currencyCodeOf(currencyCode);
    if (!code || amount.empty() || amount.size() > maxAmountLength || !formatters_) {
        return std::nullopt;
    }
    const icu::number::LocalizedNumberFormatter* formatter = formatters_->forCurrency(*code);
    if (!formatter) {
        return std::nullopt;
    }
    UErrorCode status = U_ZERO_ERROR;
    const icu::number::FormattedNumber formatted = formatter->formatDecimal(
        icu::StringPiece(amount.data(), static_cast<int32_t>(amount.size())), status);
    if (U_FAILURE(status)) {
        return std::nullopt;
    }
    const icu::UnicodeString text = formatted.toString(status);
    if (U_FAILURE(status) || text.isEmpty()) {
        return std::nullopt;
    }
    std::string result;
    text.toUTF8String(result);
    return result;
}

} // namespace OrvelKit
