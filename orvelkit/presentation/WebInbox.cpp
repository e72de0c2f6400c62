#include "orvelkit/presentation/WebInbox.h"

#include "orvelkit/client/PercentEncoding.h"
#include "orvelkit/config/ServiceAddresses.h"
#include "orvelkit/http/Curl.h"

namespace OrvelKit::WebInbox {

std::optional<std::string> pairingURL(std::string_view code) {
    return pairingURL(code, ServiceAddresses::origin);
}

std::optional<std::string> pairingURL(std::string_view code, std::string_view serverURL) {
    if (code.empty()) {
        return std::nullopt;
    }
    // A fragment may hold what a query may: the path characters plus ";" and "?".
    const std::optional<std::string> encoded = percentEncode(code, URLCharacters::query);
    if (!encoded) {
        return std::nullopt;
    }
    std::string url = ServiceAddresses(serverURL).webApp() + "#pair=" + *encoded;
    if (!Curl::parseURL(url)) {
        return std::nullopt;
    }
    return url;
}

} // namespace OrvelKit::WebInbox
