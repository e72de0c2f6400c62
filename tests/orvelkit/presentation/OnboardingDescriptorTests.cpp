#include "orvelkit/presentation/OnboardingDescriptor.h"
#include "orvelkit/presentation/WebInbox.h"

#include <gtest/gtest.h>

#include <string>

using OrvelKit::OnboardingDescriptor;

namespace {

const std::string token = "orvel_pub_abc123";
const std::string serverHint = "Enter a server URL (https://orvel.app)";

} // namespace

TEST(OnboardingDescriptor, ReadyWhenAllThreeInputsAreUsableKeepingWhatWasEntered) {
    const OnboardingDescriptor form(" \t\u00A0http://localhost:8080/base/\u3000 ", "ch_1", token);
    EXPECT_TRUE(form.canConnect);
    EXPECT_EQ(form.hint, "Ready to connect");
    // Only horizontal white space is trimmed; no slash is added or removed.
    EXPECT_EQ(form.normalizedBaseURL, "http://localhost:8080/base/");
    EXPECT_EQ(form.serverURL, " \t\u00A0http://localhost:8080/base/\u3000 ");
}

TEST(OnboardingDescriptor, TheFirstFailingCheckDecidesTheHint) {
    const std::string channelHint = "Enter a channel to receive";
    const std::string tokenHint = "Paste a orvel_pub_ token";
    struct Case {
        const char* server;
        const char* channel;
        std::string token;
        std::string hint; // empty: ready
    };
    const Case cases[] = {
        // Absolute http and https URLs in lower case only; line breaks are not
        // trimmed.
        {"", "ch", token, serverHint},
        {"HTTPS://orvel.app", "ch", token, serverHint},
        {"https://orvel.example\n", "ch", token, serverHint},
        // Server URL before channel before token.
        {"https://orvel.app", " \t\u2003", "", channelHint},
        // The token needs the exact prefix and something after it.
        {"https://orvel.app", "ch", "orvel_pub_", tokenHint},
        {"https://orvel.app", "ch", "orvel_pub_ ", ""},
    };
    for (const Case& c : cases) {
        const OnboardingDescriptor form(c.server, c.channel, c.token);
        SCOPED_TRACE(std::string(c.server) + " | " + c.channel + " | " + c.token);
        EXPECT_EQ(form.canConnect, c.hint.empty());
        EXPECT_EQ(form.hint, c.hint.empty() ? "Ready to connect" : c.hint);
        EXPECT_EQ(form.normalizedBaseURL.has_value(), c.hint != serverHint);
    }
}

TEST(WebInbox, PairingLinksCarryTheCodeInTheFragment) {
    using OrvelKit::WebInbox::pairingURL;
    EXPECT_EQ(pairingURL(""), std::nullopt);
    EXPECT_EQ(pairingURL("a#b%c\"d<e>"), "https://orvel.app/app#pair=a%23b%25c%22d%3Ce%3E");
    // What a fragment may hold stays as it is.
    EXPECT_EQ(pairingURL("a/b?c=d&e:f@g;h\u00E9"),
              "https://orvel.app/app#pair=a/b?c=d&e:f@g;h%C3%A9");
    EXPECT_EQ(pairingURL("\xFF"), std::nullopt);
}
