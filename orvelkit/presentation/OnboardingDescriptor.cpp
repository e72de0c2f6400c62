#include "orvelkit/presentation/OnboardingDescriptor.h"

#include "orvelkit/config/AppConfig.h"
#include "orvelkit/http/Curl.h"
#include "orvelkit/presentation/TextTrimming.h"

#include <string_view>
#include <utility>

namespace OrvelKit {

namespace {

constexpr std::string_view tokenPrefix = "orvel_pub_";

// The URL when it parses and its scheme is "https" or "http", in exactly that
// letter case.
std::optional<std::string> usableBaseURL(std::string_view text) {
    const std::size_t colon = text.find(':');
    if (colon == std::string_view::npos) {
        return std::nullopt;
    }
    const std::string_view scheme = text.substr(0, colon);
    if (scheme != "https" && scheme != "http") {
        return std::nullopt;
    }
    if (!Curl::parseURL(text)) {
        return std::nullopt;
    }
    return std::string(text);
}

} // namespace

OnboardingDescriptor::OnboardingDescriptor(std::string serverURL, std::string channel,
                                           std::string token)
    : serverURL(std::move(serverURL)), channel(std::move(channel)), token(std::move(token)) {
    normalizedBaseURL = usableBaseURL(trimmingHorizontalWhitespace(this->serverURL));
    const bool hasChannel = !trimmingHorizontalWhitespace(this->channel).empty();
    const bool hasToken =
        this->token.size() > tokenPrefix.size() && this->token.starts_with(tokenPrefix);
    if (!normalizedBaseURL) {
        hint = "Enter a server URL (" + std::string(AppConfig::defaultServer) + ")";
    } else if (!hasChannel) {
        hint = "Enter a channel to receive";
    } else if (!hasToken) {
        hint = "Paste a orvel_pub_ token";
    } else {
        canConnect = true;
        hint = "Ready to connect";
    }
}

} // namespace OrvelKit
