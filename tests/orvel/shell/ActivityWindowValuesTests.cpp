// The activity window's pane: groups, metrics and filters over a day's items,
// and how days are named.

#include "orvel/shell/ActivityWindowValues.h"
#include "tests/support/Records.h"

#include <gtest/gtest.h>

namespace {

using namespace OrvelTest;
using Orvel::ActivityDestination;
using Orvel::ActivityFilter;

OrvelProtocol::Notification from(std::string channel, std::uint64_t seq, std::string status,
                                 std::string sender, std::string title) {
    auto note = notification(std::move(channel), seq, std::move(status));
    note.sender = std::move(sender);
    note.title = std::move(title);
    return note;
}

TEST(ActivityWindowValues, ADayIsGroupedCountedAndFiltered) {
    const OrvelKit::Calendar calendar("UTC", "en_US");
    const OrvelKit::Inbox inbox({
        channelInbox("a", {from("a", 1, "need", "CI", "Approve deploy"),
                           from("a", 2, "failed", "CI", "Build broke"),
                           from("a", 3, "done", "CI", "Tests passed"),
                           from("a", 4, "running", "CI", "Deploying")}),
        channelInbox("b", {from("b", 1, "done", "Docs", "Report ready")}),
    });
    Orvel::ActivitySource source;
    source.now = at("2026-12-06T12:00:00Z");
    source.days = OrvelKit::Presentation::activityDays(inbox, source.now, calendar);
    ASSERT_EQ(source.days.size(), 1u);
    const auto today = ActivityDestination::ofDay(source.days.front().date);

    struct Case {
        const char* name;
        ActivityFilter filter;
        std::size_t needsYou, others, completed, running;
    };
    const Case cases[] = {
        {"everything", {"", ""}, 2, 3, 2, 1},
        {"one channel", {"b", ""}, 0, 1, 1, 0},
        {"an agent, in any case", {"", "ci"}, 2, 2, 1, 1},
        {"a summary", {"", "REPORT"}, 0, 1, 1, 0},
        {"nothing", {"a", "report"}, 0, 0, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto pane = Orvel::activityPane(source, today, c.filter, "en_US");
        EXPECT_EQ(pane.needsYou.size(), c.needsYou);
        EXPECT_EQ(pane.others.size(), c.others);
        EXPECT_EQ(pane.completed, c.completed);
        EXPECT_EQ(pane.running, c.running);
        EXPECT_EQ(pane.count, c.needsYou + c.others);
        EXPECT_EQ(pane.emptyState, pane.count == 0 ? Orvel::ActivityEmptyState::noActivityMatches
                                                   : Orvel::ActivityEmptyState::none);
    }
}

TEST(ActivityWindowValues, DaysAreTodayYesterdayOrADateInTheLocale) {
    const OrvelKit::Calendar calendar("America/New_York", "en_US");
    const auto now = at("2026-12-06T03:00:00Z"); // Dec 5, 22:00 in New York
    EXPECT_EQ(Orvel::relativeDay(at("2026-12-05T05:00:00Z"), now, calendar),
              Orvel::RelativeDay::today);
    EXPECT_EQ(Orvel::relativeDay(at("2026-12-05T04:59:00Z"), now, calendar),
              Orvel::RelativeDay::yesterday);
    const auto earlier = at("2026-12-03T06:00:00Z");
    EXPECT_EQ(Orvel::relativeDay(earlier, now, calendar), Orvel::RelativeDay::other);
    EXPECT_EQ(Orvel::localeDayText(earlier, calendar), "Thu, Dec 3");
}

} // namespace
