#include "orvelkit/presentation/BriefingTexts.h"
#include "tests/support/Records.h"

#include <gtest/gtest.h>

namespace {

using namespace OrvelTest;
using OrvelProtocol::Notification;
using namespace OrvelKit;
using namespace OrvelKit::Presentation;

SmartBriefing briefingWith(BriefingPeriod period, BriefingScope scope, std::size_t attention,
                           std::size_t updates, std::size_t sources) {
    SmartBriefing briefing;
    briefing.period = period;
    briefing.scope = scope;
    briefing.attention.resize(attention);
    briefing.updatesInWindow = updates;
    briefing.agentsInWindow = sources;
    return briefing;
}

TEST(BriefingTexts, HeadlineFollowsThePeriodUnlessNothingNeedsAttention) {
    const std::pair<BriefingPeriod, const char*> headlines[] = {
        {BriefingPeriod::morning, "While you were away"},
        {BriefingPeriod::afternoon, "A few things need you"},
        {BriefingPeriod::evening, "Before you wrap up"},
        {BriefingPeriod::night, "Only the important things"}};
    for (const auto& [period, headline] : headlines) {
        EXPECT_EQ(briefingHeadline(briefingWith(period, BriefingScope::overnight, 1, 0, 0)),
                  headline);
        EXPECT_EQ(briefingHeadline(briefingWith(period, BriefingScope::overnight, 0, 5, 2)),
                  "Everything is covered");
    }
}

TEST(BriefingTexts, SummaryCoversUpdatesAndAttention) {
    const auto summary = [](BriefingScope scope, std::size_t attention, std::size_t updates,
                            std::size_t sources) {
        return briefingSummary(
            briefingWith(BriefingPeriod::morning, scope, attention, updates, sources));
    };
    EXPECT_EQ(summary(BriefingScope::overnight, 0, 4, 1),
              "4 updates from 1 channel overnight. Nothing needs a decision.");
    EXPECT_EQ(summary(BriefingScope::thisMorning, 1, 1, 2),
              "1 item needs attention in total. 1 update from 2 channels this "
              "morning.");
    EXPECT_EQ(summary(BriefingScope::sinceLastVisit, 3, 7, 3),
              "3 items need attention in total. 7 updates from 3 channels since "
              "your last "
              "visit.");
    EXPECT_EQ(summary(BriefingScope::thisAfternoon, 0, 0, 0),
              "No new updates this afternoon. Things are quiet.");
    EXPECT_EQ(summary(BriefingScope::thisEvening, 1, 0, 0),
              "Nothing new this evening. 1 earlier items still need attention.");
    EXPECT_EQ(summary(BriefingScope::overnight, 2, 0, 0),
              "Nothing new overnight. 2 earlier items still need attention.");
}

TEST(BriefingTexts, SummaryOfAComputedBriefing) {
    const Calendar utc("UTC", "en_US");
    const Inbox inbox({channelInbox(
        "ci", {sentBy("bot", notification("ci", 1, "running", "2024-05-02T01:00:00Z")),
               sentBy("bot", notification("ci", 2, "done", "2024-05-02T02:00:00Z")),
               sentBy("bot", notification("ci", 3, "done", "2024-05-02T03:00:00Z")),
               sentBy("bot", notification("ci", 4, "done", "2024-05-02T04:00:00Z"))})});
    const SmartBriefing briefing =
        smartBriefing(inbox, at("2024-05-02T07:00:00Z"), std::nullopt, utc);
    EXPECT_EQ(briefingSummary(briefing),
              "4 updates from 1 channel overnight. Nothing needs a decision.");
    EXPECT_EQ(briefingHeadline(briefing), "Everything is covered");
}

} // namespace
