#include "orvelkit/config/AppConfig.h"

#include <gtest/gtest.h>

namespace OrvelKit {
namespace {

ChannelConfig channel(std::string id, std::string token) {
    return ChannelConfig{std::move(id), std::move(token), std::nullopt};
}

TEST(AppConfig, TheDefaultIsUnpairedAndItsServiceParses) {
    const AppConfig config = AppConfig::defaultConfiguration();
    EXPECT_EQ(config, AppConfig{});
    EXPECT_FALSE(config.isPaired());
    EXPECT_EQ(config.baseURL(), config.serverURL);
}

TEST(AppConfig, AddOrUpdateReplacesTheFirstMatchInPlaceOrAppends) {
    AppConfig config{"https://a.example",
                     {channel("a", "1"), channel("b", "2"), channel("a", "3")},
                     std::nullopt,
                     std::nullopt};
    config.addOrUpdate(ChannelConfig{"a", "new", "2025-01-01T00:00:00Z"});
    EXPECT_EQ(config.channels, (std::vector{ChannelConfig{"a", "new", "2025-01-01T00:00:00Z"},
                                            channel("b", "2"), channel("a", "3")}));
    config.addOrUpdate(channel("A", "4")); // comparison is case-sensitive
    ASSERT_EQ(config.channels.size(), 4u);
    EXPECT_EQ(config.channels.back(), channel("A", "4"));
}

TEST(AppConfig, PairingNeedsANonEmptyDeviceToken) {
    AppConfig config;
    config.accountId = "acct";
    for (const auto& [token, paired] :
         {std::pair<std::optional<std::string>, bool>{{}, false}, {"", false}, {"dev_1", true}}) {
        config.deviceToken = token;
        EXPECT_EQ(config.isPaired(), paired) << token.value_or("(none)");
    }
}

TEST(AppConfig, BaseURLIsTheTextUnchangedWhenItParses) {
    auto baseURL = [](std::string text) {
        AppConfig config;
        config.serverURL = std::move(text);
        return config.baseURL();
    };
    EXPECT_EQ(baseURL("https://orvel.app/"), "https://orvel.app/");
    EXPECT_EQ(baseURL("http://localhost:8080/base"), "http://localhost:8080/base");
    EXPECT_EQ(baseURL("https://orvel app"), std::nullopt);
    EXPECT_EQ(baseURL(""), std::nullopt);
    EXPECT_EQ(baseURL("://nothing"), std::nullopt);
}

} // namespace
} // namespace OrvelKit
