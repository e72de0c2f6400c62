// Notification bodies: an update's Markdown reduced to the text it shows.

#include "orvel/shell/MarkdownPlainText.h"

#include <gtest/gtest.h>

namespace {

TEST(MarkdownPlainText, KeepsTheTextAndLinesAndDropsTheSyntax) {
    const struct {
        const char* markdown;
        const char* plain;
    } cases[] = {
        {"**Deploy** needs _approval_ in `prod`", "Deploy needs approval in prod"},
        {"See [the run](https://ci.example/42) or ![chart](https://x/c.png)",
         "See the run or chart"},
        {"# Build failed\n\nTwo tests\nbroke.", "Build failed\nTwo tests broke."},
        {"- one\n  - nested\n\n3. third", "• one\n  • nested\n3. third"},
        {"a < b & \"c\" &amp; <b>raw</b> &#x1F600;", "a < b & \"c\" & <b>raw</b> \U0001F600"},
        {"[local](file:///etc/passwd) > quoted", "local > quoted"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Orvel::MarkdownPlainText::render(c.markdown), c.plain) << c.markdown;
    }
}

} // namespace
