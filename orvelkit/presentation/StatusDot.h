#pragma once

// The status of an update as every screen shows it, and the section of the
// inbox it belongs to.

#include "orvelkit/json/Enumeration.h"
#include "orvelkit/protocol/Enumerations.h"

#include <array>
#include <string_view>
#include <utility>

namespace OrvelKit {

// One per recognised status text of an update; anything else shows as `info`.
enum class StatusDot { need, running, done, failed, info, idle };

// Whether the dot is drawn with a pulse: something is waiting or under way.
constexpr bool pulses(StatusDot dot) {
    return dot == StatusDot::need || dot == StatusDot::running;
}

// The dot of a recognised status, case for case.
constexpr StatusDot statusDot(OrvelProtocol::Status status) {
    switch (status) {
    case OrvelProtocol::Status::need:
        return StatusDot::need;
    case OrvelProtocol::Status::running:
        return StatusDot::running;
    case OrvelProtocol::Status::done:
        return StatusDot::done;
    case OrvelProtocol::Status::failed:
        return StatusDot::failed;
    case OrvelProtocol::Status::info:
        return StatusDot::info;
    case OrvelProtocol::Status::idle:
        return StatusDot::idle;
    }
    return StatusDot::info;
}

// Where a row goes: updates that ask for a decision, and everything else.
enum class InboxSection { needsYou, away };

} // namespace OrvelKit

namespace OrvelKit::Json {

template <>
struct EnumTraits<OrvelKit::StatusDot> {
    using E = OrvelKit::StatusDot;
    static constexpr std::array cases{std::pair{E::need, std::string_view("need")},
                                      std::pair{E::running, std::string_view("running")},
                                      std::pair{E::done, std::string_view("done")},
                                      std::pair{E::failed, std::string_view("failed")},
                                      std::pair{E::info, std::string_view("info")},
                                      std::pair{E::idle, std::string_view("idle")}};
};

template <>
struct EnumTraits<OrvelKit::InboxSection> {
    using E = OrvelKit::InboxSection;
    static constexpr std::array cases{std::pair{E::needsYou, std::string_view("needsYou")},
                                      std::pair{E::away, std::string_view("away")}};
};

} // namespace OrvelKit::Json
