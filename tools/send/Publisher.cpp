#include "tools/send/Publisher.h"

#include "tools/devserver/ServiceRecords.h"

#include <curl/curl.h>

#include <memory>

namespace OrvelSend {

using OrvelKit::unexpected;

namespace {

constexpr long timeoutSeconds = 60;
constexpr long connectTimeoutSeconds = 10;

struct Answer {
    long status = 0;
    std::string body;
};

std::size_t collect(char* data, std::size_t size, std::size_t count, void* target) {
    static_cast<std::string*>(target)->append(data, size * count);
    return size * count;
}

OrvelKit::Expected<Answer, std::string> post(const std::string& url, const std::string& token,
                                             const std::string& body) {
    static const bool initialised = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    if (!initialised) {
        return unexpected(std::string("cannot initialise libcurl"));
    }
    const std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> curl(curl_easy_init(),
                                                                   curl_easy_cleanup);
    if (!curl) {
        return unexpected(std::string("cannot initialise libcurl"));
    }
    curl_slist* rawHeaders = nullptr;
    const std::string authorization = "Authorization: Bearer " + token;
    rawHeaders = curl_slist_append(rawHeaders, "content-type: application/json");
    rawHeaders = curl_slist_append(rawHeaders, authorization.c_str());
    const std::unique_ptr<curl_slist, decltype(&curl_slist_free_all)> headers(rawHeaders,
                                                                              curl_slist_free_all);
    Answer answer;
    char errorText[CURL_ERROR_SIZE] = {};
    CURL* handle = curl.get();
    curl_easy_setopt(handle, CURLOPT_URL, url.c_str());
    curl_easy_setopt(handle, CURLOPT_HTTPHEADER, headers.get());
    curl_easy_setopt(handle, CURLOPT_POSTFIELDS, body.data());
    curl_easy_setopt(handle, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
    curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, collect);
    curl_easy_setopt(handle, CURLOPT_WRITEDATA, &answer.body);
    curl_easy_setopt(handle, CURLOPT_ERRORBUFFER, errorText);
    curl_easy_setopt(handle, CURLOPT_TIMEOUT, timeoutSeconds);
    curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT, connectTimeoutSeconds);
    curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(handle, CURLOPT_PROTOCOLS_STR, "http,https");
    const CURLcode code = curl_easy_perform(handle);
    if (code != CURLE_OK) {
        return unexpected("cannot reach " + url + ": " +
                          (errorText[0] != '\0' ? errorText : curl_easy_strerror(code)));
    }
    curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &answer.status);
    return answer;
}

std::string endpoint(std::string base, std::string_view path) {
    while (base.ends_with('/')) {
        base.pop_back();
    }
    return base + "/" + std::string(path);
}

std::string refusal(const Answer& answer) {
    std::string line = "the service answered " + std::to_string(answer.status);
    if (auto error = OrvelKit::Json::decode<OrvelDev::ErrorAnswer>(answer.body)) {
        line += ": " + error->error;
    }
    return line;
}

template <class Ack>
OrvelKit::Expected<Ack, std::string> send(const SendCommand& command, std::string_view path,
                                          const auto& input) {
    auto body = OrvelKit::Json::encode(input);
    if (!body) {
        return unexpected("cannot encode the request: " + body.error().description());
    }
    auto answer = post(endpoint(command.server, path), command.token, *body);
    if (!answer) {
        return unexpected(answer.error());
    }
    if (answer->status != 200) {
        return unexpected(refusal(*answer));
    }
    auto ack = OrvelKit::Json::decode<Ack>(answer->body);
    if (!ack) {
        return unexpected("unexpected answer from the service: " + ack.error().description());
    }
    return std::move(*ack);
}

} // namespace

OrvelKit::Expected<std::string, std::string> publish(const SendCommand& command) {
    if (const auto* input = std::get_if<OrvelProtocol::NotificationInput>(&command.payload)) {
        auto ack = send<OrvelDev::PublishAck>(command, "publish", *input);
        if (!ack) {
            return unexpected(ack.error());
        }
        return "id=" + ack->id + " seq=" + std::to_string(ack->seq) + " channel=" + ack->channel +
               " created_at=" + ack->createdAt;
    }
    const auto& card = std::get<OrvelProtocol::PersistentCardUpdateInput>(command.payload);
    auto ack = send<OrvelDev::CardPublishAck>(command, "cards/publish", card);
    if (!ack) {
        return unexpected(ack.error());
    }
    return "id=" + ack->id + " card_seq=" + std::to_string(ack->cardSeq) +
           " channel=" + ack->channel + " created_at=" + ack->createdAt;
}

} // namespace OrvelSend
