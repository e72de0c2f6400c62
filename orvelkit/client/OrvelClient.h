#pragma once

// The Orvel service client: one asynchronous operation per service endpoint,
// each exactly one HTTP exchange through the transport. The client keeps no
// state between calls and never retries; copies share only the transport.
//
// Every operation's task holds its own copy of the client, so a task may
// outlive the client it came from. Operations fail with ClientError values:
// OrvelError (http, decoding, badURL), the transport's failure unchanged, or
// the encoder's failure.

#include "orvelkit/async/Task.h"
#include "orvelkit/client/ClientError.h"
#include "orvelkit/client/OrvelError.h"
#include "orvelkit/http/HTTPTransport.h"
#include "orvelkit/protocol/ChannelRecords.h"
#include "orvelkit/protocol/DeviceRecords.h"
#include "orvelkit/protocol/SyncResponse.h"
#include "orvelkit/support/Expected.h"

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace OrvelKit {

template <class T>
using ClientResult = Expected<T, ClientError>;

class OrvelClient {
public:
    using Cursors = std::map<std::string, std::uint64_t>;

    OrvelClient(std::string baseURL, std::shared_ptr<HTTPTransport> transport);

    const std::string& baseURL() const { return baseURL_; }
    const std::shared_ptr<HTTPTransport>& transport() const { return transport_; }

    // The base URL without its trailing slashes, "/", then `path` (already
    // encoded, no leading slash, may carry a query); badURL when that does not
    // parse as a URL.
    Expected<std::string, OrvelError> endpoint(std::string_view path) const;

    // GET "healthz" with no headers: true for status 200, false for any other
    // status. An unreachable server is a failure, not false.
    Task<ClientResult<bool>> health() const;

    Task<ClientResult<OrvelProtocol::PullResponse>> pull(std::string channel, std::string token,
                                                         std::uint64_t after) const;
    Task<ClientResult<OrvelProtocol::DeviceCredentials>> bootstrapDevice() const;
    Task<ClientResult<OrvelProtocol::PairingCode>> pairingCode(std::string deviceToken) const;
    Task<ClientResult<OrvelProtocol::DeviceCredentials>> redeem(std::string code) const;
    Task<ClientResult<OrvelProtocol::Subscription>>
    subscribe(std::string deviceToken, std::string channel, std::string publishToken) const;
    Task<ClientResult<OrvelProtocol::Engagement>> engage(std::string deviceToken,
                                                         std::optional<std::string> sender) const;
    Task<ClientResult<OrvelProtocol::KeyRotation>>
    rotateKey(std::string deviceToken, std::string channel, std::uint8_t graceHours) const;
    Task<ClientResult<OrvelProtocol::RenameChannelAck>>
    renameChannel(std::string deviceToken, std::string channel, std::string name) const;
    Task<ClientResult<OrvelProtocol::RetireAck>> retireChannel(std::string deviceToken,
                                                               std::string channel) const;
    // `cursors` / `cardCursors`: per channel, the last update / card update
    // already held.
    Task<ClientResult<OrvelProtocol::SyncResponse>> sync(std::string deviceToken, Cursors cursors,
                                                         Cursors cardCursors) const;
    Task<ClientResult<OrvelProtocol::ReadAck>>
    markRead(std::string deviceToken, std::string channel, std::uint64_t seq) const;
    Task<ClientResult<OrvelProtocol::DismissAck>>
    dismiss(std::string deviceToken, std::string channel, std::uint64_t seq) const;

private:
    // POST `body` as JSON ("content-type: application/json", plus
    // "Authorization: Bearer <token>" when a token is given) and decode the
    // answer.
    template <class Response, class Body>
    static Task<ClientResult<Response>> post(OrvelClient self, std::string path,
                                             std::optional<std::string> token, Body body);

    // GET with only "Authorization: Bearer <token>" and decode the answer.
    template <class Response>
    static Task<ClientResult<Response>> get(OrvelClient self, std::optional<std::string> path,
                                            std::string token);

    // Status exactly 200 and a body that decodes into Response.
    template <class Response>
    static ClientResult<Response> decode(const HTTPResponse& response);

    static Task<ClientResult<bool>> probe(OrvelClient self);

    std::string baseURL_;
    std::shared_ptr<HTTPTransport> transport_;
};

} // namespace OrvelKit
