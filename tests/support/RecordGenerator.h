#pragma once

// Deterministic generator of realistic wire records for tests and benchmarks.
//
// The same seed always gives the same records, on every platform (the
// generator uses its own random sequence, not the standard distributions).
// Texts look like what agents send: markdown-ish bodies, non-ASCII text, and
// now and then control characters, quotes and backslashes that the encoder
// must escape. Statuses fall inside and outside the recognised set. Some
// notifications carry attachments, card fields, links or a sealed envelope;
// channels carry card updates with definitions, values and deltas.

#include "orvelkit/protocol/Protocol.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace OrvelTest {

class RecordGenerator {
public:
    explicit RecordGenerator(std::uint64_t seed);

    // One update on `channel` with sequence number `seq`. Every field is
    // filled with some probability; required ones always are.
    OrvelProtocol::Notification notification(std::string_view channel, std::uint64_t seq);
    OrvelProtocol::Attachment attachment();
    OrvelProtocol::SealedEnvelope sealedEnvelope();
    // One update to one of a few cards of `channel`, with card sequence `cardSeq`.
    OrvelProtocol::PersistentCardUpdate cardUpdate(std::string_view channel, std::uint64_t cardSeq);

    // A channel with `notificationCount` updates numbered from `firstSeq`,
    // `cardUpdateCount` card updates, a read mark somewhere among them and a
    // few dismissed sequence numbers.
    OrvelProtocol::ChannelSync channelSync(std::string channel, std::size_t notificationCount,
                                           std::size_t cardUpdateCount, std::uint64_t firstSeq = 1);
    // `notificationCount` updates spread over `channelCount` channels (at least
    // one), each channel with about one card update per 40 notifications.
    OrvelProtocol::SyncResponse syncResponse(std::size_t notificationCount,
                                             std::size_t channelCount);

    std::string channelId();
    // An internet timestamp `offsetSeconds` after mid-2025.
    std::string timestamp(std::uint64_t offsetSeconds);
    // Uniform in [0, bound); bound > 0.
    std::uint64_t below(std::uint64_t bound);
    // True with probability percent / 100.
    bool chance(unsigned percent);

private:
    template <class T, std::size_t N>
    const T& pick(const T (&items)[N]) {
        return items[below(N)];
    }
    // `value` with probability percent / 100, else nothing.
    template <class T>
    std::optional<T> maybe(unsigned percent, T value) {
        return chance(percent) ? std::optional<T>(std::move(value)) : std::nullopt;
    }
    std::uint64_t next();
    std::string identifier(std::string_view prefix, std::size_t digits,
                           std::string_view alphabet = "0123456789abcdef");
    std::string prose(std::size_t approxLength);

    std::uint64_t state_;
};

} // namespace OrvelTest
