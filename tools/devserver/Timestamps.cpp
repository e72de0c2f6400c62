#include "tools/devserver/Timestamps.h"

#include <cstdio>

namespace OrvelDev {

std::string formatTimestamp(TimePoint time) {
    using namespace std::chrono;
    const auto millis = floor<milliseconds>(time);
    const auto day = floor<days>(millis);
    const year_month_day date{day};
    const hh_mm_ss clock{millis - day};
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02d:%02d:%02d.%03dZ", int(date.year()),
                  unsigned(date.month()), unsigned(date.day()), int(clock.hours().count()),
                  int(clock.minutes().count()), int(clock.seconds().count()),
                  int(clock.subseconds().count()));
    return text;
}

std::uint64_t toMillis(TimePoint time) {
    const auto count =
        std::chrono::duration_cast<std::chrono::milliseconds>(time.time_since_epoch()).count();
    return count < 0 ? 0 : static_cast<std::uint64_t>(count);
}

TimePoint fromMillis(std::uint64_t millis) {
    return TimePoint{std::chrono::duration_cast<TimePoint::duration>(
        std::chrono::milliseconds{static_cast<std::int64_t>(millis)})};
}

} // namespace OrvelDev
