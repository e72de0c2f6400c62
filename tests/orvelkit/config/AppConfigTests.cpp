#include "orvelkit/config/AppConfig.h"

#include <gtest/gtest.h>

namespace OrvelKit {
namespace {

ChannelConfig channel(std::string id, std::string token) {
    return ChannelConfig{std::move(id), std::move(token), std::nullopt};
}

TEST(AppConfig, DefaultsAndServiceAddressesComeFromOnePlace) {
    const AppConfig config = AppConfig::defaultConfiguration();
    EXPECT_EQ(config, AppConfig{});
    EXPECT_EQ(config.serverURL, "https://orvel.app");
    EXPECT_TRUE(config.channels.empty());
    EXPECT_FALSE(config.deviceToken);
    EXPECT_FALSE(config.accountId);
    EXPECT_FALSE(config.isPaired());
    EXPECT_EQ(ServiceAddresses::webApp(), "https://orvel.app/app");
    EXPECT_EQ(ServiceAddresses::agentEndpoint(), "https://orvel.app/mcp");
    EXPECT_EQ(ServiceAddresses::agentGuidance(), "https://orvel.app/llms.txt");
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
    EXPECT_FALSE(config.isPaired());
    config.deviceToken = "";
    EXPECT_FALSE(config.isPaired());
    config.deviceToken = "dev_1";
    EXPECT_TRUE(config.isPaired());
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
