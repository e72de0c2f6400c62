#include "orvelkit/presentation/OnboardingDescriptor.h"
#include "orvelkit/presentation/WebInbox.h"

#include <gtest/gtest.h>

#include <string>

using OrvelKit::OnboardingDescriptor;

namespace {

const std::string token = "orvel_pub_abc123";
const std::string serverHint = "Enter a server URL (https://orvel.app)";

} // namespace

TEST(OnboardingDescriptor, ReadyWhenAllThreeInputsAreUsable) {
    const OnboardingDescriptor form("https://orvel.example", "ch_1", token);
    EXPECT_TRUE(form.canConnect);
    EXPECT_EQ(form.hint, "Ready to connect");
    EXPECT_EQ(form.normalizedBaseURL, "https://orvel.example");
    EXPECT_EQ(form.serverURL, "https://orvel.example");
    EXPECT_EQ(form.channel, "ch_1");
    EXPECT_EQ(form.token, token);
}

TEST(OnboardingDescriptor, TrimsOnlyHorizontalWhiteSpaceFromTheServerURL) {
    const OnboardingDescriptor padded(" \t\u00A0http://localhost:8080/base/\u3000 ", "ch", token);
    EXPECT_TRUE(padded.canConnect);
    // No slash added or removed; the entered text is kept as it was.
    EXPECT_EQ(padded.normalizedBaseURL, "http://localhost:8080/base/");
    EXPECT_EQ(padded.serverURL, " \t\u00A0http://localhost:8080/base/\u3000 ");

    for (const char* text :
         {"https://orvel.example\n", "\nhttps://orvel.example", "https://orvel.example\r"}) {
        const OnboardingDescriptor form(text, "ch", token);
        EXPECT_EQ(form.normalizedBaseURL, std::nullopt) << text;
        EXPECT_FALSE(form.canConnect);
        EXPECT_EQ(form.hint, serverHint);
    }
}

TEST(OnboardingDescriptor, AcceptsOnlyAbsoluteHttpAndHttpsURLsInLowerCase) {
    for (const char* text : {"", "   ", "orvel.app", "HTTPS://orvel.app", "Http://orvel.app",
                             "ftp://orvel.app", "file:///tmp/x", "https://", "https:// orvel.app",
                             "https://orvel app", "mailto:me@orvel.app", "https:orvel.app"}) {
        const OnboardingDescriptor form(text, "ch", token);
        EXPECT_EQ(form.normalizedBaseURL, std::nullopt) << text;
        EXPECT_EQ(form.hint, serverHint) << text;
    }
    EXPECT_TRUE(OnboardingDescriptor("https://[::1]:8443", "ch", token).canConnect);
}

TEST(OnboardingDescriptor, TheFirstFailingCheckDecidesTheHint) {
    // Server URL before channel before token.
    EXPECT_EQ(OnboardingDescriptor("nope", "", "").hint, serverHint);
    EXPECT_EQ(OnboardingDescriptor("https://orvel.app", " \t\u2003", "").hint,
              "Enter a channel to receive");
    EXPECT_EQ(OnboardingDescriptor("https://orvel.app", "ch", "").hint, "Paste a orvel_pub_ token");
    // Line breaks are not trimmed from the channel.
    EXPECT_TRUE(OnboardingDescriptor("https://orvel.app", "\n", token).canConnect);
}

TEST(OnboardingDescriptor, TheTokenNeedsThePrefixAndSomethingAfterIt) {
    const auto acceptable = [](const std::string& candidate) {
        return OnboardingDescriptor("https://orvel.app", "ch", candidate).canConnect;
    };
    EXPECT_FALSE(acceptable("orvel_pub_"));
    EXPECT_TRUE(acceptable("orvel_pub_x"));
    EXPECT_FALSE(acceptable(" orvel_pub_x"));
    EXPECT_FALSE(acceptable("ORVEL_PUB_x"));
    EXPECT_FALSE(acceptable("orvel_pubx"));
    EXPECT_FALSE(acceptable("xorvel_pub_x"));
    EXPECT_TRUE(acceptable("orvel_pub_ "));
}

TEST(WebInbox, PairingLinksCarryTheCodeInTheFragment) {
    using OrvelKit::WebInbox::pairingURL;
    EXPECT_EQ(pairingURL("AB12CD"), "https://orvel.app/app#pair=AB12CD");
    EXPECT_EQ(pairingURL(""), std::nullopt);
    EXPECT_EQ(pairingURL("AB CD"), "https://orvel.app/app#pair=AB%20CD");
    EXPECT_EQ(pairingURL("a#b%c\"d<e>"), "https://orvel.app/app#pair=a%23b%25c%22d%3Ce%3E");
    // What a fragment may hold stays as it is.
    EXPECT_EQ(pairingURL("a/b?c=d&e:f@g;h"), "https://orvel.app/app#pair=a/b?c=d&e:f@g;h");
    EXPECT_EQ(pairingURL("\u00E9"), "https://orvel.app/app#pair=%C3%A9");
    EXPECT_EQ(pairingURL("\xFF"), std::nullopt);
}
