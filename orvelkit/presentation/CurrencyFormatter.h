#pragma once

// Money amounts as the user's locale writes them ("€12.50" in en_US,
// "12,50 €" in de_DE), formatted from exact decimal text.

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace OrvelKit {

// Formats amounts in one locale. Formatters are built on first use of each
// currency and kept for the formatter's lifetime; one value serves one thread
// at a time.
class CurrencyFormatter {
public:
    // A locale identifier such as "en_US" or "de_DE"; one without data of its
    // own follows the root locale's conventions.
    explicit CurrencyFormatter(std::string_view localeId);
    CurrencyFormatter(CurrencyFormatter&&) noexcept;
    CurrencyFormatter& operator=(CurrencyFormatter&&) noexcept;
    ~CurrencyFormatter();

    // `amount` (decimal text as Decimal::plainString writes it) in
    // `currencyCode` (three ASCII letters, such as "EUR"), rounded the way the
    // currency is usually written. Absent when the code is not three letters,
    // the amount is not a number, or formatting fails; the amount itself is
    // never taken through a binary floating-point value.
    std::optional<std::string> format(std::string_view amount, std::string_view currencyCode);

private:
    struct Formatters;
    std::unique_ptr<Formatters> formatters_;
};

} // namespace OrvelKit
