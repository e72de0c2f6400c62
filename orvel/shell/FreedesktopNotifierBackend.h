#pragma once

// Local notifications through the desktop's notification service
// (org.freedesktop.Notifications on the session bus). The title is the
// summary; subtitle and body share the body, the update's Markdown reduced to
// plain text (escaped for servers that read markup). A critical update is
// sent with critical urgency and the alarm sound hint. Every notification
// carries the app's icon and desktop entry, so the desktop groups them. A
// request whose identifier was shown before replaces that notification; one
// that opens the panel does so through `onOpenPanel` when clicked.
//
// Without a session bus or a notification service nothing is shown and
// nothing is reported.

// moc in Qt 6.4 cannot parse C++20 concepts; it needs none of these.
#ifndef Q_MOC_RUN
#include "orvel/core/NotifierBackend.h"
#endif

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantMap>
#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>

namespace Orvel {

class FreedesktopNotifierBackend final : public QObject, public NotifierBackend {
    Q_OBJECT
public:
    static constexpr const char* service = "org.freedesktop.Notifications";
    static constexpr const char* path = "/org/freedesktop/Notifications";
    static constexpr const char* interface = "org.freedesktop.Notifications";

    explicit FreedesktopNotifierBackend(QDBusConnection bus = QDBusConnection::sessionBus(),
                                        QObject* parent = nullptr);

    // Granted when a notification service is on the bus, once it has told
    // its capabilities; refused at once without one.
    void requestAuthorization(std::function<void(bool granted)> completion) override;
    void add(const NotificationRequest& request) override;

    // Called when the user clicks a notification that opens the panel.
    std::function<void()> onOpenPanel;

    // The Notify arguments for a request.
    struct Message {
        QString appIcon;
        QString summary;
        QString body;
        QStringList actions;
        // 0 low, 1 normal, 2 critical.
        unsigned char urgency = 1;
        QVariantMap hints;
    };
    // `bodyMarkup`: the server reads markup in the body.
    static Message message(const NotificationRequest& request, bool bodyMarkup = false);

private Q_SLOTS:
    void actionInvoked(uint id, const QString& action);
    void notificationClosed(uint id, uint reason);

private:
    QDBusConnection bus_;
    bool bodyMarkup_ = false;
    // The service's id of the notification shown for each request
    // identifier, and back; forgotten when the notification closes.
    std::map<std::string, std::uint32_t> shown_;
    std::map<std::uint32_t, std::string> identifiers_;
    // The shown notifications that open the panel when clicked.
    std::set<std::uint32_t> panelOpeners_;
};

} // namespace Orvel
