#pragma once

// The per-token publish limit: one token bucket per publish key, holding up
// to `burst` publishes and refilled at `perMinute`. Kept in memory only; a
// restart starts every bucket full.

#include "tools/devserver/Timestamps.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace OrvelDev {

class PublishRate {
public:
    // A zero `perMinute` or `burst` lets everything through.
    PublishRate(std::uint32_t perMinute, std::uint32_t burst)
        : perMinute_(perMinute), burst_(burst) {}

    // Takes one publish for `key` at `now`: nothing when allowed, else the
    // whole seconds until the next one would be.
    std::optional<std::uint64_t> take(std::string_view key, TimePoint now);

private:
    struct Bucket {
        double tokens = 0;
        TimePoint refilledAt;
    };

    std::uint32_t perMinute_;
    std::uint32_t burst_;
    std::map<std::string, Bucket, std::less<>> buckets_;
};

} // namespace OrvelDev
