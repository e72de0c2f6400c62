#pragma once

// Where local notifications go: the desktop's notification service in the
// app, a recording fake in tests.

#include <functional>
#include <optional>
#include <string>

namespace Orvel {

enum class NotificationSound { standard, critical };

// One notification to show at once.
struct NotificationRequest {
    // The update's id (or the summary's fixed one); a later request with the
    // same id replaces it.
    std::string identifier;
    std::string title;
    std::string subtitle;
    std::optional<std::string> body;
    NotificationSound sound = NotificationSound::standard;
    // Clicking it opens the inbox panel.
    bool opensPanel = false;

    bool operator==(const NotificationRequest&) const = default;
};

class NotifierBackend {
public:
    virtual ~NotifierBackend() = default;

    // Asks the user (or the desktop) for permission to show notifications.
    // `completion` receives the answer once, on any thread.
    virtual void requestAuthorization(std::function<void(bool granted)> completion) = 0;

    // Shows the notification. Failures are not reported.
    virtual void add(const NotificationRequest& request) = 0;
};

} // namespace Orvel
