// The development inbox stands in for an empty one: it must read like real
// data to every screen, at whatever time it is shown.

#include "orvel/core/SampleData.h"
#include "orvelkit/json/Json.h"
#include "orvelkit/presentation/ActivityDayDescriptor.h"
#include "orvelkit/presentation/InboxRows.h"
#include "orvelkit/presentation/MenuBarIndicator.h"
#include "orvelkit/presentation/PersistentCardDescriptor.h"
#include "orvelkit/presentation/PresentationHelpers.h"
#include "orvelkit/presentation/SmartBriefing.h"
#include "orvelkit/presentation/Triage.h"

#include <gtest/gtest.h>

namespace Orvel {
namespace {

using namespace OrvelKit;

// A record survives its wire form, and its time lies within the day before
// `now`, in whole seconds.
template <class Record>
void expectWireReadyAndRecent(const Record& record, Date now) {
    SCOPED_TRACE(record.id);
    const auto wire = Json::encode(record);
    ASSERT_TRUE(wire);
    const auto back = Json::decode<Record>(*wire);
    ASSERT_TRUE(back) << *wire;
    EXPECT_EQ(*back, record);
    const auto created = Presentation::parseISO(record.createdAt);
    ASSERT_TRUE(created) << record.createdAt;
    EXPECT_LE(*created, now);
    EXPECT_LT(now.timeIntervalSince(*created), 24 * 3600.0);
    EXPECT_EQ(record.createdAt.size(), std::string_view("2026-12-06T10:00:00Z").size());
}

TEST(SampleData, EveryUpdateDecodesAndTheSampleInboxShowsInEveryScreen) {
    const Calendar utc("UTC", "en_US");
    // 10:00:00.75Z, and three days and a bit later.
    const Date tenOClock = Date::fromMicrosecondsSinceEpoch(1796551200750000);
    for (const Date now : {tenOClock, tenOClock.addingSeconds(3 * 24 * 3600 + 1234.5)}) {
        const Inbox inbox = SampleData::inbox(now);
        const auto updates = inbox.all();
        ASSERT_GE(updates.size(), 5u);
        for (const auto& update : updates) {
            expectWireReadyAndRecent(update, now);
        }
        for (const auto& channel : inbox.channels()) {
            for (const auto& card : channel.cardUpdates()) {
                expectWireReadyAndRecent(card, now);
            }
        }
        EXPECT_EQ(inbox.totalUnread(), updates.size());
        EXPECT_EQ(Presentation::inbox(inbox, now, utc).rows.size(), updates.size());
        EXPECT_EQ(Presentation::triaged(inbox, now).rows.size(), updates.size());
        const auto briefing = Presentation::smartBriefing(inbox, now, std::nullopt, utc);
        EXPECT_FALSE(briefing.attention.empty());
        EXPECT_FALSE(briefing.onRadar.empty());
        EXPECT_FALSE(Presentation::activityDays(inbox, now, utc).empty());
        EXPECT_EQ(Presentation::persistentCards(inbox, "en_US").size(), 1u);
        EXPECT_TRUE(Presentation::menuBarIndicator(inbox, now, utc).attentionBadge);
    }
}

} // namespace
} // namespace Orvel
