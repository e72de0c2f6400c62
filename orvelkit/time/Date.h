#pragma once

// A point on the UTC time line, with microsecond precision.

#include <chrono>
#include <cstdint>
#include <limits>

namespace OrvelKit {

class Date {
public:
    using Duration = std::chrono::microseconds;
    using TimePoint = std::chrono::sys_time<Duration>;

    // The Unix epoch, 1970-01-01T00:00:00Z.
    constexpr Date() = default;
    constexpr explicit Date(TimePoint timePoint) : timePoint_(timePoint) {}

    static Date now() {
        return Date(std::chrono::time_point_cast<Duration>(std::chrono::system_clock::now()));
    }
    static constexpr Date fromMicrosecondsSinceEpoch(std::int64_t microseconds) {
        return Date(TimePoint(Duration(microseconds)));
    }
    static constexpr Date fromSecondsSinceEpoch(std::int64_t seconds) {
        return Date(TimePoint(std::chrono::seconds(seconds)));
    }

    constexpr TimePoint timePoint() const { return timePoint_; }
    constexpr std::int64_t microsecondsSinceEpoch() const {
        return timePoint_.time_since_epoch().count();
    }
    constexpr double secondsSinceEpoch() const {
        return static_cast<double>(microsecondsSinceEpoch()) / 1e6;
    }

    // Seconds from `other` to this date: positive when this date is later.
    // Exact to the microsecond wherever the difference fits in 64 bits.
    constexpr double timeIntervalSince(Date other) const {
        std::int64_t difference = 0;
        if (__builtin_sub_overflow(microsecondsSinceEpoch(), other.microsecondsSinceEpoch(),
                                   &difference)) {
            return (static_cast<double>(microsecondsSinceEpoch()) -
                    static_cast<double>(other.microsecondsSinceEpoch())) /
                   1e6;
        }
        return static_cast<double>(difference) / 1e6;
    }

    // This date moved by `seconds` (rounded to the microsecond). The result
    // saturates at the ends of the representable range; NaN moves nothing.
    constexpr Date addingSeconds(double seconds) const {
        constexpr std::int64_t lowest = std::numeric_limits<std::int64_t>::min();
        constexpr std::int64_t highest = std::numeric_limits<std::int64_t>::max();
        if (seconds != seconds) {
            return *this;
        }
        const double microseconds = seconds * 1e6;
        if (microseconds <= -9.2e18) {
            return fromMicrosecondsSinceEpoch(lowest);
        }
        if (microseconds >= 9.2e18) {
            return fromMicrosecondsSinceEpoch(highest);
        }
        const auto delta =
            static_cast<std::int64_t>(microseconds < 0 ? microseconds - 0.5 : microseconds + 0.5);
        std::int64_t sum = 0;
        if (__builtin_add_overflow(microsecondsSinceEpoch(), delta, &sum)) {
            return fromMicrosecondsSinceEpoch(delta < 0 ? lowest : highest);
        }
        return fromMicrosecondsSinceEpoch(sum);
    }

    constexpr Date operator+(Duration duration) const { return Date(timePoint_ + duration); }
    constexpr Date operator-(Duration duration) const { return Date(timePoint_ - duration); }

    constexpr auto operator<=>(const Date&) const = default;

private:
    TimePoint timePoint_{};
};

} // namespace OrvelKit
