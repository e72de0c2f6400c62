// The updates list takes its triage from work that may finish late and out
// of order: only the newest is shown, and none reaches a list that is gone.

#include "orvel/shell/UpdatesListModel.h"
#include "tests/orvel/core/ModelHarness.h"
#include "tests/support/Eventually.h"
#include "tests/support/Records.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QThreadPool>

namespace {

using namespace OrvelTest;

// `count` updates on channel "a".
std::vector<OrvelProtocol::ChannelSync> updates(std::uint64_t count) {
    std::vector<OrvelProtocol::Notification> notes;
    for (std::uint64_t seq = 1; seq <= count; ++seq) {
        notes.push_back(notification("a", seq, "done"));
    }
    return {channelSync("a", std::move(notes))};
}

TEST(UpdatesListModel, OnlyTheNewestTriageIsShownWhateverOrderTheyFinishIn) {
    ModelHarness h;
    h.synced(updates(1), {"a"});
    h.model->open(Orvel::AppScreen::updates());
    std::vector<Orvel::UpdatesListModel::Work> pending;
    Orvel::UpdatesListModel list(*h.model, h.executor, [&](Orvel::UpdatesListModel::Work work) {
        pending.push_back(std::move(work));
    });
    h.syncAnswers(updates(3));
    h.run(h.model->refresh());
    ASSERT_GE(pending.size(), 2u);
    EXPECT_FALSE(list.ready());

    pending.back()()();
    EXPECT_EQ(list.updateCount(), 3);
    pending.front()()();
    EXPECT_EQ(list.updateCount(), 3) << "the older triage came late and is dropped";
}

TEST(UpdatesListModel, ATriageOnThePoolReachesTheListOrNothingWhenItIsGone) {
    ModelHarness h;
    h.synced(updates(2), {"a"});
    h.model->open(Orvel::AppScreen::updates());
    Orvel::UpdatesListModel list(*h.model, h.executor, Orvel::UpdatesListModel::threadPoolRunner());
    EXPECT_TRUE(eventually([&] {
        QCoreApplication::processEvents();
        return list.updateCount() == 2;
    }));

    auto gone = std::make_unique<Orvel::UpdatesListModel>(
        *h.model, h.executor, Orvel::UpdatesListModel::threadPoolRunner());
    gone.reset();
    QThreadPool::globalInstance()->waitForDone();
    QCoreApplication::processEvents();
}

} // namespace
