#include "orvel/core/Notifier.h"

#include "orvelkit/presentation/DeliveryTiming.h"

#include <utility>

namespace Orvel {

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
