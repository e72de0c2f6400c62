#include "orvel/cli/Reports.h"

#include "orvelkit/presentation/DeliveryTiming.h"
#include "orvelkit/presentation/Triage.h"

#include <algorithm>

namespace Orvel::Cli {

using namespace OrvelKit;

namespace {

std::size_t updateCount(const Inbox& inbox) {
    std::size_t count = 0;
    for (const auto& channel : inbox.channels()) {
        count += channel.notifications().size();
    }
    return count;
}

} // namespace

StatusReport statusReport(const AppModel& model, bool checked) {
    StatusReport report;
    const auto& config = model.config();
    const auto& inbox = model.sourceInbox();
    report.server = config.serverURL;
    report.paired = config.isPaired();
    report.accountId = config.accountId;
    const auto channels = Presentation::channels(config, inbox, model.now());
    report.channels = channels.size();
    report.ownedChannels = static_cast<std::size_t>(std::count_if(
        channels.begin(), channels.end(), [](const auto& channel) { return channel.owned; }));
    report.updates = updateCount(inbox);
    report.unread = inbox.totalUnread();
    const auto briefing = model.smartBriefing();
    report.attention = briefing.attention.size();
    report.unreadAttention = briefing.unreadAttentionCount();
    report.emphasis = Presentation::menuBarIndicator(inbox, model.now(), model.calendar()).emphasis;
    report.checked = checked;
    report.lastError = model.lastError();
    return report;
}

SyncReport syncReport(const AppModel& model) {
    const auto& inbox = model.sourceInbox();
    return SyncReport{model.smartBriefing(), updateCount(inbox), inbox.totalUnread(),
                      model.lastError()};
}

UpdatesReport updatesReport(const AppModel& model, UpdateFilter filter) {
    const auto triage = Presentation::triaged(model.sourceInbox(), model.now());
    return UpdatesReport{filter, Presentation::filteredUpdates(triage.rows, filter)};
}

std::optional<UpdateDetail> updateDetail(const AppModel& model, std::string_view id) {
    auto note = model.note(id);
    if (!note) {
        return std::nullopt;
    }
    const auto& inbox = model.sourceInbox();
    const auto* channel = inbox.channel(note->channel);
    const bool unread = !channel || channel->isUnread(*note);
    UpdateDetail detail;
    detail.row = Presentation::agentRow(*note, unread, model.now());
    detail.descriptor = Presentation::row(*note, unread, model.now(), model.calendar());
    detail.dismissed = channel && channel->isDismissed(note->seq);
    const auto briefing = model.smartBriefing();
    detail.needsAttention = std::any_of(briefing.attention.begin(), briefing.attention.end(),
                                        [&](const AgentRow& row) { return row.id == note->id; });
    if (detail.descriptor.isPending) {
        detail.surfacesAt = Presentation::surfaceTime(*note, model.calendar());
    }
    detail.note = std::move(*note);
    return detail;
}

std::vector<ChannelDescriptor> channelsReport(const AppModel& model) {
    return Presentation::channels(model.config(), model.sourceInbox(), model.now());
}

CardsReport cardsReport(const AppModel& model) {
    return CardsReport{
        Presentation::persistentCards(model.sourceInbox(), model.calendar().localeId()),
        model.pinnedCardIds()};
}

} // namespace Orvel::Cli
