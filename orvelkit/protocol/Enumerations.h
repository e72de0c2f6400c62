#pragma once

// The enumerations of the wire protocol. Each travels as one of its texts.

#include "orvelkit/json/Enumeration.h"

#include <array>
#include <string_view>
#include <utility>

namespace OrvelProtocol {

using OrvelKit::Json::allCases;
using OrvelKit::Json::fromText;
using OrvelKit::Json::text;

// A plain message or a card.
enum class Kind { message, card };

// How much an update matters.
enum class Urgency { low, normal, high, critical };

enum class AttachmentKind { image };

// The recognised texts of a notification's free-text `status`. Not used when
// decoding: any text is a legal status on the wire.
enum class Status { need, running, done, failed, info, idle };

enum class PushPlatform { apns, fcm, webpush };

} // namespace OrvelProtocol

namespace OrvelKit::Json {

template <>
struct EnumTraits<OrvelProtocol::Kind> {
    using E = OrvelProtocol::Kind;
    static constexpr std::array cases{std::pair{E::message, std::string_view("message")},
                                      std::pair{E::card, std::string_view("card")}};
};

template <>
struct EnumTraits<OrvelProtocol::Urgency> {
    using E = OrvelProtocol::Urgency;
    static constexpr std::array cases{std::pair{E::low, std::string_view("low")},
                                      std::pair{E::normal, std::string_view("normal")},
                                      std::pair{E::high, std::string_view("high")},
                                      std::pair{E::critical, std::string_view("critical")}};
};

template <>
struct EnumTraits<OrvelProtocol::AttachmentKind> {
    using E = OrvelProtocol::AttachmentKind;
    static constexpr std::array cases{std::pair{E::image, std::string_view("image")}};
};

template <>
struct EnumTraits<OrvelProtocol::Status> {
    using E = OrvelProtocol::Status;
    static constexpr std::array cases{std::pair{E::need, std::string_view("need")},
                                      std::pair{E::running, std::string_view("running")},
                                      std::pair{E::done, std::string_view("done")},
                                      std::pair{E::failed, std::string_view("failed")},
                                      std::pair{E::info, std::string_view("info")},
                                      std::pair{E::idle, std::string_view("idle")}};
};

template <>
struct EnumTraits<OrvelProtocol::PushPlatform> {
    using E = OrvelProtocol::PushPlatform;
    static constexpr std::array cases{std::pair{E::apns, std::string_view("apns")},
                                      std::pair{E::fcm, std::string_view("fcm")},
                                      std::pair{E::webpush, std::string_view("webpush")}};
};

} // namespace OrvelKit::Json
