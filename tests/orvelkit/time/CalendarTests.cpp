#include "orvelkit/time/Calendar.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

using OrvelKit::Calendar;
using OrvelKit::Date;

namespace {

// 2024-03-31T01:00Z: Berlin springs from 02:00 CET to 03:00 CEST.
constexpr Date berlinSpring = Date::fromSecondsSinceEpoch(1711846800);
// 2024-10-27T01:00Z: Berlin falls back from 03:00 CEST to 02:00 CET.
constexpr Date berlinFall = Date::fromSecondsSinceEpoch(1729990800);
// 2024-03-10T07:00Z: New York springs from 02:00 EST to 03:00 EDT.
constexpr Date newYorkSpring = Date::fromSecondsSinceEpoch(1710054000);
// 2024-11-03T06:00Z: New York falls back from 02:00 EDT to 01:00 EST.
constexpr Date newYorkFall = Date::fromSecondsSinceEpoch(1730613600);

Date plusHours(Date date, std::int64_t hours) {
    return date + std::chrono::hours(hours);
}

} // namespace

TEST(Date, ArithmeticRoundsAndSaturates) {
    const Date later = Date().addingSeconds(90.5);
    EXPECT_EQ(later.microsecondsSinceEpoch(), 90'500'000);
    EXPECT_DOUBLE_EQ(Date().timeIntervalSince(later), -90.5);
    EXPECT_EQ(Date().addingSeconds(0.0000006).microsecondsSinceEpoch(), 1);
    const Date last = Date::fromMicrosecondsSinceEpoch(std::numeric_limits<std::int64_t>::max());
    const Date first = Date::fromMicrosecondsSinceEpoch(std::numeric_limits<std::int64_t>::min());
    EXPECT_EQ(last.addingSeconds(1e9), last);
    EXPECT_EQ(first.addingSeconds(-1e300), first);
    EXPECT_EQ(later.addingSeconds(std::numeric_limits<double>::quiet_NaN()), later);
    EXPECT_GT(last.timeIntervalSince(first), 1.8e13); // no overflow
}

TEST(Calendar, StartOfDayAcrossDaylightSavingChanges) {
    const Calendar berlin("Europe/Berlin", "de_DE");
    // The spring day starts at 00:00 CET, the autumn day at 00:00 CEST, also
    // from either 02:30 of the repeated hour.
    EXPECT_EQ(berlin.startOfDay(plusHours(berlinSpring, 10)), plusHours(berlinSpring, -2));
    EXPECT_EQ(berlin.startOfDay(plusHours(berlinFall, 10)), plusHours(berlinFall, -3));
    EXPECT_EQ(berlin.startOfDay(berlinFall - std::chrono::minutes(30)), plusHours(berlinFall, -3));
    EXPECT_EQ(berlin.startOfDay(berlinFall + std::chrono::minutes(30)), plusHours(berlinFall, -3));
    const Calendar newYork("America/New_York", "en_US");
    EXPECT_EQ(newYork.startOfDay(plusHours(newYorkSpring, 10)), plusHours(newYorkSpring, -2));
    EXPECT_EQ(newYork.startOfDay(plusHours(newYorkFall, 10)), plusHours(newYorkFall, -2));
    // Where a change skips midnight the day starts when the clock resumes:
    // Havana went from 2024-03-10 00:00 CST straight to 01:00 CDT (05:00Z).
    const Date havanaSpring = Date::fromSecondsSinceEpoch(1710046800);
    EXPECT_EQ(Calendar("America/Havana", "es_CU").startOfDay(plusHours(havanaSpring, 6)),
              havanaSpring);
}

TEST(Calendar, AddingDaysKeepsTheWallClock) {
    const Calendar berlin("Europe/Berlin", "de_DE");
    const Date springDayStart = plusHours(berlinSpring, -2);
    const Date fallDayStart = plusHours(berlinFall, -3);
    EXPECT_EQ(berlin.addingDays(1, springDayStart), plusHours(springDayStart, 23));
    EXPECT_EQ(berlin.addingDays(-1, springDayStart), plusHours(springDayStart, -24));
    EXPECT_EQ(berlin.addingDays(1, fallDayStart), plusHours(fallDayStart, 25));
    EXPECT_EQ(berlin.addingDays(-1, plusHours(fallDayStart, 25)), fallDayStart);
    const Date morning = plusHours(springDayStart, -15); // 09:00 the day before
    EXPECT_EQ(berlin.addingDays(7, morning), plusHours(morning, 7 * 24 - 1));
    EXPECT_EQ(berlin.addingDays(1, springDayStart + std::chrono::microseconds(1234)),
              plusHours(springDayStart, 23) + std::chrono::microseconds(1234));
    const Calendar newYork("America/New_York", "en_US");
    EXPECT_EQ(newYork.addingDays(1, plusHours(newYorkFall, -2)), plusHours(newYorkFall, 23));
    // Samoa skipped 2011-12-30, moving from UTC-10 to UTC+14: a week after noon
    // on the 27th is noon on 3 January, 6 days and 10 hours later.
    EXPECT_EQ(
        Calendar("Pacific/Apia", "en_WS").addingDays(7, Date::fromSecondsSinceEpoch(1325023200)),
        Date::fromSecondsSinceEpoch(1325541600));
}

