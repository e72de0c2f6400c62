#include "orvelkit/time/Calendar.h"

#include <gtest/gtest.h>
#include <unicode/locid.h>

#include <cstdlib>
#include <string>

using OrvelKit::Calendar;
using OrvelKit::Date;

namespace {

// 2024-03-31T01:00Z: Berlin springs from 02:00 CET to 03:00 CEST.
constexpr Date berlinSpring = Date::fromSecondsSinceEpoch(1711846800);
// 2024-10-27T01:00Z: Berlin falls back from 03:00 CEST to 02:00 CET.
constexpr Date berlinFall = Date::fromSecondsSinceEpoch(1729990800);

Date plusHours(Date date, std::int64_t hours) {
    return date + std::chrono::hours(hours);
}

} // namespace

TEST(Date, ArithmeticRoundsAndSaturates) {
    const Date later = Date().addingSeconds(90.5);
    EXPECT_EQ(later.microsecondsSinceEpoch(), 90'500'000);
    EXPECT_DOUBLE_EQ(Date().timeIntervalSince(later), -90.5);
    const Date last = Date::fromMicrosecondsSinceEpoch(std::numeric_limits<std::int64_t>::max());
    const Date first = Date::fromMicrosecondsSinceEpoch(std::numeric_limits<std::int64_t>::min());
    EXPECT_EQ(last.addingSeconds(1e9), last);
    EXPECT_EQ(first.addingSeconds(-1e300), first);
    EXPECT_EQ(later.addingSeconds(std::numeric_limits<double>::quiet_NaN()), later);
    EXPECT_GT(last.timeIntervalSince(first), 1.8e13); // no overflow
}

// Start of day, hours and day arithmetic around every transition are checked
// against ICU in CalendarAgreementTests.cpp; here what that cannot reach.
TEST(Calendar, DayArithmeticKeepsMicrosecondsAndRefusesHoursOutsideTheDay) {
    const Calendar berlin("Europe/Berlin", "de_DE");
    const Date springDayStart = plusHours(berlinSpring, -2);
    EXPECT_EQ(berlin.addingDays(1, springDayStart + std::chrono::microseconds(1234)),
              plusHours(springDayStart, 23) + std::chrono::microseconds(1234));
    EXPECT_EQ(berlin.settingHour(24, berlinFall), std::nullopt);
}

TEST(Calendar, AnUnknownZoneFallsBackToUtc) {
    const Calendar unknown("Nowhere/Atlantis", "en_US");
    EXPECT_EQ(unknown.timeZoneId(), "Etc/Unknown");
    EXPECT_EQ(unknown.hour(berlinSpring), 1); // keeps UTC
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

TEST(Calendar, TheHostsPosixLocaleReadsAsItsLanguage) {
    const icu::Locale saved = icu::Locale::getDefault();
    UErrorCode status = U_ZERO_ERROR;
    icu::Locale::setDefault(icu::Locale("en_US_POSIX"), status);
    EXPECT_EQ(Calendar::current().localeId(), "en_US");
    icu::Locale::setDefault(icu::Locale("de_DE"), status);
    EXPECT_EQ(Calendar::current().localeId(), "de_DE");
    icu::Locale::setDefault(saved, status);
}
