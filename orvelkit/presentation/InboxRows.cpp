#include "orvelkit/presentation/InboxRows.h"

#include "orvelkit/presentation/DeliveryTiming.h"

#include <algorithm>

namespace OrvelKit::Presentation {

namespace {

InboxRowDescriptor rowWithoutPending(const OrvelProtocol::Notification& notification, bool isUnread,
                                     Date now) {
    InboxRowDescriptor row{
        .id = notification.id,
        .title = notification.title,
        .sender = senderLabel(notification),
        .body = notification.body,
        .details = notification.details,
        .accent = accent(notification.urgency),
        .isUnread = isUnread,
        .relativeTime = relativeTime(notification.createdAt, now),
        .isCard = notification.kind == OrvelProtocol::Kind::card,
        .fields = {},
        .accentHex = normalizeHex(notification.color),
        .images = imageDescriptors(notification.attachments),
        .isPending = false,
    };
    row.fields.reserve(notification.fields.size());
    for (std::size_t index = 0; index < notification.fields.size(); ++index) {
        row.fields.push_back(CardFieldDescriptor{.id = index,
                                                 .label = notification.fields[index].label,
                                                 .value = notification.fields[index].value});
    }
    return row;
}

struct ListedNotification {
    const OrvelProtocol::Notification* notification;
    bool isUnread;
};

template <class Pending>
InboxDescriptor inboxDescriptor(const Inbox& inbox, Date now, Pending isPending) {
    // Each update keeps the unread flag of the entry that holds it; the
    // stable sort puts them in the order of `Inbox::all`.
    std::vector<ListedNotification> listed;
    for (const ChannelInbox& channel : inbox.channels()) {
        for (const OrvelProtocol::Notification& notification : channel.notifications()) {
            listed.push_back({&notification, channel.isUnread(notification)});
        }
    }
    std::stable_sort(listed.begin(), listed.end(),
                     [](const ListedNotification& a, const ListedNotification& b) {
                         return a.notification->seq > b.notification->seq;
                     });

    InboxDescriptor descriptor;
    descriptor.rows.reserve(listed.size());
    for (const ListedNotification& entry : listed) {
        InboxRowDescriptor row = rowWithoutPending(*entry.notification, entry.isUnread, now);
        row.isPending = isPending(*entry.notification);
        descriptor.rows.push_back(std::move(row));
    }
    descriptor.unreadBadge = countBadge(inbox.totalUnread());
    descriptor.isEmpty = descriptor.rows.empty();
    return descriptor;
}

} // namespace

std::optional<std::string> countBadge(std::size_t count) {
    if (count < 1) {
        return std::nullopt;
    }
    if (count > 99) {
        return std::string("99+");
    }
    return std::to_string(count);
}

InboxRowDescriptor row(const OrvelProtocol::Notification& notification, bool isUnread, Date now) {
    InboxRowDescriptor descriptor = rowWithoutPending(notification, isUnread, now);
    descriptor.isPending = isPending(notification, now);
    return descriptor;
}

InboxRowDescriptor row(const OrvelProtocol::Notification& notification, bool isUnread, Date now,
                       const Calendar& calendar) {
    InboxRowDescriptor descriptor = rowWithoutPending(notification, isUnread, now);
    descriptor.isPending = isPending(notification, now, calendar);
    return descriptor;
}

InboxDescriptor inbox(const Inbox& inbox, Date now) {
    return Presentation::inbox(inbox, now, Calendar::current());
}

InboxDescriptor inbox(const Inbox& inbox, Date now, const Calendar& calendar) {
    return inboxDescriptor(inbox, now,
                           [now, &calendar](const OrvelProtocol::Notification& notification) {
                               return isPending(notification, now, calendar);
                           });
}

} // namespace OrvelKit::Presentation
