// The inbox screen's view model: one recompute per change, the banners, and
// the rules of the all-clear card and the updates link.

#include "orvel/shell/InboxScreenModel.h"
#include "tests/orvel/core/ModelHarness.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <set>

namespace {

using namespace OrvelTest;
using OrvelKit::BriefingScope;
using OrvelProtocol::SyncResponse;

TEST(InboxScreenModel, ARefreshIsOneRecomputeWithTheAttentionRowsAsAnItemModel) {
    ModelHarness h;
    h.paired();
    auto first = notification("a", 1, "need");
    first.sender = "deployer";
    auto second = notification("a", 2, "failed");
    second.sender = "reviewer";
    h.service->answer("sync", SyncResponse{{channelSync("a", {first, second})}});
    h.build();
    Orvel::InboxScreenModel screen(*h.model, h.executor);
    EXPECT_TRUE(screen.empty());
    QSignalSpy changed(&screen, &Orvel::InboxScreenModel::changed);

    h.clock.advance(60);
    h.run(h.model->refresh());
    EXPECT_EQ(changed.count(), 1) << "several fields changed in one turn";
    EXPECT_FALSE(screen.empty());
    EXPECT_EQ(screen.attentionCount(), 2);
    EXPECT_EQ(screen.unreadAttentionCount(), 2);

    auto* rows = screen.attentionRows();
    ASSERT_EQ(rows->rowCount(), 2);
    const auto roles = rows->roleNames();
    std::set<QString> agents;
    for (int i = 0; i < rows->rowCount(); ++i) {
        agents.insert(rows->data(rows->index(i), roles.key("agent")).toString());
    }
    EXPECT_EQ(agents, (std::set<QString>{"deployer", "reviewer"}));
    EXPECT_FALSE(rows->data(rows->index(5), roles.key("agent")).isValid());

    // A failed sync shows its text in the error banner.
    h.service->fail("sync", 500);
    h.run(h.model->refresh());
    EXPECT_EQ(screen.errorText(), "http(status: 500)");
}

TEST(InboxScreenModel, TheAllClearCardAndTheUpdatesLinkFollowTheirCounts) {
    using Orvel::allClearText;
    EXPECT_EQ(allClearText(0, BriefingScope::sinceLastVisit), "No decisions are waiting");
    EXPECT_EQ(allClearText(1, BriefingScope::overnight),
              "1 agents completed work in this briefing");
    EXPECT_EQ(allClearText(3, BriefingScope::sinceLastVisit),
              "3 agents completed work since your last visit");

    using Orvel::updatesLinkDetail;
    EXPECT_EQ(updatesLinkDetail(0, 0), "Chronological history");
    EXPECT_EQ(updatesLinkDetail(0, 7), "7 background updates");
    EXPECT_EQ(updatesLinkDetail(2, 0), "2 more needing attention");
    EXPECT_EQ(updatesLinkDetail(2, 7), "2 more needing attention · 7 background");
}

} // namespace
