#pragma once

// How the development service refuses a request: an HTTP status and a short
// message for the {"error": "..."} body. Messages never carry tokens.

#include "orvelkit/support/Expected.h"

#include <string>

namespace OrvelDev {

struct ServiceError {
    int status = 400;
    std::string message;

    static ServiceError badRequest(std::string message) { return {400, std::move(message)}; }
    static ServiceError unauthorized(std::string message) { return {401, std::move(message)}; }
    static ServiceError forbidden(std::string message) { return {403, std::move(message)}; }
    static ServiceError notFound(std::string message) { return {404, std::move(message)}; }
    static ServiceError gone(std::string message) { return {410, std::move(message)}; }

    bool operator==(const ServiceError&) const = default;
};

template <class T>
using ServiceResult = OrvelKit::Expected<T, ServiceError>;

} // namespace OrvelDev
