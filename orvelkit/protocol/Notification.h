#pragma once

// An agent's update to a channel, its parts, and the forms the protocol
// defines around it (sealed content, the sender's input, uploads).

#include "orvelkit/json/Schema.h"
#include "orvelkit/protocol/Enumerations.h"

#include <cstdint>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

namespace OrvelProtocol {

// A labelled value of an update.
struct CardField {
    std::string label;
    std::string value;

    bool operator==(const CardField&) const = default;
};

inline auto jsonSchema(std::type_identity<CardField>) {
    using namespace OrvelKit::Json;
    return std::tuple{requiredKey("label", &CardField::label),
                      requiredKey("value", &CardField::value)};
}

// A labelled link. The URL is kept as text; nothing here validates it.
struct Link {
    std::string label;
    std::string url;

    bool operator==(const Link&) const = default;
};

inline auto jsonSchema(std::type_identity<Link>) {
    using namespace OrvelKit::Json;
    return std::tuple{requiredKey("label", &Link::label), requiredKey("url", &Link::url)};
}

// Enciphering parameters of an attached file; opaque here.
struct AttachmentEnc {
    std::string k;
    std::string mime;

    bool operator==(const AttachmentEnc&) const = default;
};

inline auto jsonSchema(std::type_identity<AttachmentEnc>) {
    using namespace OrvelKit::Json;
    return std::tuple{requiredKey("k", &AttachmentEnc::k),
                      requiredKey("mime", &AttachmentEnc::mime)};
}

struct Attachment {
    std::optional<std::string> alt;
    std::optional<AttachmentEnc> enc;
    std::optional<std::uint64_t> h;
    AttachmentKind kind = AttachmentKind::image;
    std::string url;
    std::optional<std::uint64_t> w;

    bool operator==(const Attachment&) const = default;
};

inline auto jsonSchema(std::type_identity<Attachment>) {
    using namespace OrvelKit::Json;
    return std::tuple{optionalKey("alt", &Attachment::alt),
                      optionalKey("enc", &Attachment::enc),
                      optionalKey("h", &Attachment::h),
                      defaultedKey("kind", &Attachment::kind, AttachmentKind::image),
                      requiredKey("url", &Attachment::url),
                      optionalKey("w", &Attachment::w)};
}

// Where to upload an attachment file. Protocol surface only.
struct AttachmentUpload {
    std::string key;
    std::uint64_t size = 0;
    std::string url;

    bool operator==(const AttachmentUpload&) const = default;
};

inline auto jsonSchema(std::type_identity<AttachmentUpload>) {
    using namespace OrvelKit::Json;
    return std::tuple{requiredKey("key", &AttachmentUpload::key),
                      requiredKey("size", &AttachmentUpload::size),
                      requiredKey("url", &AttachmentUpload::url)};
}

// An enciphered copy of an update's content. Carried and stored unchanged,
// never opened.
struct SealedEnvelope {
    std::string ct;
    std::string enc;
    std::uint64_t v = 0;

    bool operator==(const SealedEnvelope&) const = default;
};

inline auto jsonSchema(std::type_identity<SealedEnvelope>) {
    using namespace OrvelKit::Json;
    return std::tuple{requiredKey("ct", &SealedEnvelope::ct),
                      requiredKey("enc", &SealedEnvelope::enc),
                      requiredKey("v", &SealedEnvelope::v)};
}

// One update on a channel, as the service delivers it and the inbox stores it.
struct Notification {
    std::vector<Attachment> attachments;
    std::optional<std::string> body;
    std::string channel;
    std::optional<std::string> color;
    std::string createdAt;
    std::optional<std::string> deliverWhen;
    std::optional<std::string> details;
    std::vector<CardField> fields;
    std::string id;
    Kind kind = Kind::message;
    std::vector<Link> links;
    std::optional<std::string> replyTo;
    std::optional<SealedEnvelope> sealed;
    std::optional<std::string> sender;
    std::uint64_t seq = 0;
    std::optional<std::string> status;
    std::string title;
    Urgency urgency = Urgency::normal;

