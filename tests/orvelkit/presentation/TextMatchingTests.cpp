#include "orvelkit/presentation/TextMatching.h"

#include <gtest/gtest.h>

#include <tuple>
#include <utility>

using OrvelKit::TextMatcher;
using OrvelKit::TextMatching::containsIgnoringCase;

// Case folding itself is the collator's; here what this matcher adds to it.
TEST(TextMatching, IgnoresCaseNotAccentsAndNeverSplitsACharacter) {
    const std::tuple<const char*, const char*, const char*, bool> cases[] = {
        {"Deploy finished on main", "FINISHED ON", "en_US", true},
        {"Résumé", "resume", "fr_FR", false},
        // Precomposed é against e with a combining acute accent, both ways;
        // a match never ends between a character and its accent.
        {"caf\u00E9 open", "CAFE\u0301", "en_US", true},
        {"cafe\u0301", "cafe", "en_US", false},
        // The locale's letters: Turkish has a dotted and a dotless i.
        {"ISTANBUL", "istanbul", "tr_TR", false},
        {"ISTANBUL", "istanbul", "en_US", true},
        // Broken UTF-8 is read with replacement characters, not rejected; an
        // unknown locale falls back to the root collation.
        {"ab\xFF"
         "cd",
         "CD", "en_US", true},
        {"Hello", "hello", "xx_YY", true},
        // What ICU makes of LANG=C: its POSIX collation tells case apart.
        {"Report #4", "report", "en_US_POSIX", true},
    };
    for (const auto& [text, needle, locale, expected] : cases) {
        EXPECT_EQ(containsIgnoringCase(text, needle, locale), expected) << text << " / " << needle;
    }
    TextMatcher matcher("agent", "en_US");
    EXPECT_FALSE(matcher.matches("build-bot"));
    TextMatcher moved = std::move(matcher);
    EXPECT_TRUE(moved.matches("deploy-Agent"));
}
