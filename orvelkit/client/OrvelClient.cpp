#include "orvelkit/client/OrvelClient.h"

#include "orvelkit/client/ServicePaths.h"
#include "orvelkit/http/Curl.h"
#include "orvelkit/json/Json.h"
#include "orvelkit/protocol/RequestBodies.h"

#include <utility>

namespace OrvelKit {

using namespace OrvelProtocol;

OrvelClient::OrvelClient(std::string baseURL, std::shared_ptr<HTTPTransport> transport)
    : baseURL_(std::move(baseURL)), transport_(std::move(transport)) {}

Expected<std::string, OrvelError> OrvelClient::endpoint(std::string_view path) const {
    std::string_view base = baseURL_;
    while (!base.empty() && base.back() == '/') {
        base.remove_suffix(1);
    }
    std::string text;
    text.reserve(base.size() + 1 + path.size());
    text.append(base).append("/").append(path);
    auto url = Curl::parseURL(text);
    if (!url) {
        return unexpected(OrvelError::badURL());
    }
    return std::move(*url);
}

template <class Response>
ClientResult<Response> OrvelClient::decode(const HTTPResponse& response) {
    if (response.status != 200) {
        return unexpected(OrvelError::http(response.status));
    }
    // The transport leaves room after the body, so it is parsed where it lies.
    auto decoded = Json::decode<Response>(response.body, response.body.capacity());
    if (!decoded) {
        return unexpected(OrvelError::decoding(decoded.error().description()));
    }
    return std::move(decoded).value();
}

template <class Response, class Body>
Task<ClientResult<Response>> OrvelClient::post(OrvelClient self, std::string path,
                                               std::optional<std::string> token, Body body) {
    std::map<std::string, std::string> headers;
    headers.emplace("content-type", "application/json");
    if (token) {
        headers.emplace("Authorization", "Bearer " + *token);
    }
    auto encoded = Json::encode(body);
    if (!encoded) {
        co_return unexpected(std::move(encoded).error());
    }
    auto url = self.endpoint(path);
    if (!url) {
        co_return unexpected(url.error());
    }
    HTTPRequest request{std::move(url).value(), "POST", std::move(headers),
                        std::move(encoded).value()};
    auto response = co_await self.transport_->send(std::move(request));
    if (!response) {
        co_return unexpected(std::move(response).error());
    }
    co_return decode<Response>(*response);
}

template <class Response>
Task<ClientResult<Response>> OrvelClient::get(OrvelClient self, std::optional<std::string> path,
                                              std::string token) {
    if (!path) {
        co_return unexpected(OrvelError::badURL());
    }
    auto url = self.endpoint(*path);
    if (!url) {
        co_return unexpected(url.error());
    }
    HTTPRequest request{std::move(url).value(), "GET", {}, std::nullopt};
    request.headers.emplace("Authorization", "Bearer " + token);
    auto response = co_await self.transport_->send(std::move(request));
    if (!response) {
        co_return unexpected(std::move(response).error());
    }
    co_return decode<Response>(*response);
}

Task<ClientResult<bool>> OrvelClient::probe(OrvelClient self) {
    auto url = self.endpoint("healthz");
    if (!url) {
        co_return unexpected(url.error());
    }
    HTTPRequest request{std::move(url).value(), "GET", {}, std::nullopt};
    auto response = co_await self.transport_->send(std::move(request));
    if (!response) {
        co_return unexpected(std::move(response).error());
    }
    co_return response->status == 200;
}

Task<ClientResult<bool>> OrvelClient::health() const {
    return probe(*this);
}

Task<ClientResult<PullResponse>> OrvelClient::pull(std::string channel, std::string token,
                                                   std::uint64_t after) const {
    return get<PullResponse>(*this, pullPath(channel, after), std::move(token));
}

Task<ClientResult<DeviceCredentials>> OrvelClient::bootstrapDevice() const {
    return post<DeviceCredentials>(*this, "pair/bootstrap", std::nullopt, EmptyBody{});
}

Task<ClientResult<PairingCode>> OrvelClient::pairingCode(std::string deviceToken) const {
    return post<PairingCode>(*this, "pair/code", std::move(deviceToken), EmptyBody{});
}

Task<ClientResult<DeviceCredentials>> OrvelClient::redeem(std::string code) const {
    return post<DeviceCredentials>(*this, "pair/redeem", std::nullopt, RedeemBody{std::move(code)});
}

Task<ClientResult<Subscription>> OrvelClient::subscribe(std::string deviceToken,
                                                        std::string channel,
                                                        std::string publishToken) const {
    return post<Subscription>(*this, "subscribe", std::move(deviceToken),
                              SubscribeBody{std::move(channel), std::move(publishToken)});
}

Task<ClientResult<Engagement>> OrvelClient::engage(std::string deviceToken,
                                                   std::optional<std::string> sender) const {
    return post<Engagement>(*this, "engage", std::move(deviceToken), EngageBody{std::move(sender)});
}

Task<ClientResult<KeyRotation>> OrvelClient::rotateKey(std::string deviceToken, std::string channel,
                                                       std::uint8_t graceHours) const {
    return post<KeyRotation>(*this, "keys/rotate", std::move(deviceToken),
                             RotateKeyBody{std::move(channel), graceHours});
}

Task<ClientResult<RenameChannelAck>>
OrvelClient::renameChannel(std::string deviceToken, std::string channel, std::string name) const {
    return post<RenameChannelAck>(*this, "channels/rename", std::move(deviceToken),
                                  RenameChannelBody{std::move(channel), std::move(name)});
}

Task<ClientResult<RetireAck>> OrvelClient::retireChannel(std::string deviceToken,
                                                         std::string channel) const {
    return post<RetireAck>(*this, "channels/retire", std::move(deviceToken),
                           RetireChannelBody{std::move(channel)});
}

Task<ClientResult<SyncResponse>> OrvelClient::sync(std::string deviceToken, Cursors cursors,
                                                   Cursors cardCursors) const {
    return get<SyncResponse>(*this, syncPath(cursors, cardCursors), std::move(deviceToken));
}

Task<ClientResult<ReadAck>> OrvelClient::markRead(std::string deviceToken, std::string channel,
                                                  std::uint64_t seq) const {
    return post<ReadAck>(*this, "read", std::move(deviceToken), ReadBody{std::move(channel), seq});
}

Task<ClientResult<DismissAck>> OrvelClient::dismiss(std::string deviceToken, std::string channel,
                                                    std::uint64_t seq) const {
    return post<DismissAck>(*this, "dismiss", std::move(deviceToken),
                            DismissBody{std::move(channel), seq});
}

} // namespace OrvelKit
