#pragma once

// How the development service refuses a request: an HTTP status and a short
// message for the {"error": "..."} body. Messages never carry tokens.

#include "orvelkit/support/Expected.h"

#include <cstdint>
#include <optional>
#include <string>

namespace OrvelDev {

struct ServiceError {
    int status = 400;
    std::string message;
    // For 429: when the client may try again, sent as Retry-After.
    std::optional<std::uint64_t> retryAfterSeconds;

    static ServiceError badRequest(std::string message) {
        return {400, std::move(message), std::nullopt};
    }
    static ServiceError unauthorized(std::string message) {
        return {401, std::move(message), std::nullopt};
    }
    static ServiceError forbidden(std::string message) {
        return {403, std::move(message), std::nullopt};
    }
    static ServiceError notFound(std::string message) {
        return {404, std::move(message), std::nullopt};
    }
    static ServiceError gone(std::string message) {
        return {410, std::move(message), std::nullopt};
    }
    static ServiceError tooManyRequests(std::string message, std::uint64_t retryAfterSeconds) {
        return {429, std::move(message), retryAfterSeconds};
    }
    static ServiceError unavailable(std::string message) {
        return {503, std::move(message), std::nullopt};
    }

    bool operator==(const ServiceError&) const = default;
};

template <class T>
using ServiceResult = OrvelKit::Expected<T, ServiceError>;

} // namespace OrvelDev
