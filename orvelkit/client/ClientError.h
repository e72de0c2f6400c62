#pragma once

// Everything a service operation can fail with: the client's own OrvelError,
// the transport's failure passed up unchanged, or the failure to encode a
// request body.

#include "orvelkit/client/OrvelError.h"
#include "orvelkit/http/TransportError.h"
#include "orvelkit/json/JsonError.h"

#include <ostream>
#include <string>
#include <variant>

namespace OrvelKit {

class ClientError {
public:
    ClientError(OrvelError error) : error_(std::move(error)) {}
    ClientError(TransportError error) : error_(std::move(error)) {}
    ClientError(Json::EncodeError error) : error_(std::move(error)) {}

    // The one that holds, or null.
    const OrvelError* orvelError() const { return std::get_if<OrvelError>(&error_); }
    const TransportError* transportError() const { return std::get_if<TransportError>(&error_); }
    const Json::EncodeError* encodeError() const { return std::get_if<Json::EncodeError>(&error_); }

    // OrvelError's own form (http(status: 401)); the readable description of
    // the others.
    std::string description() const;

    bool operator==(const ClientError&) const = default;

private:
    std::variant<OrvelError, TransportError, Json::EncodeError> error_;
};

inline std::ostream& operator<<(std::ostream& out, const ClientError& error) {
    return out << error.description();
}

} // namespace OrvelKit
