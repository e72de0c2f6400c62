#include "orvelkit/time/Calendar.h"

#include <unicode/basictz.h>
#include <unicode/calendar.h>
#include <unicode/locid.h>
#include <unicode/timezone.h>
#include <unicode/tztrans.h>
#include <unicode/unistr.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <utility>

// Day arithmetic has two paths. The general one sets fields on an ICU
// calendar, whose options resolve skipped and repeated wall times. It costs a
// microsecond or more per operation, too much for per-update work over large
// inboxes, so most operations take a fast path: between two transitions of
// the zone the UTC offset is constant, and a wall-clock time whose instant lies
// well inside such a span (further from either end than any offset change
// reaches) exists exactly once. There local time is plain integer arithmetic.
// Everything near a transition, and every zone that cannot list its
// transitions, goes through ICU.

namespace OrvelKit {

namespace {

constexpr std::int64_t microsecondsPerHour = 3'600'000'000;
constexpr std::int64_t microsecondsPerDay = 24 * microsecondsPerHour;
// Offset changes never reach this far: UTC offsets lie within -12:00...+14:00.
constexpr std::int64_t transitionMargin = 2 * microsecondsPerDay;
constexpr std::int64_t noLimit = std::numeric_limits<std::int64_t>::max();
// Beyond this the fast path's sums could overflow; ICU handles the rest.
constexpr std::int64_t fastRange = std::int64_t{1} << 60;

// ICU counts milliseconds since the epoch in a double.
UDate toUDate(Date date) {
    return static_cast<double>(date.microsecondsSinceEpoch()) / 1000.0;
}

std::optional<Date> fromUDate(UDate milliseconds) {
    const double microseconds = std::round(milliseconds * 1000.0);
    if (!std::isfinite(microseconds) || microseconds < -9.2e18 || microseconds > 9.2e18) {
        return std::nullopt;
    }
    return Date::fromMicrosecondsSinceEpoch(static_cast<std::int64_t>(microseconds));
}

std::int64_t floorDiv(std::int64_t value, std::int64_t divisor) {
    const std::int64_t quotient = value / divisor;
    return (value % divisor != 0 && value < 0) ? quotient - 1 : quotient;
}

std::string toUTF8(const icu::UnicodeString& text) {
    std::string result;
    text.toUTF8String(result);
    return result;
}

// A stretch of time over which the zone's UTC offset does not change.
struct Span {
    std::int64_t start = 0; // first instant, microseconds since the epoch
    std::int64_t end = 0;   // first instant after the span
    std::int64_t offset = 0;

    bool contains(std::int64_t instant) const { return instant >= start && instant < end; }
    // Far enough inside that the wall-clock time of `instant` occurs only there.
    bool holdsUniquely(std::int64_t instant) const {
        return (start == -noLimit || instant - start >= transitionMargin) &&
               (end == noLimit || end - instant > transitionMargin);
    }
};

} // namespace

struct Calendar::Prototype {
    std::unique_ptr<icu::Calendar> calendar; // null if ICU could not create one
    std::string timeZoneId;
    std::string localeId;

    Prototype(icu::TimeZone* adoptedZone, const icu::Locale& locale) {
        std::unique_ptr<icu::TimeZone> zone(adoptedZone);
        if (!zone) {
            zone.reset(icu::TimeZone::getUnknown().clone());
        }
        icu::UnicodeString zoneId;
        timeZoneId = toUTF8(zone->getID(zoneId));
        localeId = locale.getName();

        UErrorCode status = U_ZERO_ERROR;
        calendar.reset(icu::Calendar::createInstance(zone.release(), locale, status));
        if (U_FAILURE(status)) {
            calendar.reset();
            return;
        }
        calendar->setLenient(true);
        calendar->setRepeatedWallTimeOption(UCAL_WALLTIME_FIRST);
        calendar->setSkippedWallTimeOption(UCAL_WALLTIME_NEXT_VALID);
    }
};

struct Calendar::Working {
    std::unique_ptr<icu::Calendar> calendar;
    // The calendar's zone when it can list its transitions, else null.
    const icu::BasicTimeZone* zone = nullptr;
    // Recently used spans, replaced round-robin.
    std::array<Span, 8> spans{};
    std::size_t spanCount = 0;
    std::size_t nextSlot = 0;

    explicit Working(const icu::Calendar* prototype) {
        if (prototype) {
            calendar.reset(prototype->clone());
            zone = dynamic_cast<const icu::BasicTimeZone*>(&calendar->getTimeZone());
        }
    }

