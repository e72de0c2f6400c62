#include "orvelkit/http/Curl.h"

#include <curl/curl.h>

#include <memory>
#include <mutex>

namespace OrvelKit::Curl {

void ensureInitialized() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

std::optional<std::string> parseURL(std::string_view text) {
    ensureInitialized();
    std::unique_ptr<CURLU, decltype(&curl_url_cleanup)> url(curl_url(), &curl_url_cleanup);
    if (!url) {
        return std::nullopt;
    }
    if (text.find('\0') != std::string_view::npos) {
        return std::nullopt;
    }
    const std::string copy(text);
    if (curl_url_set(url.get(), CURLUPART_URL, copy.c_str(), CURLU_PATH_AS_IS) != CURLUE_OK) {
        return std::nullopt;
    }
    char* parsed = nullptr;
    if (curl_url_get(url.get(), CURLUPART_URL, &parsed, 0) != CURLUE_OK || !parsed) {
        return std::nullopt;
    }
    std::string result(parsed);
    curl_free(parsed);
    return result;
}

} // namespace OrvelKit::Curl
