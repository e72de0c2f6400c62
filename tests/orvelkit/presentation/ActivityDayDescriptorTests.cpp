#include "orvelkit/presentation/ActivityDayDescriptor.h"
#include "orvelkit/presentation/Triage.h"
#include "tests/support/RecordGenerator.h"
#include "tests/support/Records.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace OrvelKit;
using namespace OrvelTest;
namespace Presentation = OrvelKit::Presentation;

namespace {

const Calendar berlin("Europe/Berlin", "de_DE");
const Calendar utc("UTC", "en_US");
using Ids = std::vector<std::string>;

} // namespace

TEST(ActivityDays, DaysEndAtMidnightInTheCalendarsTimeZone) {
    // Berlin: 23:59 and 00:01 around a midnight at UTC+1; 31 March 2024 lasts
    // 23 hours, 27 October 25.
    const Inbox inbox(
        {channelInbox("ch", {notification("ch", 1, {}, "2024-03-10T22:59:00Z"),
                             notification("ch", 2, {}, "2024-03-10T23:01:00Z"),
                             notification("ch", 3, {}, "2024-03-31T00:30:00+01:00"),
                             notification("ch", 4, {}, "2024-03-31T23:30:00+02:00"),
                             notification("ch", 5, {}, "2024-10-27T02:30:00+01:00"),
                             notification("ch", 6, {}, "2024-10-27T02:30:00+02:00")})});
    const Date now = at("2024-11-01T00:00:00Z");
    std::vector<std::pair<Date, Ids>> days;
    for (const ActivityDayDescriptor& day : Presentation::activityDays(inbox, now, berlin)) {
        days.emplace_back(day.date, ids(day.items));
    }
    EXPECT_EQ(days, (std::vector<std::pair<Date, Ids>>{
                        {at("2024-10-27T00:00:00+02:00"), {"ch-5", "ch-6"}},
                        {at("2024-03-31T00:00:00+01:00"), {"ch-4", "ch-3"}},
                        {at("2024-03-11T00:00:00+01:00"), {"ch-2"}},
                        {at("2024-03-10T00:00:00+01:00"), {"ch-1"}}}));
    EXPECT_EQ(Presentation::activityDays(inbox, now, utc)[3].date, at("2024-03-10T00:00:00Z"));
}

TEST(ActivityDays, DaysReadInTurnFollowTriagesOrder) {
    // Timestamps in no particular order, some unreadable, some shared.
    RecordGenerator generator(99);
    std::vector<ChannelInbox> channels;
    for (int c = 0; c < 6; ++c) {
        const std::string id = "ch" + std::to_string(c);
        std::vector<OrvelProtocol::Notification> updates;
        for (std::uint64_t seq = 1; seq <= 300; ++seq) {
            auto update = generator.notification(id, seq);
            update.createdAt = generator.chance(5) ? "unreadable"
                               : generator.chance(30)
                                   ? generator.timestamp(seq * 600)
                                   : generator.timestamp(generator.below(40) * 3600);
            updates.push_back(std::move(update));
        }
        channels.push_back(channelInbox(id, std::move(updates), generator.below(300)));
    }
    const Inbox inbox(std::move(channels));
    const Date now = at("2025-07-05T00:00:00Z");
    std::vector<std::string> flattened;
    for (const ActivityDayDescriptor& day : Presentation::activityDays(inbox, now, berlin)) {
        for (const ActivityItemDescriptor& item : day.items) {
            EXPECT_EQ(berlin.startOfDay(item.createdAt), day.date);
            flattened.push_back(item.id);
        }
    }
    std::vector<std::string> triaged;
    for (const AgentRow& row : Presentation::triaged(inbox, now).rows) {
        if (!row.relativeTime.empty()) {
            triaged.push_back(row.id);
        }
    }
    EXPECT_EQ(flattened, triaged);
}