    // The span that contains `instant`, or null where only ICU can tell.
    const Span* spanAt(std::int64_t instant) {
        if (!zone || instant <= -fastRange || instant >= fastRange) {
            return nullptr;
        }
        for (std::size_t i = 0; i < spanCount; ++i) {
            if (spans[i].contains(instant)) {
                return &spans[i];
            }
        }
        const double milliseconds = std::floor(static_cast<double>(instant) / 1000.0);
        UErrorCode status = U_ZERO_ERROR;
        int32_t rawOffset = 0;
        int32_t dstOffset = 0;
        zone->getOffset(milliseconds, false, rawOffset, dstOffset, status);
        if (U_FAILURE(status)) {
            return nullptr;
        }
        Span span;
        span.offset = (std::int64_t{rawOffset} + dstOffset) * 1000;
        icu::TimeZoneTransition transition;
        // A transition beyond the fast range bounds nothing the fast path uses.
        const auto microseconds = [](UDate transitionTime) {
            return static_cast<std::int64_t>(std::clamp(transitionTime, -4e15, 4e15) * 1000);
        };
        span.start = zone->getPreviousTransition(milliseconds, true, transition)
                         ? microseconds(transition.getTime())
                         : -noLimit;
        span.end = zone->getNextTransition(milliseconds, false, transition)
                       ? microseconds(transition.getTime())
                       : noLimit;
        if (!span.contains(instant)) {
            return nullptr;
        }
        Span& slot = spans[nextSlot];
        slot = span;
        nextSlot = (nextSlot + 1) % spans.size();
        spanCount = std::min(spanCount + 1, spans.size());
        return &slot;
    }

    // The one instant whose wall-clock time is `wallTime` (microseconds of
    // local time since the local epoch), looked up near `hint`; absent when it
    // is not certain to be unique, or out of the fast range.
    std::optional<std::int64_t> uniqueInstant(std::int64_t wallTime, std::int64_t hint) {
        if (wallTime <= -fastRange || wallTime >= fastRange) {
            return std::nullopt;
        }
        const Span* span = spanAt(hint);
        for (int attempt = 0; span && attempt < 2; ++attempt) {
            const std::int64_t instant = wallTime - span->offset;
            if (span->contains(instant)) {
                if (span->holdsUniquely(instant)) {
                    return instant;
                }
                return std::nullopt;
            }
            span = spanAt(instant);
        }
        return std::nullopt;
    }

    // The ICU path: the wall-clock time of `date` on the day `days` later.
    // (Calendar::add would keep the instant's distance modulo 24 hours across
    // an offset change of a whole day, landing on the wrong day.) Fields are
    // whole milliseconds; the microseconds below are carried over.
    std::optional<Date> addingDaysByFields(int days, Date date) {
        if (!calendar) {
            return std::nullopt;
        }
        UErrorCode status = U_ZERO_ERROR;
        calendar->setTime(toUDate(date), status);
        const std::int64_t day = std::int64_t{calendar->get(UCAL_DATE, status)} + days;
        if (U_FAILURE(status) || day < std::numeric_limits<int32_t>::min() ||
            day > std::numeric_limits<int32_t>::max()) {
            return std::nullopt;
        }
        calendar->set(UCAL_DATE, static_cast<int32_t>(day));
        const UDate result = calendar->getTime(status);
        if (U_FAILURE(status)) {
            return std::nullopt;
        }
        const std::int64_t instant = date.microsecondsSinceEpoch();
        const std::int64_t belowMillisecond = instant - floorDiv(instant, 1000) * 1000;
        const std::optional<Date> whole = fromUDate(result);
        if (!whole || whole->microsecondsSinceEpoch() > noLimit - 1000) {
            return whole;
        }
        return Date::fromMicrosecondsSinceEpoch(whole->microsecondsSinceEpoch() + belowMillisecond);
    }

