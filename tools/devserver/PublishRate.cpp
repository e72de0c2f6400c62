#include "tools/devserver/PublishRate.h"

#include <algorithm>
#include <cmath>

namespace OrvelDev {

std::optional<std::uint64_t> PublishRate::take(std::string_view key, TimePoint now) {
    if (perMinute_ == 0 || burst_ == 0) {
        return std::nullopt;
    }
    auto found = buckets_.find(key);
    if (found == buckets_.end()) {
        found = buckets_.emplace(std::string(key), Bucket{double(burst_), now}).first;
    }
    Bucket& bucket = found->second;
    const double perSecond = perMinute_ / 60.0;
    // A clock that went back refills nothing rather than draining the bucket.
    const double elapsed =
        std::max(0.0, std::chrono::duration<double>(now - bucket.refilledAt).count());
    bucket.tokens = std::min<double>(burst_, bucket.tokens + elapsed * perSecond);
    bucket.refilledAt = std::max(now, bucket.refilledAt);
    if (bucket.tokens >= 1.0) {
        bucket.tokens -= 1.0;
        return std::nullopt;
    }
    return static_cast<std::uint64_t>(std::ceil((1.0 - bucket.tokens) / perSecond));
}

} // namespace OrvelDev
