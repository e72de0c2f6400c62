#include "orvelkit/presentation/ChannelDescriptor.h"
#include "orvelkit/time/InternetDateTime.h"
#include "tests/support/Records.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace OrvelKit;
using namespace OrvelTest;
namespace Presentation = OrvelKit::Presentation;

namespace {

const Date now = at("2025-07-10T12:00:00Z");

// `now` moved back by `seconds`, as wire text.
std::string ago(std::int64_t seconds) {
    return OrvelKit::formatInternetDateTime(now.addingSeconds(-static_cast<double>(seconds)));
}

ChannelInbox entry(std::string id, std::vector<OrvelProtocol::Notification> notifications,
                   std::optional<std::string> name = std::nullopt, bool owned = false) {
    return ChannelInbox(std::move(id), std::move(name), owned, std::move(notifications), {}, 0, 0,
                        0, {});
}

// A channel whose newest update was created at `createdAt`.
ChannelInbox active(std::string id, std::string createdAt) {
    auto update = notification(id, 1, {}, std::move(createdAt));
    return entry(std::move(id), {update});
}

std::vector<std::string> channelIds(const std::vector<ChannelDescriptor>& descriptors) {
    std::vector<std::string> result;
    for (const ChannelDescriptor& descriptor : descriptors) {
        result.push_back(descriptor.channel);
    }
    return result;
}

ChannelDescriptor only(const AppConfig& config, const Inbox& inbox) {
    const auto descriptors = Presentation::channels(config, inbox, now);
    EXPECT_EQ(descriptors.size(), 1u);
    return descriptors.empty() ? ChannelDescriptor{} : descriptors.front();
}

} // namespace

TEST(ChannelDescriptors, AChannelNotYetSyncedIsOwnedAndPendingOtherwiseTheInboxSays) {
    AppConfig config;
    config.channels = {ChannelConfig{"ch", "orvel_pub_x", "2025-07-09T08:00:00Z"}};
    EXPECT_EQ(only(config, Inbox()), (ChannelDescriptor{"ch", "ch", true, ChannelActivity::pending,
                                                        "Waiting for its first update",
                                                        std::nullopt, at("2025-07-09T08:00:00Z")}));
    EXPECT_FALSE(only(config, Inbox({entry("ch", {}, std::nullopt, false)})).owned);
    EXPECT_TRUE(only({}, Inbox({entry("ch", {}, std::nullopt, true)})).owned);
}

TEST(ChannelDescriptors, NamesComeFromTheServiceThenTheNewestSenderThenTheId) {
    auto sender = [](std::uint64_t seq, std::optional<std::string> name) {
        return sentBy(std::move(name),
                      notification("ch", seq, std::nullopt, "2025-07-10T11:00:00Z"));
    };
    // Newest first: only spaces, empty, no sender, padded, then another name.
    const std::vector<OrvelProtocol::Notification> updates = {
        sender(5, "   "), sender(4, ""), sender(3, std::nullopt), sender(2, " \t Builder \n"),
        sender(1, "Older")};
    EXPECT_EQ(only({}, Inbox({entry("ch", updates)})).name, "Builder");
    // A reported name is used as it is, even empty or padded.
    EXPECT_EQ(only({}, Inbox({entry("ch", updates, " Named ")})).name, " Named ");
    EXPECT_EQ(only({}, Inbox({entry("ch", {sender(1, " "), sender(2, std::nullopt)})})).name, "ch");
}

TEST(ChannelDescriptors, ActivityFollowsTheAgeOfTheNewestUpdate) {
    const std::pair<std::int64_t, std::pair<ChannelActivity, const char*>> cases[] = {
        {86399, {ChannelActivity::active, "Active \u00B7 updated 23h ago"}},
        {86400, {ChannelActivity::quiet, "Quiet \u00B7 updated 1d ago"}},
    };
    for (const auto& [seconds, expected] : cases) {
        const ChannelDescriptor descriptor = only({}, Inbox({active("ch", ago(seconds))}));
        EXPECT_EQ(descriptor.activity, expected.first) << seconds;
        EXPECT_EQ(descriptor.detail, expected.second) << seconds;
        EXPECT_EQ(descriptor.lastActivityAt, at(ago(seconds))) << seconds;
    }
}

TEST(ChannelDescriptors, OrderedByLastActivityThenCreationThenId) {
    AppConfig config;
    config.channels = {
        ChannelConfig{"created-late", "t", "2025-07-10T11:00:00Z"},
        ChannelConfig{"created-early", "t", "2025-07-01T00:00:00Z"},
        ChannelConfig{"unreadable", "t", "July"},
        ChannelConfig{"b-never", "t", std::nullopt},
        // A second entry for an id: the first one counts.
        ChannelConfig{"created-early", "t", "2025-07-10T11:59:00Z"},
        // In the inbox too: its update decides.
        ChannelConfig{"synced", "t", "2025-01-01T00:00:00Z"},
    };
    const Inbox channels = Inbox({
        active("same-2", "2025-07-10T10:00:00Z"),
        active("same-1", "2025-07-10T10:00:00Z"),
        active("synced", "2025-07-10T11:30:00Z"),
        entry("a-never", {}),
        active("old", "2025-06-01T00:00:00Z"),
    });
    const auto descriptors = Presentation::channels(config, channels, now);
    EXPECT_EQ(
        channelIds(descriptors),
        (std::vector<std::string>{"synced", "created-late", "same-1", "same-2", "created-early",
                                  "old", "a-never", "b-never", "unreadable"}));
    EXPECT_EQ(descriptors[4].createdAt, at("2025-07-01T00:00:00Z"));
}

TEST(VisibleChannels, ShowsTwoPendingChannelsAndNoIdleOnes) {
    AppConfig config;
    for (const char* id : {"p1", "p2", "p3", "p4", "p5"}) {
        config.channels.push_back(ChannelConfig{id, "t", std::nullopt});
    }
    const Inbox mixed = Inbox({active("a", ago(10)), active("q", ago(100000)),
                               active("i", ago(200000)), active("b", ago(20))});
    EXPECT_EQ(channelIds(Presentation::visibleChannels(config, mixed, now, 10)),
              (std::vector<std::string>{"a", "b", "q", "p1", "p2"}));
    EXPECT_EQ(channelIds(Presentation::visibleChannels(config, mixed, now, 2)),
              (std::vector<std::string>{"a", "b"}));
    EXPECT_TRUE(Presentation::visibleChannels(config, mixed, now, 0).empty());
}