    bool operator==(const Notification&) const = default;
};

inline auto jsonSchema(std::type_identity<Notification>) {
    using namespace OrvelKit::Json;
    using N = Notification;
    return std::tuple{defaultedKey("attachments", &N::attachments),
                      optionalKey("body", &N::body),
                      requiredKey("channel", &N::channel),
                      optionalKey("color", &N::color),
                      requiredKey("created_at", &N::createdAt),
                      optionalKey("deliver_when", &N::deliverWhen),
                      optionalKey("details", &N::details),
                      defaultedKey("fields", &N::fields),
                      requiredKey("id", &N::id),
                      defaultedKey("kind", &N::kind, Kind::message),
                      defaultedKey("links", &N::links),
                      optionalKey("reply_to", &N::replyTo),
                      optionalKey("sealed", &N::sealed),
                      optionalKey("sender", &N::sender),
                      requiredKey("seq", &N::seq),
                      optionalKey("status", &N::status),
                      requiredKey("title", &N::title),
                      requiredKey("urgency", &N::urgency)};
}

// What a sealed envelope holds once opened. Protocol surface only.
struct SealedContent {
    std::vector<Attachment> attachments;
    std::optional<std::string> body;
    std::optional<std::string> color;
    std::optional<std::string> deliverWhen;
    std::optional<std::string> details;
    std::vector<CardField> fields;
    Kind kind = Kind::message;
    std::vector<Link> links;
    std::optional<std::string> sender;
    std::optional<std::string> status;
    std::string title;
    Urgency urgency = Urgency::normal;

    bool operator==(const SealedContent&) const = default;
};

inline auto jsonSchema(std::type_identity<SealedContent>) {
    using namespace OrvelKit::Json;
    using S = SealedContent;
    return std::tuple{defaultedKey("attachments", &S::attachments),
                      optionalKey("body", &S::body),
                      optionalKey("color", &S::color),
                      optionalKey("deliver_when", &S::deliverWhen),
                      optionalKey("details", &S::details),
                      defaultedKey("fields", &S::fields),
                      defaultedKey("kind", &S::kind, Kind::message),
                      defaultedKey("links", &S::links),
                      optionalKey("sender", &S::sender),
                      optionalKey("status", &S::status),
                      requiredKey("title", &S::title),
                      defaultedKey("urgency", &S::urgency, Urgency::normal)};
}

// An update as a sender submits it, before the service assigns its id,
// sequence number and timestamp.
struct NotificationInput {
    std::vector<Attachment> attachments;
    std::optional<std::string> body;
    std::string channel;
    std::optional<std::string> color;
    std::optional<std::string> deliverWhen;
    std::optional<std::string> details;
    std::vector<CardField> fields;
    Kind kind = Kind::message;
    std::vector<Link> links;
    std::optional<SealedEnvelope> sealed;
    std::optional<std::string> sender;
    std::optional<std::string> status;
    std::string title;
    Urgency urgency = Urgency::normal;

    bool operator==(const NotificationInput&) const = default;
};

inline auto jsonSchema(std::type_identity<NotificationInput>) {
    using namespace OrvelKit::Json;
    using I = NotificationInput;
    return std::tuple{defaultedKey("attachments", &I::attachments),
                      optionalKey("body", &I::body),
                      requiredKey("channel", &I::channel),
                      optionalKey("color", &I::color),
                      optionalKey("deliver_when", &I::deliverWhen),
                      optionalKey("details", &I::details),
                      defaultedKey("fields", &I::fields),
                      defaultedKey("kind", &I::kind, Kind::message),
                      defaultedKey("links", &I::links),
                      optionalKey("sealed", &I::sealed),
                      optionalKey("sender", &I::sender),
                      optionalKey("status", &I::status),
                      requiredKey("title", &I::title),
                      defaultedKey("urgency", &I::urgency, Urgency::normal)};
}

} // namespace OrvelProtocol
