#include "orvelkit/config/AppConfig.h"

#include <curl/curl.h>

#include <algorithm>
#include <memory>

namespace OrvelKit {

void AppConfig::addOrUpdate(ChannelConfig channel) {
    auto existing = std::find_if(channels.begin(), channels.end(), [&](const ChannelConfig& entry) {
        return entry.channel == channel.channel;
    });
    if (existing != channels.end()) {
        *existing = std::move(channel);
    } else {
        channels.push_back(std::move(channel));
    }
}

std::optional<std::string> AppConfig::baseURL() const {
    std::unique_ptr<CURLU, decltype(&curl_url_cleanup)> url(curl_url(), &curl_url_cleanup);
    if (!url || curl_url_set(url.get(), CURLUPART_URL, serverURL.c_str(), 0) != CURLUE_OK) {
        return std::nullopt;
    }
    return serverURL;
}

} // namespace OrvelKit
