// The inbox screen's view model: one recompute per change, its attention rows
// and the error banner.

#include "orvel/shell/InboxScreenModel.h"
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

} // namespace
