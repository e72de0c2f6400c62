#pragma once

// A calendar in a time zone and a locale: the day arithmetic that deferred
// delivery and the briefing need (start of a day, whole days, an hour of the
// wall clock), correct across daylight-saving changes.

#include "orvelkit/time/Date.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace OrvelKit {

// A Calendar is a value: copies are cheap (they share the immutable zone and
// locale data) and independent. One value may be used by one thread at a
// time; give each thread its own copy.
//
// Wall-clock times that a daylight-saving change skips resolve to the first
// valid moment after the gap; times it repeats resolve to their first
// occurrence.
class Calendar {
public:
    // An unknown time-zone identifier gives the zone "Etc/Unknown", which keeps
    // UTC (timeZoneId() tells); a locale without data of its own follows the
    // root locale's conventions.
    Calendar(std::string_view timeZoneId, std::string_view localeId);

    // The user's calendar: the process's time zone (TZ, else the system
    // setting) and its default locale (LC_ALL, LC_*, LANG).
    static Calendar current();

    // The same, with the host's time zone looked up again: it may have
    // changed since the process started. It also becomes the process's
    // default zone, so call it from one thread at a time.
    static Calendar host();

    Calendar(const Calendar& other);
    Calendar(Calendar&& other) noexcept;
    Calendar& operator=(const Calendar& other);
    Calendar& operator=(Calendar&& other) noexcept;
    ~Calendar();

    // The identifiers in use, e.g. "Europe/Berlin" and "de_DE".
    const std::string& timeZoneId() const;
    const std::string& localeId() const;

    // The first moment of the day that contains `date`: local midnight, or
    // the first moment after midnight where a daylight-saving change skips it.
    // Gives `date` itself only where the calendar cannot represent the day
    // (at the far ends of the representable range).
    Date startOfDay(Date date) const;

    // `date` moved by whole calendar days, keeping its wall-clock time (a day
    // across a daylight-saving change lasts 23 or 25 hours). Absent when the
    // result cannot be represented.
    std::optional<Date> addingDays(int days, Date date) const;

    // The first moment at `hour`:00:00 on the day that contains `date`
    // (absent for an hour outside 0...23 or an unrepresentable result). When a
    // daylight-saving change skips that time, the next valid time after the
    // gap; when it repeats it, the first occurrence.
    std::optional<Date> settingHour(int hour, Date date) const;

    // The wall-clock hour (0...23) of `date`.
    int hour(Date date) const;

    // Same time zone and locale.
    bool operator==(const Calendar& other) const;

private:
    struct Prototype;
    struct Working;

    explicit Calendar(std::shared_ptr<const Prototype> prototype);
    Working& working() const;

    std::shared_ptr<const Prototype> prototype_;
    // Created from the prototype on first use; never shared between values.
    mutable std::unique_ptr<Working> working_;
};

} // namespace OrvelKit
