#include "tools/devserver/CursorQuery.h"

#include <gtest/gtest.h>

namespace OrvelDev {
namespace {

TEST(CursorQuery, ReadsWhatTheClientSends) {
    auto items = parseQuery("after=a:12,b:3&cards_after=a%3A7&&flag");
    ASSERT_TRUE(items);
    ASSERT_EQ(items->size(), 3u);
    EXPECT_EQ((*items)[1], (std::pair<std::string, std::string>{"cards_after", "a:7"}));
    EXPECT_EQ((*items)[2].second, "");

    auto cursors = parseCursors("a:12,b:3,ch%20x:0");
    ASSERT_TRUE(cursors);
    EXPECT_EQ(*cursors, (Cursors{{"a", 12}, {"b", 3}, {"ch%20x", 0}}));
    // The last colon splits, so a channel may hold colons; the sequence is 64-bit.
    EXPECT_EQ(*parseCursors("x:y:18446744073709551615"), (Cursors{{"x:y", UINT64_MAX}}));
    EXPECT_TRUE(parseCursors("")->empty());
    EXPECT_EQ(*percentDecode("a%20b+c%2c"), "a b+c,");
}

class MalformedCursors : public ::testing::TestWithParam<const char*> {};

TEST_P(MalformedCursors, AreRefused) {
    EXPECT_FALSE(parseCursors(GetParam()));
}

INSTANTIATE_TEST_SUITE_P(CursorQuery, MalformedCursors,
                         ::testing::Values("a", ":4", "a:-1", "a:1x", "a:18446744073709551616",
                                           "a:1,,b:2", "a:1,a:2"));

} // namespace
} // namespace OrvelDev
