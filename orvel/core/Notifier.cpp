#include "orvel/core/Notifier.h"

#include "orvelkit/presentation/DeliveryTiming.h"

#include <string>
#include <utility>

namespace Orvel {

namespace {

// "1 update", "12 more new updates": the count, then `words` ending in a
// noun that takes an "s" unless the count is 1.
std::string counted(std::size_t count, std::string_view words) {
    std::string text = std::to_string(count) + " ";
    text += words;
    if (count != 1) {
        text += 's';
    }
    return text;
}

const char* needsYou(std::size_t count) {
    return count == 1 ? " needs you" : " need you";
}

} // namespace

Notifier::Notifier(std::shared_ptr<NotifierBackend> backend, OrvelKit::Executor& executor,
                   OrvelKit::Calendar calendar)
    : backend_(std::move(backend)), executor_(executor), calendar_(std::move(calendar)),
      self_(std::make_shared<Notifier*>(this)) {}

Notifier::~Notifier() = default;

void Notifier::prepare() {
    if (!backend_ || ready_) {
        return;
    }
    ready_ = true;
    // The answer may come on any thread and after this notifier is gone: it
    // is carried to the executor and applied only if the notifier still exists.
    backend_->requestAuthorization(
        [executor = &executor_, self = std::weak_ptr<Notifier*>(self_)](bool granted) {
            executor->post([self, granted] {
                if (auto notifier = self.lock()) {
                    (*notifier)->authorized_ = granted;
                }
            });
        });
}

void Notifier::post(const OrvelProtocol::Notification& note, OrvelKit::Date now) {
    if (!ready_ || !authorized_) {
        return;
    }
    const auto surfacesAt = OrvelKit::Presentation::surfaceTime(note, calendar_);
    if (surfacesAt && *surfacesAt > now) {
        return;
    }
    backend_->add(request(note));
}

void Notifier::postSummary(const SyncSummary& summary) {
    if (!ready_ || !authorized_ || summary.count == 0) {
        return;
    }
    backend_->add(summaryRequest(summary));
}

NotificationRequest Notifier::summaryRequest(const SyncSummary& summary) {
    NotificationRequest request;
    request.identifier = summaryIdentifier;
    request.opensPanel = true;
    const std::string more = summary.afterOneByOne ? "more " : "";
    // Says "need you" only of updates that do.
    if (summary.needing == summary.count) {
        request.title = counted(summary.count, more + "update") + needsYou(summary.count);
        return request;
    }
    request.title = counted(summary.count, more + "new update");
    if (summary.needing > 0) {
        request.body = std::to_string(summary.needing) + " of them" + needsYou(summary.needing);
    }
    return request;
}

NotificationRequest Notifier::request(const OrvelProtocol::Notification& note) {
    NotificationRequest request;
    request.identifier = note.id;
    request.title = note.title;
    request.subtitle = note.sender && !note.sender->empty() ? *note.sender : note.channel;
    if (note.body && !note.body->empty()) {
        request.body = *note.body;
    }
    request.sound = note.urgency == OrvelProtocol::Urgency::critical ? NotificationSound::critical
                                                                     : NotificationSound::standard;
    return request;
}

} // namespace Orvel
