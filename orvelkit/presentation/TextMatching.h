#pragma once

// "Contains, ignoring case" as the user's language sees it: letter case does
// not matter, accents do ("resume" finds "RESUME" but not "résumé"), and
// canonically equivalent spellings match (a precomposed "é" finds a decomposed
// one). Shared by every screen that filters by typed text.

#include <memory>
#include <string_view>

namespace OrvelKit {

// A needle prepared once for matching many texts in one locale. One value
// serves one thread at a time.
class TextMatcher {
public:
    // `localeId` such as "en_US" or "tr_TR"; one without data of its own
    // follows the root locale's conventions.
    TextMatcher(std::string_view needle, std::string_view localeId);
    TextMatcher(TextMatcher&&) noexcept;
    TextMatcher& operator=(TextMatcher&&) noexcept;
    ~TextMatcher();

    // Whether `haystack` contains the needle, ignoring case. An empty needle
    // matches every text; text that is not valid UTF-8 is read with
    // replacement characters.
    bool matches(std::string_view haystack) const;

private:
    struct Search;
    std::unique_ptr<Search> search_;
    bool matchesEverything_ = false;
};

namespace TextMatching {

// One-off form of TextMatcher: whether `haystack` contains `needle`,
// ignoring case, in the locale `localeId`.
bool containsIgnoringCase(std::string_view haystack, std::string_view needle,
                          std::string_view localeId);

} // namespace TextMatching
} // namespace OrvelKit
