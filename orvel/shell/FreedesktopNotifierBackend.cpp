#include "orvel/shell/FreedesktopNotifierBackend.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QStringList>

namespace Orvel {

FreedesktopNotifierBackend::FreedesktopNotifierBackend(QDBusConnection bus, QObject* parent)
    : QObject(parent), bus_(std::move(bus)) {}

void FreedesktopNotifierBackend::requestAuthorization(std::function<void(bool)> completion) {
    const auto* names = bus_.isConnected() ? bus_.interface() : nullptr;
    const bool available =
        names && (names->isServiceRegistered(QString::fromLatin1(service)).value() ||
                  names->activatableServiceNames().value().contains(QString::fromLatin1(service)));
    completion(available);
}

FreedesktopNotifierBackend::Message
FreedesktopNotifierBackend::message(const NotificationRequest& request) {
    Message result;
    result.summary = QString::fromStdString(request.title);
    QStringList lines;
    if (!request.subtitle.empty()) {
        lines.push_back(QString::fromStdString(request.subtitle));
    }
    if (request.body && !request.body->empty()) {
        lines.push_back(QString::fromStdString(*request.body));
    }
    // The body may carry markup on some servers: send it as plain text.
    result.body = lines.join('\n').toHtmlEscaped();
    result.hints.insert(QStringLiteral("desktop-entry"), QStringLiteral("orvel"));
    if (request.sound == NotificationSound::critical) {
        result.urgency = 2;
        result.hints.insert(QStringLiteral("sound-name"), QStringLiteral("alarm-clock-elapsed"));
    } else {
        result.hints.insert(QStringLiteral("sound-name"), QStringLiteral("message-new-instant"));
    }
    result.hints.insert(QStringLiteral("urgency"), QVariant::fromValue(result.urgency));
    return result;
}

void FreedesktopNotifierBackend::add(const NotificationRequest& request) {
    if (!bus_.isConnected()) {
        return;
    }
    const auto content = message(request);
    const auto previous = shown_.find(request.identifier);
    const std::uint32_t replaces = previous == shown_.end() ? 0 : previous->second;
    auto call =
        QDBusMessage::createMethodCall(QString::fromLatin1(service), QString::fromLatin1(path),
                                       QString::fromLatin1(interface), QStringLiteral("Notify"));
    call << QStringLiteral("Orvel") << replaces << QString() << content.summary << content.body
         << QStringList() << content.hints << -1;
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, identifier = request.identifier](QDBusPendingCallWatcher* finished) {
                const QDBusPendingReply<std::uint32_t> reply = *finished;
                if (!reply.isError()) {
                    shown_[identifier] = reply.value();
                }
                finished->deleteLater();
            });
}

} // namespace Orvel