    // The ICU path: the day of `date` with the time of day set to `hour`:00:00.
    std::optional<Date> settingHourByFields(int hour, Date date) {
        if (!calendar) {
            return std::nullopt;
        }
        UErrorCode status = U_ZERO_ERROR;
        calendar->setTime(toUDate(date), status);
        // Setting the time-of-day fields keeps the day that setTime computed;
        // the wall-time options resolve a skipped or repeated result.
        calendar->set(UCAL_HOUR_OF_DAY, hour);
        calendar->set(UCAL_MINUTE, 0);
        calendar->set(UCAL_SECOND, 0);
        calendar->set(UCAL_MILLISECOND, 0);
        const UDate result = calendar->getTime(status);
        if (U_FAILURE(status)) {
            return std::nullopt;
        }
        return fromUDate(result);
    }
};

Calendar::Calendar(std::shared_ptr<const Prototype> prototype) : prototype_(std::move(prototype)) {}

Calendar::Calendar(std::string_view timeZoneId, std::string_view localeId)
    : prototype_(std::make_shared<const Prototype>(
          icu::TimeZone::createTimeZone(icu::UnicodeString::fromUTF8(
              icu::StringPiece(timeZoneId.data(), static_cast<int32_t>(timeZoneId.size())))),
          icu::Locale(std::string(localeId).c_str()))) {}

Calendar Calendar::current() {
    // LANG=C (or unset) reaches ICU as en_US_POSIX, whose formats are meant
    // for machines ("$ 44.95", code-point collation); a person reading the
    // app gets the language's ordinary conventions instead.
    icu::Locale locale = icu::Locale::getDefault();
    if (std::string_view(locale.getVariant()) == "POSIX") {
        locale = icu::Locale(locale.getLanguage(), locale.getCountry());
    }
    return Calendar(std::make_shared<const Prototype>(icu::TimeZone::createDefault(), locale));
}

Calendar Calendar::host() {
    // ICU fixes its default zone at first use; the host's setting (TZ, else
    // /etc/localtime) is read afresh and made the default.
    icu::TimeZone::adoptDefault(icu::TimeZone::detectHostTimeZone());
    return current();
}

Calendar::Calendar(const Calendar& other) : prototype_(other.prototype_) {}
// A moved-from calendar stays usable: it keeps the shared prototype.
Calendar::Calendar(Calendar&& other) noexcept
    : prototype_(other.prototype_), working_(std::move(other.working_)) {}
Calendar& Calendar::operator=(const Calendar& other) {
    if (this != &other) {
        prototype_ = other.prototype_;
        working_.reset();
    }
    return *this;
}
Calendar& Calendar::operator=(Calendar&& other) noexcept {
    if (this != &other) {
        prototype_ = other.prototype_;
        working_ = std::move(other.working_);
    }
    return *this;
}
Calendar::~Calendar() = default;

const std::string& Calendar::timeZoneId() const {
    return prototype_->timeZoneId;
}
const std::string& Calendar::localeId() const {
    return prototype_->localeId;
}

bool Calendar::operator==(const Calendar& other) const {
    return timeZoneId() == other.timeZoneId() && localeId() == other.localeId();
}

Calendar::Working& Calendar::working() const {
    if (!working_) {
        working_ = std::make_unique<Working>(prototype_->calendar.get());
    }
    return *working_;
}

Date Calendar::startOfDay(Date date) const {
    return settingHour(0, date).value_or(date);
}

std::optional<Date> Calendar::settingHour(int hour, Date date) const {
    if (hour < 0 || hour > 23) {
        return std::nullopt;
    }
    Working& work = working();
    const std::int64_t instant = date.microsecondsSinceEpoch();
    if (const Span* span = work.spanAt(instant)) {
        const std::int64_t localDay = floorDiv(instant + span->offset, microsecondsPerDay);
        const std::int64_t wallTime = localDay * microsecondsPerDay + hour * microsecondsPerHour;
        if (const auto result = work.uniqueInstant(wallTime, instant)) {
            return Date::fromMicrosecondsSinceEpoch(*result);
        }
    }
    return work.settingHourByFields(hour, date);
}

std::optional<Date> Calendar::addingDays(int days, Date date) const {
    Working& work = working();
    const std::int64_t instant = date.microsecondsSinceEpoch();
    constexpr int fastDays = 10'000'000;
    if (const Span* span = work.spanAt(instant); span && days >= -fastDays && days <= fastDays) {
        const std::int64_t shift = days * microsecondsPerDay;
        if (const auto result =
                work.uniqueInstant(instant + span->offset + shift, instant + shift)) {
            return Date::fromMicrosecondsSinceEpoch(*result);
        }
    }
    return work.addingDaysByFields(days, date);
}

int Calendar::hour(Date date) const {
    Working& work = working();
    const std::int64_t instant = date.microsecondsSinceEpoch();
    if (const Span* span = work.spanAt(instant)) {
        const std::int64_t local = instant + span->offset;
        return static_cast<int>((local - floorDiv(local, microsecondsPerDay) * microsecondsPerDay) /
                                microsecondsPerHour);
    }
    icu::Calendar* calendar = work.calendar.get();
    if (!calendar) {
        return 0;
    }
    UErrorCode status = U_ZERO_ERROR;
    calendar->setTime(toUDate(date), status);
    const int32_t result = calendar->get(UCAL_HOUR_OF_DAY, status);
    return U_SUCCESS(status) ? result : 0;
}

} // namespace OrvelKit
