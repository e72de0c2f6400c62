#include "orvelkit/presentation/MenuBarIndicator.h"
#include "tests/support/Records.h"

#include <gtest/gtest.h>

namespace {

using namespace OrvelTest;
using OrvelProtocol::Notification;
using namespace OrvelKit;
using Presentation::menuBarIndicator;
using Presentation::statusItemAccessibilityLabel;

const Calendar utc("UTC", "en_US");
const Date now = at("2024-05-02T09:00:00Z");

Notification urgent(std::string channel, std::uint64_t seq, const char* status, std::string sender,
                    OrvelProtocol::Urgency urgency) {
    Notification update = sentBy(
        std::move(sender), notification(std::move(channel), seq, status, "2024-05-02T08:00:00Z"));
    update.urgency = urgency;
    return update;
}

TEST(MenuBarIndicator, CountsUnreadAttentionAndFlagsCritical) {
    using U = OrvelProtocol::Urgency;
    Inbox inbox({channelInbox("a", {urgent("a", 1, "need", "one", U::normal),
                                    urgent("a", 2, "failed", "two", U::critical),
                                    urgent("a", 3, "need", "three", U::high),
                                    urgent("a", 4, "running", "four", U::critical)}),
                 // Read attention does not count.
                 channelInbox("b", {urgent("b", 1, "need", "five", U::critical)}, 1)});
    const MenuBarIndicator indicator = menuBarIndicator(inbox, now, utc);
    EXPECT_EQ(indicator,
              (MenuBarIndicator{.emphasis = MenuBarEmphasis::critical, .attentionBadge = "3"}));
    EXPECT_EQ(statusItemAccessibilityLabel(indicator),
              "Orvel, 3 items need attention, including critical");
    // Attention does not depend on the calendar, so the user's gives the same.
    EXPECT_EQ(menuBarIndicator(inbox, now), indicator);

    // Dismissing the critical failure leaves two items of high emphasis.
    inbox.dismiss("a", 2);
    const MenuBarIndicator high = menuBarIndicator(inbox, now, utc);
    EXPECT_EQ(high, (MenuBarIndicator{.emphasis = MenuBarEmphasis::high, .attentionBadge = "2"}));
    EXPECT_EQ(statusItemAccessibilityLabel(high), "Orvel, 2 items need attention");

    inbox.markAllRead();
    EXPECT_EQ(menuBarIndicator(inbox, now, utc), MenuBarIndicator{});
    EXPECT_EQ(statusItemAccessibilityLabel(MenuBarIndicator{}), "Orvel, nothing needs attention");
}

TEST(MenuBarIndicator, BadgeCapsAtNinetyNineSources) {
    std::vector<Notification> asks;
    for (std::uint64_t seq = 1; seq <= 120; ++seq) {
        asks.push_back(sentBy("agent" + std::to_string(seq),
                              notification("a", seq, "need", "2024-05-02T08:00:00Z")));
    }
    const MenuBarIndicator indicator = menuBarIndicator(Inbox({channelInbox("a", asks)}), now, utc);
    EXPECT_EQ(indicator.attentionBadge, "99+");
    EXPECT_EQ(indicator.emphasis, MenuBarEmphasis::high);
}

} // namespace
