#include "orvelkit/config/AppConfig.h"

#include <gtest/gtest.h>

namespace OrvelKit {
namespace {

ChannelConfig channel(std::string id, std::string token) {
    return ChannelConfig{std::move(id), std::move(token), std::nullopt};
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
    EXPECT_EQ(config.channels.size(), 4u);
}

TEST(AppConfig, PairingNeedsANonEmptyDeviceTokenAndTheBaseURLMustParse) {
    AppConfig config = AppConfig::defaultConfiguration();
    EXPECT_EQ(config.baseURL(), config.serverURL);
    config.deviceToken = "";
    EXPECT_FALSE(config.isPaired());
    for (const char* unusable : {"https://orvel app", "", "://nothing"}) {
        config.serverURL = unusable;
        EXPECT_EQ(config.baseURL(), std::nullopt) << unusable;
    }
}

} // namespace
} // namespace OrvelKit
