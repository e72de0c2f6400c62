#pragma once

// A fault the development service can be told to inject into its answers,
// for testing how a client copes with a service that misbehaves. Faults are
// set per endpoint (the request path, "/sync", "/dismiss", ...; "*" for every
// endpoint) through DevServer::faults() or the --fault option of
// orvel-devserver.
//
// Rule form (the --fault option): ENDPOINT=KIND[:VALUE][*TIMES]
//   /sync=status:503          answer 503 without calling the service
//   /sync=malformed           a 200 whose body is not JSON
//   /sync=truncated           a 200 carrying the first half of the real body
//   /sync=invalid-notification
//                             the real answer with one notification made
//                             invalid (a negative "seq")
//   /sync=delay:1500          the real answer, sent 1500 ms late
//   /sync=close-mid-body      the real answer's headers and half its body,
//                             then the connection is closed
//   /dismiss=status:500*2     only the next two requests
// Every fault but "status" lets the service carry out the request first, so
// its effects stand even though the client never sees a usable answer.

#include "orvelkit/support/Expected.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace OrvelDev {

enum class FaultKind {
    status,
    malformedBody,
    truncatedBody,
    invalidNotification,
    delay,
    closeMidBody
};

struct Fault {
    FaultKind kind = FaultKind::status;
    int status = 200;                   // for FaultKind::status
    std::chrono::milliseconds delay{0}; // for FaultKind::delay
    // How many requests it still applies to; absent: until it is cleared.
    std::optional<std::uint64_t> times;

    static Fault withStatus(int status) { return {FaultKind::status, status, {}, {}}; }
    static Fault malformedBody() { return {FaultKind::malformedBody, 200, {}, {}}; }
    static Fault truncatedBody() { return {FaultKind::truncatedBody, 200, {}, {}}; }
    static Fault invalidNotification() { return {FaultKind::invalidNotification, 200, {}, {}}; }
    static Fault delayed(std::chrono::milliseconds delay) {
        return {FaultKind::delay, 200, delay, {}};
    }
    static Fault closeMidBody() { return {FaultKind::closeMidBody, 200, {}, {}}; }

    // The same fault for the next `count` requests only.
    Fault only(std::uint64_t count) const {
        Fault limited = *this;
        limited.times = count;
        return limited;
    }

    bool operator==(const Fault&) const = default;
};

// The rule form without the endpoint: "status:503", "delay:1500*1", ...
std::string describeFault(const Fault& fault);

// Reads "ENDPOINT=KIND[:VALUE][*TIMES]" into the endpoint and the fault.
OrvelKit::Expected<std::pair<std::string, Fault>, std::string>
parseFaultRule(std::string_view rule);

// The bodies that the faults send instead of the real one.
namespace FaultBodies {
// Not JSON at all: what a proxy in the way might answer.
std::string malformed();
// The first half of `body`.
std::string truncated(std::string_view body);
// `body` (a sync or pull answer) with the middle one of all its notifications
// given "seq": -1, or an empty notification added to the first channel when
// there are none; any other body unchanged.
std::string withInvalidNotification(std::string_view body);
} // namespace FaultBodies

} // namespace OrvelDev
