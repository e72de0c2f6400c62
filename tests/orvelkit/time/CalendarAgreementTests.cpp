// The calendar answers most questions by its own arithmetic; here every answer
// is checked against ICU's calendar fields, around each transition and far
// from them, in zones with unusual changes.

#include "orvelkit/time/Calendar.h"

#include <gtest/gtest.h>
#include <unicode/basictz.h>
#include <unicode/calendar.h>
#include <unicode/tztrans.h>

#include <cmath>
#include <memory>
#include <random>
#include <vector>

using OrvelKit::Calendar;
using OrvelKit::Date;

namespace {

struct Reference {
    UErrorCode status = U_ZERO_ERROR; // before `calendar`, which its construction sets
    std::unique_ptr<icu::Calendar> calendar;

    explicit Reference(const char* zone)
        : calendar(icu::Calendar::createInstance(
              icu::TimeZone::createTimeZone(icu::UnicodeString::fromUTF8(zone)), "en_US", status)) {
        calendar->setRepeatedWallTimeOption(UCAL_WALLTIME_FIRST);
        calendar->setSkippedWallTimeOption(UCAL_WALLTIME_NEXT_VALID);
    }
    // Sets `field` of `date` to `value` (relative for the day) and reads the result.
    Date set(Date date, UCalendarDateFields field, int value) {
        calendar->setTime(static_cast<double>(date.microsecondsSinceEpoch()) / 1000.0, status);
        if (field == UCAL_DATE) {
            calendar->set(UCAL_DATE, calendar->get(UCAL_DATE, status) + value);
        } else {
            calendar->set(UCAL_HOUR_OF_DAY, value);
            calendar->set(UCAL_MINUTE, 0);
            calendar->set(UCAL_SECOND, 0);
            calendar->set(UCAL_MILLISECOND, 0);
        }
        return Date::fromMicrosecondsSinceEpoch(std::llround(calendar->getTime(status) * 1000.0));
    }
    int hour(Date date) {
        calendar->setTime(static_cast<double>(date.microsecondsSinceEpoch()) / 1000.0, status);
        return calendar->get(UCAL_HOUR_OF_DAY, status);
    }
    // Instants every 15 minutes within 60 hours of each transition, 1990 to 2040.
    std::vector<Date> nearTransitions() const {
        std::vector<Date> result;
        const auto* zone = dynamic_cast<const icu::BasicTimeZone*>(&calendar->getTimeZone());
        icu::TimeZoneTransition transition;
        for (UDate at = 631152000000.0;
             zone && at < 2208988800000.0 && zone->getNextTransition(at, false, transition);) {
            at = transition.getTime();
            for (int step = -240; step <= 240; step += 7) {
                result.push_back(Date::fromMicrosecondsSinceEpoch(std::llround(at) * 1000) +
                                 std::chrono::minutes(15 * step));
            }
        }
        return result;
    }
};

} // namespace

TEST(CalendarAgreement, MatchesICUFields) {
    std::mt19937_64 random(7);
    std::uniform_int_distribution<std::int64_t> from1900to2100(-2'208'988'800'000,
                                                               4'102'444'800'000);
    for (const char* zoneId :
         {"Europe/Berlin", "America/New_York", "America/Havana", "America/Santiago",
          "Australia/Lord_Howe", "Pacific/Apia", "Asia/Kathmandu", "Europe/Dublin", "Etc/UTC"}) {
        const Calendar calendar(zoneId, "en_US");
        Reference reference(zoneId);
        std::vector<Date> instants = reference.nearTransitions();
        for (int i = 0; i < 1500; ++i) {
            instants.push_back(Date::fromMicrosecondsSinceEpoch(from1900to2100(random) * 1000));
        }
        for (const Date instant : instants) {
            SCOPED_TRACE(std::string(zoneId) + " " +
                         std::to_string(instant.microsecondsSinceEpoch()));
            ASSERT_EQ(calendar.hour(instant), reference.hour(instant));
            ASSERT_EQ(calendar.startOfDay(instant), reference.set(instant, UCAL_HOUR_OF_DAY, 0));
            for (const int hour : {2, 3, 8, 23}) {
                ASSERT_EQ(calendar.settingHour(hour, instant),
                          reference.set(instant, UCAL_HOUR_OF_DAY, hour));
            }
            for (const int days : {-1, 1, 7}) {
                ASSERT_EQ(calendar.addingDays(days, instant),
                          reference.set(instant, UCAL_DATE, days));
            }
            ASSERT_TRUE(U_SUCCESS(reference.status));
        }
    }
}
