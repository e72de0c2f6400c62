#pragma once

#include "orvelkit/config/ChannelConfig.h"
#include "orvelkit/config/ServiceAddresses.h"
#include "orvelkit/json/Schema.h"

#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

namespace OrvelKit {

// Who this desktop is to the service and which channels it publishes to.
// Stored as given: nothing here trims, normalises or sorts.
struct AppConfig {
    // The public service, used when nothing else is configured.
    static constexpr std::string_view defaultServer = ServiceAddresses::origin;

    // Base URL of the service, as text.
    std::string serverURL{defaultServer};
    // Channels this device created, in the order they were added.
    std::vector<ChannelConfig> channels;
    // The device credential from pairing; absent until the desktop is paired.
    std::optional<std::string> deviceToken;
    // The account the device belongs to; absent until paired.
    std::optional<std::string> accountId;

    // The configuration used when nothing has been stored (also what `AppConfig{}` is).
    static AppConfig defaultConfiguration() { return AppConfig{}; }

    // Replaces the first entry for the same channel in place, or appends.
    void addOrUpdate(ChannelConfig channel);

    // A device token is present and not empty.
    bool isPaired() const { return deviceToken.has_value() && !deviceToken->empty(); }

    // `serverURL` unchanged when it parses as an absolute URL, otherwise nothing.
    std::optional<std::string> baseURL() const;

    bool operator==(const AppConfig&) const = default;
};

inline auto jsonSchema(std::type_identity<AppConfig>) {
    using namespace Json;
    return std::tuple{requiredKey("serverURL", &AppConfig::serverURL),
                      requiredKey("channels", &AppConfig::channels),
                      optionalKey("deviceToken", &AppConfig::deviceToken),
                      optionalKey("accountId", &AppConfig::accountId)};
}

} // namespace OrvelKit
