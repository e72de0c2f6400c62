#include "orvelkit/presentation/TextMatching.h"

#include <unicode/coll.h>
#include <unicode/locid.h>
#include <unicode/stsearch.h>
#include <unicode/tblcoll.h>
#include <unicode/unistr.h>

#include <limits>
#include <string>

namespace OrvelKit {

namespace {

icu::UnicodeString fromUTF8(std::string_view text) {
    return icu::UnicodeString::fromUTF8(
        icu::StringPiece(text.data(), static_cast<int32_t>(text.size())));
}

// ICU counts string lengths in 32-bit integers.
bool fitsICU(std::string_view text) {
    return text.size() <= static_cast<std::size_t>(std::numeric_limits<int32_t>::max() / 2);
}

} // namespace

// A collator at secondary strength tells base letters and accents apart but
// not letter case; the search compares collation elements, so canonically
// equivalent spellings match too, and matches never split a character from
// its combining marks.
struct TextMatcher::Search {
    std::unique_ptr<icu::RuleBasedCollator> collator;
    std::unique_ptr<icu::StringSearch> search;
};

TextMatcher::TextMatcher(std::string_view needle, std::string_view localeId) {
    if (needle.empty()) {
        matchesEverything_ = true;
        return;
    }
    if (!fitsICU(needle)) {
        return;
    }
    icu::Locale locale(std::string(localeId).c_str());
    // The POSIX locale (what ICU makes of LANG=C) collates by code point,
    // upper case apart from lower case even at the primary level; its
    // language's ordinary collation ignores case as everywhere else.
    if (std::string_view(locale.getVariant()) == "POSIX") {
        locale = icu::Locale(locale.getLanguage(), locale.getCountry());
    }
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::Collator> collator(icu::Collator::createInstance(locale, status));
    auto* ruleBased = dynamic_cast<icu::RuleBasedCollator*>(collator.get());
    if (U_FAILURE(status) || ruleBased == nullptr) {
        return;
    }
    ruleBased->setStrength(icu::Collator::SECONDARY);
    auto prepared = std::make_unique<Search>();
    prepared->collator.reset(ruleBased);
    collator.release();
    // The search needs some text to start with; each match sets its own.
    prepared->search = std::make_unique<icu::StringSearch>(
        fromUTF8(needle), icu::UnicodeString(u" "), prepared->collator.get(), nullptr, status);
    if (U_FAILURE(status)) {
        return;
    }
    search_ = std::move(prepared);
}

TextMatcher::TextMatcher(TextMatcher&&) noexcept = default;
TextMatcher& TextMatcher::operator=(TextMatcher&&) noexcept = default;
TextMatcher::~TextMatcher() = default;

bool TextMatcher::matches(std::string_view haystack) const {
    if (matchesEverything_) {
        return true;
    }
    if (!search_ || haystack.empty() || !fitsICU(haystack)) {
        return false;
    }
    UErrorCode status = U_ZERO_ERROR;
    const icu::UnicodeString text = fromUTF8(haystack);
    search_->search->setText(text, status);
    if (U_FAILURE(status)) {
        return false;
    }
    const int32_t at = search_->search->first(status);
    return U_SUCCESS(status) && at != USEARCH_DONE;
}

namespace TextMatching {

bool containsIgnoringCase(std::string_view haystack, std::string_view needle,
                          std::string_view localeId) {
    return TextMatcher(needle, localeId).matches(haystack);
}

} // namespace TextMatching
} // namespace OrvelKit
