#include "orvelkit/time/InternetDateTime.h"

#include <chrono>
#include <cstdio>

namespace OrvelKit {

std::string formatInternetDateTime(Date date) {
    using namespace std::chrono;
    constexpr auto first = sys_days{year{0} / January / 1};
    constexpr auto last =
        sys_days{year{9999} / December / 31} + hours{23} + minutes{59} + seconds{59};
    const auto micros = date.timePoint();
    auto whole = floor<seconds>(micros);
    if (micros < time_point_cast<Date::Duration>(first)) {
        whole = first;
    } else if (micros > time_point_cast<Date::Duration>(last)) {
        whole = last;
    }
    const auto day = floor<days>(whole);
    const year_month_day ymd{day};
    const hh_mm_ss clock{whole - day};
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02d:%02d:%02dZ", static_cast<int>(ymd.year()),
                  static_cast<unsigned>(ymd.month()), static_cast<unsigned>(ymd.day()),
                  static_cast<int>(clock.hours().count()),
                  static_cast<int>(clock.minutes().count()),
                  static_cast<int>(clock.seconds().count()));
    return text;
}

} // namespace OrvelKit
