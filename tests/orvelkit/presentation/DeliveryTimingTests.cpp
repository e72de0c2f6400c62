#include "orvelkit/presentation/DeliveryTiming.h"
#include "orvelkit/presentation/PresentationHelpers.h"
#include "tests/support/Records.h"

#include <gtest/gtest.h>

using OrvelKit::Calendar;
using OrvelKit::Date;
using OrvelProtocol::Notification;
namespace Presentation = OrvelKit::Presentation;

namespace {

std::optional<Date> at(const char* timestamp) {
    return timestamp ? Presentation::parseISO(timestamp) : std::nullopt;
}

Notification update(std::optional<std::string> deliverWhen, std::string createdAt,
                    std::uint64_t seq = 1, std::string id = "n") {
    Notification n = OrvelTest::notification("ch", seq, {}, std::move(createdAt));
    n.id = std::move(id);
    n.deliverWhen = std::move(deliverWhen);
    return n;
}

const Calendar berlin("Europe/Berlin", "de_DE");

} // namespace

TEST(SurfaceTime, MorningIsTheNextEightOClockNextDayTheFollowingDayElseTheTimeGiven) {
    const char* createdAt = "2024-05-10T07:30:00+02:00";
    const char* berlinZone = "Europe/Berlin";
    const std::tuple<const char*, std::optional<std::string>, const char*, const char*> cases[] = {
        // Keywords ignore case and surrounding white space (em space, next
        // line, line separator).
        {berlinZone, "\t\xe2\x80\x83MORNING\r\n\xc2\x85", createdAt, "2024-05-10T08:00:00+02:00"},
        {berlinZone, " Next_Day\xe2\x80\xa8", createdAt, "2024-05-11T08:00:00+02:00"},
        {berlinZone, std::nullopt, createdAt, nullptr},
        // Anything else is an absolute timestamp, as written once trimmed.
        {berlinZone, " 2030-01-01T09:00:00.5+01:00\n", createdAt, "2030-01-01T08:00:00.5Z"},
        {berlinZone, "morning", "2024-05-10T08:00:00+02:00", "2024-05-11T08:00:00+02:00"},
        // Local time decides the day: 23:30Z is already 01:30 the next day.
        {berlinZone, "morning", "2024-05-09T23:30:00Z", "2024-05-10T08:00:00+02:00"},
        // Across daylight-saving changes.
        {berlinZone, "morning", "2024-03-30T09:00:00+01:00", "2024-03-31T08:00:00+02:00"},
        // Without a readable creation time a deferred update surfaces at once.
        {berlinZone, "next_day", "2024-05-10 07:30", nullptr}};
    for (const auto& [zone, deliverWhen, created, expected] : cases) {
        EXPECT_EQ(Presentation::surfaceTime(update(deliverWhen, created), Calendar(zone, "en_US")),
                  at(expected))
            << zone << " " << deliverWhen.value_or("(absent)") << " " << created;
    }
}

TEST(IsPending, OnlyWhileTheSurfaceTimeIsAhead) {
    const Date now = *at("2024-05-10T12:00:00+02:00");
    // Absolute times do not depend on the user's calendar.
    EXPECT_TRUE(Presentation::isPending(update("2024-05-10T12:00:01+02:00", ""), now));
    EXPECT_FALSE(Presentation::isPending(update("2024-05-10T12:00:00+02:00", ""), now));
    EXPECT_FALSE(Presentation::isPending(update("someday", ""), now));
    EXPECT_TRUE(Presentation::isPending(update("morning", "2024-05-17T12:00:00Z"), now));
}

TEST(Bannerable, NewAndDueUpdatesInSequenceOrder) {
    const Date now = *at("2024-05-10T12:00:00+02:00");
    const char* earlier = "2024-05-01T09:00:00+02:00";
    OrvelProtocol::SyncResponse response;
    response.channels.resize(3);
    response.channels[0].channel = "alpha";
    response.channels[0].notifications = {
        update(std::nullopt, earlier, 5, "a5"), update("immediately", earlier, 3, "a3"),
        update("2024-05-10T13:00:00+02:00", earlier, 7, "a7-later"),
        update(std::nullopt, earlier, 2, "a2"),
        update("2024-05-10T11:00:00+02:00", earlier, 8, "a8-due")};
    response.channels[1].channel = "beta";
    response.channels[1].notifications = {
        update(std::nullopt, earlier, 3, "b3"), update("morning", earlier, 1, "b1-surfaced"),
        update("next_day", "2024-05-10T11:00:00+02:00", 4, "b4-tomorrow")};
    response.channels[2].channel = "gamma";

    using OrvelTest::ids;
    using Ids = std::vector<std::string>;
    // Equal sequence numbers of different channels keep response order.
    EXPECT_EQ(ids(Presentation::bannerable(response, {{"alpha", 2}, {"gamma", 9}}, now, berlin)),
              (Ids{"b1-surfaced", "a3", "b3", "a5", "a8-due"}));
    EXPECT_EQ(ids(Presentation::bannerable(response, {}, now, berlin)),
              (Ids{"b1-surfaced", "a2", "a3", "b3", "a5", "a8-due"}));
    EXPECT_EQ(ids(Presentation::bannerable(response, {{"alpha", 8}, {"beta", 3}},
                                           *at("2024-05-11T08:00:00+02:00"), berlin)),
              Ids{"b4-tomorrow"});
    // With the user's calendar (only absolute times left).
    response.channels[1].notifications.resize(1);
    EXPECT_EQ(ids(Presentation::bannerable(response, {{"alpha", 4}}, now)),
              (Ids{"b3", "a5", "a8-due"}));
}
