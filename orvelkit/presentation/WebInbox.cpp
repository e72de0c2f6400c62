#include "orvelkit/presentation/WebInbox.h"

#include "orvelkit/client/PercentEncoding.h"
#include "orvelkit/config/ServiceAddresses.h"
#include "orvelkit/http/Curl.h"

namespace OrvelKit::WebInbox {

std::optional<std::string> pairingURL(std::string_view code) {
    if (code.empty()) {
        return std::nullopt;
    }
    // A fragment may hold what a query may: the path characters plus ";" and "?".
    const std::optional<std::string> encoded = percentEncode(code, URLCharacters::query);
    if (!encoded) {
        return std::nullopt;
    }
    // The public service's web app: the pairing page is served there only.
    std::string url = ServiceAddresses().webApp() + "#pair=" + *encoded;
    if (!Curl::parseURL(url)) {
        return std::nullopt;
    }
    return url;
}

} // namespace OrvelKit::WebInbox
