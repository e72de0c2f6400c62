#include "orvelkit/http/CurlTransfer.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <string_view>

namespace OrvelKit {

namespace {

// Spare bytes kept after a received body (simdjson::SIMDJSON_PADDING; the
// transport does not depend on the parser).
constexpr std::size_t bodyPadding = 64;

// RFC 9110 token: the characters allowed in a method or a header name.
bool isToken(std::string_view text) {
    constexpr std::string_view extra = "!#$%&'*+-.^_`|~";
    return !text.empty() && std::all_of(text.begin(), text.end(), [&](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               extra.find(c) != std::string_view::npos;
    });
}

// A header value must not end the header line early.
bool isFieldValue(std::string_view text) {
    return text.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
               return lower(x) == lower(y);
           });
}

TransportError invalidRequest(std::string_view what) {
    return TransportError(CURLE_BAD_FUNCTION_ARGUMENT,
                          std::string(curl_easy_strerror(CURLE_BAD_FUNCTION_ARGUMENT)) + ": " +
                              std::string(what));
}

} // namespace

CurlTransfer::CurlTransfer(HTTPRequest request, Completion<TransportResult> completion)
    : request_(std::move(request)), completion_(std::move(completion)) {}

CurlTransfer::~CurlTransfer() {
    if (easy_) {
        curl_easy_cleanup(easy_);
    }
    curl_slist_free_all(headers_);
}

std::optional<TransportError> CurlTransfer::prepare(const CurlTransportOptions& options) {
    if (!isToken(request_.method)) {
        return invalidRequest("the method \"" + request_.method + "\" is not a valid token");
    }
    if (request_.url.find('\0') != std::string::npos) {
        return invalidRequest("the URL contains a NUL character");
    }
    easy_ = curl_easy_init();
    if (!easy_) {
        return TransportError(CURLE_OUT_OF_MEMORY, curl_easy_strerror(CURLE_OUT_OF_MEMORY));
    }

    CURLcode code = CURLE_OK;
    auto set = [&](CURLoption option, auto value) {
        if (code == CURLE_OK) {
            code = curl_easy_setopt(easy_, option, value);
        }
    };
    set(CURLOPT_ERRORBUFFER, errorBuffer_);
    set(CURLOPT_PRIVATE, static_cast<void*>(this));
    set(CURLOPT_URL, request_.url.c_str());
    set(CURLOPT_PROTOCOLS_STR, "http,https,file");
    set(CURLOPT_FOLLOWLOCATION, 0L);
    set(CURLOPT_PATH_AS_IS, 1L);
    set(CURLOPT_NOSIGNAL, 1L);
    set(CURLOPT_SSL_VERIFYPEER, 1L);
    set(CURLOPT_SSL_VERIFYHOST, 2L);
    set(CURLOPT_CONNECTTIMEOUT, static_cast<long>(options.connectTimeout.count()));
    set(CURLOPT_LOW_SPEED_LIMIT, 1L);
    set(CURLOPT_LOW_SPEED_TIME, static_cast<long>(options.idleTimeout.count()));
    set(CURLOPT_WRITEFUNCTION, &CurlTransfer::receive);
    set(CURLOPT_WRITEDATA, static_cast<void*>(this));

    const std::string& method = request_.method;
    if (request_.body) {
        set(CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(request_.body->size()));
        set(CURLOPT_POSTFIELDS, request_.body->data());
        if (method != "POST") {
            set(CURLOPT_CUSTOMREQUEST, method.c_str());
        }
    } else if (method == "GET") {
        set(CURLOPT_HTTPGET, 1L);
    } else if (method == "HEAD") {
        set(CURLOPT_NOBODY, 1L);
    } else {
        set(CURLOPT_CUSTOMREQUEST, method.c_str());
    }
    if (code != CURLE_OK) {
        return errorFor(code);
    }
    if (auto error = setHeaders()) {
        return error;
    }
    code = curl_easy_setopt(easy_, CURLOPT_HTTPHEADER, headers_);
    if (code != CURLE_OK) {
        return errorFor(code);
    }
    return std::nullopt;
}

std::optional<TransportError> CurlTransfer::setHeaders() {
    auto append = [&](const std::string& line) {
        curl_slist* extended = curl_slist_append(headers_, line.c_str());
        if (!extended) {
            return false;
        }
        headers_ = extended;
        return true;
    };
    for (const auto& [name, value] : request_.headers) {
        if (!isToken(name) || !isFieldValue(value)) {
            return invalidRequest("the header \"" + name + "\" cannot be sent as given");
        }
        // libcurl sends "Name;" as a header with an empty value.
        if (!append(value.empty() ? name + ";" : name + ": " + value)) {
            return TransportError(CURLE_OUT_OF_MEMORY, curl_easy_strerror(CURLE_OUT_OF_MEMORY));
        }
    }
    // "Name:" with nothing after it removes a header libcurl would add itself.
    static constexpr std::array<std::string_view, 3> defaults = {"Accept", "Expect",
                                                                 "Content-Type"};
    for (const auto name : defaults) {
        const bool given =
            std::any_of(request_.headers.begin(), request_.headers.end(),
                        [&](const auto& header) { return equalsIgnoringCase(header.first, name); });
        if (!given && !append(std::string(name) + ":")) {
            return TransportError(CURLE_OUT_OF_MEMORY, curl_easy_strerror(CURLE_OUT_OF_MEMORY));
        }
    }
    return std::nullopt;
}

std::size_t CurlTransfer::receive(char* data, std::size_t size, std::size_t count, void* self) {
    // The body keeps at least `bodyPadding` spare bytes after it, so that the
    // JSON parser (which reads ahead) can read it in place, without a copy.
    auto& transfer = *static_cast<CurlTransfer*>(self);
    std::string& body = transfer.received_;
    if (body.empty()) {
        // Sized once from the announced length: a body grown by doubling on
        // this thread would leave the smaller buffers as free memory in the
        // thread's own heap, which is never given back (tens of megabytes
        // for a first sync). A large buffer is mapped on its own and returns
        // to the system when freed. The length is the sender's word, so
        // only a bounded amount is reserved on it.
        constexpr curl_off_t mostReserved = curl_off_t{256} << 20;
        curl_off_t announced = -1;
        if (curl_easy_getinfo(transfer.easy_, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &announced) ==
                CURLE_OK &&
            announced > 0) {
            body.reserve(static_cast<std::size_t>(std::min(announced, mostReserved)) + bodyPadding);
        }
    }
    const std::size_t needed = body.size() + size * count + bodyPadding;
    if (needed > body.capacity()) {
        body.reserve(std::max(needed, 2 * body.capacity()));
    }
    body.append(data, size * count);
    return size * count;
}

TransportError CurlTransfer::errorFor(CURLcode code) const {
    std::string text = curl_easy_strerror(code);
    std::string_view detail(errorBuffer_);
    while (!detail.empty() && (detail.back() == '\n' || detail.back() == '\r')) {
        detail.remove_suffix(1);
    }
    if (!detail.empty() && detail != text) {
        text += ": ";
        text += detail;
    }
    return TransportError(code, std::move(text));
}

void CurlTransfer::finish(CURLcode result) {
    if (result != CURLE_OK) {
        completion_(unexpected(errorFor(result)));
        return;
    }
    long status = 0;
    if (curl_easy_getinfo(easy_, CURLINFO_RESPONSE_CODE, &status) != CURLE_OK) {
        status = 0;
    }
    completion_(HTTPResponse{static_cast<int>(status), std::move(received_)});
}

void CurlTransfer::fail(TransportError error) {
    completion_(unexpected(std::move(error)));
}

} // namespace OrvelKit