TEST(Calendar, SettingAnHourTakesTheNextValidTimeAndTheFirstOccurrence) {
    const Calendar berlin("Europe/Berlin", "de_DE");
    // 02:00 does not exist on the spring day: the clock resumes at 03:00 CEST.
    EXPECT_EQ(berlin.settingHour(2, plusHours(berlinSpring, 10)), berlinSpring);
    EXPECT_EQ(berlin.settingHour(8, plusHours(berlinSpring, 10)), plusHours(berlinSpring, 5));
    EXPECT_EQ(berlin.settingHour(1, plusHours(berlinSpring, 10)), plusHours(berlinSpring, -1));
    // 02:00 happens twice on the autumn day: the first (CEST) counts.
    EXPECT_EQ(berlin.settingHour(2, plusHours(berlinFall, 10)), plusHours(berlinFall, -1));
    EXPECT_EQ(berlin.settingHour(3, plusHours(berlinFall, 10)), plusHours(berlinFall, 1));
    // The hour is set on the date's own day, also late in the evening.
    EXPECT_EQ(berlin.settingHour(8, plusHours(berlinFall, 21)), plusHours(berlinFall, 6));
    const Calendar newYork("America/New_York", "en_US");
    EXPECT_EQ(newYork.settingHour(2, plusHours(newYorkSpring, 6)), newYorkSpring);
    EXPECT_EQ(newYork.settingHour(1, plusHours(newYorkFall, 6)), plusHours(newYorkFall, -1));
    EXPECT_EQ(berlin.settingHour(24, berlinFall), std::nullopt);
    EXPECT_EQ(berlin.settingHour(-1, berlinFall), std::nullopt);
}

TEST(Calendar, HourIdentityAndFallbacks) {
    const Calendar berlin("Europe/Berlin", "de_DE");
    EXPECT_EQ(berlin.hour(plusHours(berlinSpring, -1)), 1);
    EXPECT_EQ(berlin.hour(berlinSpring), 3);
    EXPECT_EQ(berlin.hour(plusHours(berlinFall, -1)), 2);
    EXPECT_EQ(berlin.hour(berlinFall), 2);
    EXPECT_EQ(Calendar("America/New_York", "en_US").hour(berlinFall), 21);

    EXPECT_EQ(berlin.timeZoneId(), "Europe/Berlin");
    EXPECT_EQ(berlin.localeId(), "de_DE");
    EXPECT_NE(berlin, Calendar("Europe/Berlin", "en_US"));
    Calendar copy = berlin;
    const Calendar moved = std::move(copy);
    EXPECT_EQ(moved.hour(berlinSpring), 3);
    EXPECT_EQ(copy.hour(berlinSpring), 3); // a moved-from calendar stays usable

    const Calendar unknown("Nowhere/Atlantis", "en_US");
    EXPECT_EQ(unknown.timeZoneId(), "Etc/Unknown");
    EXPECT_EQ(unknown.hour(berlinSpring), 1); // keeps UTC
    EXPECT_FALSE(Calendar::current().timeZoneId().empty());
}

// The host's zone changes while the app runs (here through TZ).
TEST(Calendar, TheHostCalendarFollowsAChangeOfTheHostTimeZone) {
    const char* before = std::getenv("TZ");
    const std::string saved = before ? before : "";
    Calendar::current(); // ICU fixes its default zone here
    for (const char* zone : {"Asia/Tokyo", "America/New_York"}) {
        ::setenv("TZ", zone, 1);
        EXPECT_EQ(Calendar::host().timeZoneId(), zone);
        EXPECT_EQ(Calendar::current().timeZoneId(), zone);
    }
    if (before) {
        ::setenv("TZ", saved.c_str(), 1);
    } else {
        ::unsetenv("TZ");
    }
    Calendar::host();
}
