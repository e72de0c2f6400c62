#pragma once

// Local notifications through the desktop's notification service
// (org.freedesktop.Notifications on the session bus). The title is the
// summary; subtitle and body share the body. A critical update is sent with
// critical urgency and the alarm sound hint. A request whose identifier was
// shown before replaces that notification.
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
#include <QVariantMap>
#include <cstdint>
#include <map>
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

    // Granted when a notification service is on the bus; answers at once.
    void requestAuthorization(std::function<void(bool granted)> completion) override;
    void add(const NotificationRequest& request) override;

    // The Notify arguments for a request.
    struct Message {
        QString summary;
        QString body;
        // 0 low, 1 normal, 2 critical.
        unsigned char urgency = 1;
        QVariantMap hints;
    };
    static Message message(const NotificationRequest& request);

private:
    QDBusConnection bus_;
    // The service's id of the notification shown for each request identifier.
    std::map<std::string, std::uint32_t> shown_;
};

} // namespace Orvel
