#include "orvelkit/presentation/TextMatching.h"

#include <gtest/gtest.h>

#include <utility>

using OrvelKit::TextMatcher;
using OrvelKit::TextMatching::containsIgnoringCase;

TEST(TextMatching, IgnoresLetterCaseButNotAccents) {
    EXPECT_TRUE(containsIgnoringCase("Deploy finished on main", "FINISHED ON", "en_US"));
    EXPECT_TRUE(containsIgnoringCase("Überprüfung abgeschlossen", "überprüfung", "de_DE"));
    EXPECT_TRUE(containsIgnoringCase("RÉSUMÉ", "résumé", "fr_FR"));
    EXPECT_FALSE(containsIgnoringCase("Résumé", "resume", "fr_FR"));
    EXPECT_FALSE(containsIgnoringCase("build", "build-bot", "en_US"));
}

TEST(TextMatching, MatchesCanonicallyEquivalentSpellings) {
    // Precomposed é against e with a combining acute accent, both ways.
    EXPECT_TRUE(containsIgnoringCase("caf\u00E9 open", "CAFE\u0301", "en_US"));
    EXPECT_TRUE(containsIgnoringCase("cafe\u0301 open", "caf\u00C9", "en_US"));
    // A match never ends inside a character and its accent.
    EXPECT_FALSE(containsIgnoringCase("cafe\u0301", "cafe", "en_US"));
}

TEST(TextMatching, FollowsTheLocalesLetters) {
    // Turkish has a dotted and a dotless i, each with its own capital.
    EXPECT_TRUE(containsIgnoringCase("\u0130stanbul", "istanbul", "tr_TR"));
    EXPECT_FALSE(containsIgnoringCase("ISTANBUL", "istanbul", "tr_TR"));
    EXPECT_TRUE(containsIgnoringCase("ISTANBUL", "istanbul", "en_US"));
}

TEST(TextMatching, EmptyNeedlesMatchEverythingAndEmptyTextsNothingElse) {
    EXPECT_TRUE(containsIgnoringCase("anything", "", "en_US"));
    EXPECT_FALSE(containsIgnoringCase("", "a", "en_US"));
    // Broken UTF-8 is read with replacement characters, not rejected.
    EXPECT_TRUE(containsIgnoringCase("ab\xFF"
                                     "cd",
                                     "CD", "en_US"));
    // An unknown locale falls back to the root collation.
    EXPECT_TRUE(containsIgnoringCase("Hello", "hello", "xx_YY"));
}

TEST(TextMatching, OneMatcherServesManyTexts) {
    TextMatcher matcher("agent", "en_US");
    EXPECT_FALSE(matcher.matches("build-bot"));
    EXPECT_TRUE(matcher.matches("deploy-agent"));
    TextMatcher moved = std::move(matcher);
    EXPECT_TRUE(moved.matches("Agent"));
}
