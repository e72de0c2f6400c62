#include "orvel/shell/HeaderLayout.h"

namespace Orvel {

namespace {

HeaderButton button(HeaderAction action, std::string symbol, std::string label) {
    return HeaderButton{action, std::move(symbol), std::move(label), 15};
}

} // namespace

HeaderLayout headerLayout(const std::vector<AppScreen>& path, bool expandedActivityEnabled,
                          std::size_t unreadAttentionCount) {
    HeaderLayout layout;
    if (path.empty()) {
        layout.showsBrandMark = true;
        layout.brandNeedsYou = unreadAttentionCount > 0;
        layout.trailing.push_back(button(HeaderAction::newChannel, "plus", "New channel"));
        if (expandedActivityEnabled) {
            layout.trailing.push_back(button(
                HeaderAction::openActivity, "arrow.up.left.and.arrow.down.right", "Open Activity"));
        }
        layout.trailing.push_back(button(HeaderAction::settings, "gearshape", "Settings"));
        return layout;
    }
    const auto kind = path.back().kind;
    layout.back = button(HeaderAction::back, "chevron.backward", "Back");
    layout.title = screenTitle(kind);
    layout.showsBrandMark = !layout.title;
    if (kind == AppScreen::Kind::updates) {
        layout.trailing.push_back(button(HeaderAction::markAllRead, "checkmark", "Mark all read"));
    }
    return layout;
}

void performHeaderAction(AppModel& model, HeaderAction action) {
    switch (action) {
    case HeaderAction::back:
        if (model.current().kind == AppScreen::Kind::engage) {
            model.clearEngagement();
        }
        model.back();
        return;
    case HeaderAction::markAllRead:
        model.markAllRead();
        return;
    case HeaderAction::newChannel:
        model.open(AppScreen::engage());
        return;
    case HeaderAction::openActivity:
        if (model.expandedActivityEnabled()) {
            model.requestExpandedActivity();
        }
        return;
    case HeaderAction::settings:
        model.open(AppScreen::settings());
        return;
    }
}

std::optional<std::string> screenTitle(AppScreen::Kind kind) {
    switch (kind) {
    case AppScreen::Kind::card:
        return "Card";
    case AppScreen::Kind::updates:
        return "Updates";
    case AppScreen::Kind::channels:
        return "Channels";
    case AppScreen::Kind::engage:
        return "New channel";
    case AppScreen::Kind::pair:
        return "Pair";
    case AppScreen::Kind::settings:
        return "Settings";
    case AppScreen::Kind::detail:
    case AppScreen::Kind::welcome:
    case AppScreen::Kind::inbox:
        return std::nullopt;
    }
    return std::nullopt;
}

std::string screenName(AppScreen::Kind kind) {
    switch (kind) {
    case AppScreen::Kind::detail:
        return "Detail";
    case AppScreen::Kind::inbox:
        return "Inbox";
    case AppScreen::Kind::welcome:
        return "Welcome";
    default:
        return screenTitle(kind).value_or("");
    }
}

std::string_view screenKey(AppScreen::Kind kind) {
    switch (kind) {
    case AppScreen::Kind::detail:
        return "detail";
    case AppScreen::Kind::card:
        return "card";
    case AppScreen::Kind::inbox:
        return "inbox";
    case AppScreen::Kind::updates:
        return "updates";
    case AppScreen::Kind::channels:
        return "channels";
    case AppScreen::Kind::engage:
        return "engage";
    case AppScreen::Kind::pair:
        return "pair";
    case AppScreen::Kind::welcome:
        return "welcome";
    case AppScreen::Kind::settings:
        return "settings";
    }
    return "inbox";
}

} // namespace Orvel
