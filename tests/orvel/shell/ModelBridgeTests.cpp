// The bridge follows the model: properties read the new state and each change
// of the model is announced once, by its group's signal.

#include "orvel/shell/ModelBridge.h"
#include "orvel/shell/SafeMarkdown.h"
#include "tests/orvel/core/ModelHarness.h"
#include "tests/orvel/shell/QtPrinters.h"
#include "tests/support/Records.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
namespace {

using namespace OrvelTest;
using OrvelProtocol::SyncResponse;

struct BridgeHarness : ModelHarness {
    std::unique_ptr<Orvel::ModelBridge> bridge;

    Orvel::ModelBridge& make() {
        build();
        bridge = std::make_unique<Orvel::ModelBridge>(*model, executor, nullptr);
        return *bridge;
    }
};

TEST(ModelBridge, ARefreshUpdatesThePropertiesAndSignalsEachChangeOnce) {
    BridgeHarness h;
    h.paired();
    auto critical = notification("a", 1, "need");
    critical.sender = "deployer";
    critical.urgency = OrvelProtocol::Urgency::critical;
    auto second = notification("a", 2, "need");
    second.sender = "reviewer";
    h.service->answer("sync", SyncResponse{{channelSync("a", {critical, second})}});
    auto& bridge = h.make();
    EXPECT_EQ(bridge.indicator().badge(), "");
    EXPECT_EQ(bridge.indicator().accessibilityLabel(), "Orvel, nothing needs attention");

    std::vector<Orvel::ModelField> fields;
    auto subscription = h.model->observe([&](Orvel::ModelField f) { fields.push_back(f); });
    QSignalSpy inbox(&bridge, &Orvel::ModelBridge::inboxChanged);
    QSignalSpy now(&bridge, &Orvel::ModelBridge::nowChanged);
    QSignalSpy presentation(&bridge, &Orvel::ModelBridge::presentationChanged);
    QSignalSpy sequence(&bridge, &Orvel::ModelBridge::newNotificationSequenceChanged);
    QSignalSpy navigation(&bridge, &Orvel::ModelBridge::navigationChanged);
    QSignalSpy config(&bridge, &Orvel::ModelBridge::configChanged);
    QSignalSpy preferences(&bridge, &Orvel::ModelBridge::preferencesChanged);

    h.clock.advance(60);
    h.run(h.model->refresh());

    const auto count = [&](Orvel::ModelField field) {
        return static_cast<int>(std::count(fields.begin(), fields.end(), field));
    };
    ASSERT_GT(count(Orvel::ModelField::inbox), 0);
    EXPECT_EQ(inbox.count(), count(Orvel::ModelField::inbox));
    EXPECT_EQ(now.count(), count(Orvel::ModelField::now));
    EXPECT_EQ(sequence.count(), count(Orvel::ModelField::newNotificationSequence));
    EXPECT_EQ(config.count(), count(Orvel::ModelField::config));
    EXPECT_EQ(presentation.count(),
              count(Orvel::ModelField::inbox) + count(Orvel::ModelField::now));
    EXPECT_EQ(navigation.count(), 0);
    EXPECT_EQ(preferences.count(), 0);

    EXPECT_EQ(bridge.indicator().badge(), "2");
    EXPECT_TRUE(bridge.indicator().critical());
    EXPECT_EQ(bridge.indicator().accessibilityLabel(),
              "Orvel, 2 items need attention, including critical");
    EXPECT_TRUE(bridge.headerBrandNeedsYou());
    EXPECT_EQ(bridge.newNotificationSequence(), h.model->newNotificationSequence());
}

TEST(ModelBridge, NavigationAndTheHeaderFollowThePath) {
    BridgeHarness h;
    auto& bridge = h.make();
    QSignalSpy navigation(&bridge, &Orvel::ModelBridge::navigationChanged);
    QSignalSpy header(&bridge, &Orvel::ModelBridge::headerChanged);
    EXPECT_EQ(bridge.currentScreen(), Orvel::ModelBridge::Inbox);
    EXPECT_FALSE(bridge.headerShowsBack());
    EXPECT_TRUE(bridge.headerShowsBrandMark());
    EXPECT_EQ(bridge.headerTrailing().size(), 2);

    bridge.open(Orvel::ModelBridge::Updates);
    EXPECT_EQ(navigation.count(), 1);
    EXPECT_EQ(header.count(), 1);
    EXPECT_EQ(bridge.currentScreen(), Orvel::ModelBridge::Updates);
    EXPECT_EQ(bridge.currentScreenName(), "Updates");
    EXPECT_EQ(bridge.headerTitle(), "Updates");
    EXPECT_TRUE(bridge.headerShowsBack());
    const auto trailing = bridge.headerTrailing();
    ASSERT_EQ(trailing.size(), 1);
    EXPECT_EQ(trailing[0].toMap()["label"].toString(), "Mark all read");

    bridge.open(Orvel::ModelBridge::Detail, "u-7");
    EXPECT_EQ(bridge.currentId(), "u-7");
    EXPECT_EQ(bridge.headerTitle(), "");
    EXPECT_TRUE(bridge.headerShowsBrandMark());
    bridge.open(static_cast<Orvel::ModelBridge::Screen>(42));
    EXPECT_EQ(navigation.count(), 2);

    bridge.performHeaderAction(Orvel::ModelBridge::Back);
    bridge.performHeaderAction(static_cast<Orvel::ModelBridge::HeaderAction>(42)); // ignored
    EXPECT_EQ(bridge.currentScreen(), Orvel::ModelBridge::Updates);

    // The expanded activity setting adds "Open Activity" on the inbox.
    bridge.back();
    header.clear();
    h.model->setExpandedActivityEnabled(true);
    EXPECT_EQ(header.count(), 1);
    EXPECT_EQ(bridge.headerTrailing().size(), 3);
}

TEST(ModelBridge, EachOpeningIsOneBriefingSessionAndOneSync) {
    BridgeHarness h;
    h.build();
    Orvel::UpdaterController updater(nullptr, nullptr, h.executor);
    Orvel::ModelBridge bridge(*h.model, h.executor, &updater);
    EXPECT_FALSE(h.model->briefingBaseline());

    bridge.rootViewAppeared();
    h.executor.runUntilIdle();
    EXPECT_TRUE(updater.visibleInterfaces().contains("popover"));
    EXPECT_EQ(h.service->requestsTo("sync").size(), 1u);
    const auto opened = h.preferences->dateValue("lastInboxOpenedAt");
    ASSERT_TRUE(opened);
    const auto baseline = h.model->briefingBaseline();
    bridge.rootViewDisappeared();
    EXPECT_FALSE(updater.visibleInterfaces().contains("popover"));

    // Hidden, the header (whose brand mark reads the briefing) is announced
    // once, on the next opening.
    QSignalSpy header(&bridge, &Orvel::ModelBridge::headerChanged);
    h.model->open(Orvel::AppScreen::detail("a-1"));
    h.model->back();
    EXPECT_EQ(header.count(), 0);

    // Opened again within a minute: another sync, and the baseline stays.
    h.clock.advance(30);
    bridge.rootViewAppeared();
    h.executor.runUntilIdle();
    EXPECT_EQ(h.model->briefingBaseline(), baseline);
    EXPECT_EQ(h.preferences->dateValue("lastInboxOpenedAt"), opened);
    EXPECT_EQ(h.service->requestsTo("sync").size(), 2u);
    EXPECT_EQ(header.count(), 1);
}

TEST(ModelBridge, MarkdownLinksOpenOnlyOnTheWeb) {
    // Which addresses are web links is MarkdownPresentation's IsWebLink.
    EXPECT_TRUE(Orvel::mayOpenLink("https://ci.example/run/1"));
    EXPECT_FALSE(Orvel::mayOpenLink("javascript:alert(1)"));

    EXPECT_FALSE(Orvel::SafeMarkdown().openLink("file:///etc/passwd"));
}

} // namespace
