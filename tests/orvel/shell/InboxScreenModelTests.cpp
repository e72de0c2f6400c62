// The inbox screen's view model: one recompute per change, its attention rows
// and the error banner, and none while nothing shown changes or the panel is
// hidden.

#include "orvel/shell/InboxScreenModel.h"
#include "orvelkit/time/InternetDateTime.h"
#include "tests/orvel/core/ModelHarness.h"

#include <gtest/gtest.h>

#include <QSignalSpy>

namespace {

using namespace OrvelTest;
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
    // The rows as the view shows them are tst_InboxScreen's.
    EXPECT_EQ(screen.attentionRows()->rowCount(), 2);

    // A failed sync shows its text in the error banner.
    h.service->fail("sync", 500);
    h.run(h.model->refresh());
    EXPECT_EQ(screen.errorText(), "http(status: 500)");
}

TEST(InboxScreenModel, IdleSyncsRecomputeOnlyInANewMinuteAndAHiddenScreenCatchesUpWhenShown) {
    ModelHarness h;
    h.paired();
    // The clock starts on a whole minute; the update is 4m10s old then.
    const auto stamped = OrvelKit::formatInternetDateTime(h.clock.now().addingSeconds(-250));
    const auto need = [&](std::uint64_t seq) {
        auto note = notification("a", seq, "need", stamped);
        note.sender = "agent " + std::to_string(seq);
        return note;
    };
    h.syncAnswers({channelSync("a", {need(1)})});
    h.build();
    Orvel::InboxScreenModel screen(*h.model, h.executor);
    h.run(h.model->refresh());
    const auto relativeTime = [&] { return screen.values().attention.at(0).relativeTime; };
    EXPECT_EQ(relativeTime(), "4m");
    QSignalSpy changed(&screen, &Orvel::InboxScreenModel::changed);

    // The service answers the same every 20 seconds.
    for (const auto& [step, recomputes, shown] :
         {std::tuple{1, 0, "4m"}, {2, 0, "4m"}, {3, 1, "5m"}, {4, 1, "5m"}}) {
        h.clock.advance(20);
        h.run(h.model->refresh());
        EXPECT_EQ(changed.count(), recomputes) << "sync " << step;
        EXPECT_EQ(relativeTime(), shown) << "sync " << step;
    }

    screen.setActive(false);
    h.syncAnswers({channelSync("a", {need(1), need(2)})});
    h.run(h.model->refresh());
    h.clock.advance(60);
    h.run(h.model->refresh());
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(screen.attentionCount(), 1);

    screen.setActive(true);
    EXPECT_EQ(changed.count(), 2) << "once, at once";
    EXPECT_EQ(screen.attentionCount(), 2);
    EXPECT_EQ(relativeTime(), "6m");
    h.executor.runUntilIdle();
    EXPECT_EQ(changed.count(), 2);
}

} // namespace
