#pragma once

// Turns newly synced updates into local notifications. Decides nothing about
// novelty: it only refuses to post when it may not, or when an update is not
// due yet.

#include "orvel/core/NotifierBackend.h"
#include "orvel/core/SyncAnnouncements.h"
#include "orvelkit/async/Executor.h"
#include "orvelkit/protocol/Notification.h"
#include "orvelkit/time/Calendar.h"
#include "orvelkit/time/Date.h"

#include <memory>
#include <string_view>

namespace Orvel {

class Notifier {
public:
    // Without a backend (no notification service) the notifier stays silent.
    // The permission answer is applied on `executor`.
    Notifier(std::shared_ptr<NotifierBackend> backend, OrvelKit::Executor& executor,
             OrvelKit::Calendar calendar);
    ~Notifier();
    Notifier(const Notifier&) = delete;
    Notifier& operator=(const Notifier&) = delete;

    // Marks the notifier ready and asks for permission, when there is a
    // backend; otherwise does nothing.
    void prepare();

    // Posts `note` when ready and authorized and its surface time is not
    // after `now`.
    void post(const OrvelProtocol::Notification& note, OrvelKit::Date now);

    // Posts the summary of a sync when ready and authorized. Every summary
    // has the same identifier, so it replaces the one before.
    void postSummary(const SyncSummary& summary);

    // The request `post` sends for `note`.
    static NotificationRequest request(const OrvelProtocol::Notification& note);
    // The request `postSummary` sends; clicking it opens the panel.
    static NotificationRequest summaryRequest(const SyncSummary& summary);

    static constexpr std::string_view summaryIdentifier = "orvel.sync-summary";

    bool ready() const { return ready_; }
    bool authorized() const { return authorized_; }

private:
    std::shared_ptr<NotifierBackend> backend_;
    OrvelKit::Executor& executor_;
    OrvelKit::Calendar calendar_;
    bool ready_ = false;
    bool authorized_ = false;
    // Lets a late permission answer find out that the notifier is gone.
    std::shared_ptr<Notifier*> self_;
};

} // namespace Orvel
