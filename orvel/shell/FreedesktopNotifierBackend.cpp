#include "orvel/shell/FreedesktopNotifierBackend.h"

#include "orvel/core/AppIdentity.h"
#include "orvel/shell/MarkdownPlainText.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

namespace Orvel {

namespace {

// The action a server invokes when the notification itself is clicked.
const QString defaultAction = QStringLiteral("default");

// Milliseconds to wait for the server's capabilities.
constexpr int capabilitiesTimeout = 5000;

} // namespace

FreedesktopNotifierBackend::FreedesktopNotifierBackend(QDBusConnection bus, QObject* parent)
    : QObject(parent), bus_(std::move(bus)) {
    if (!bus_.isConnected()) {
        return;
    }
    const auto serviceName = QString::fromLatin1(service);
    const auto pathName = QString::fromLatin1(path);
    const auto interfaceName = QString::fromLatin1(interface);
    bus_.connect(serviceName, pathName, interfaceName, QStringLiteral("ActionInvoked"), this,
                 SLOT(actionInvoked(uint, QString)));
    bus_.connect(serviceName, pathName, interfaceName, QStringLiteral("NotificationClosed"), this,
                 SLOT(notificationClosed(uint, uint)));
}

void FreedesktopNotifierBackend::requestAuthorization(std::function<void(bool)> completion) {
    const auto* names = bus_.isConnected() ? bus_.interface() : nullptr;
    const bool available =
        names && (names->isServiceRegistered(QString::fromLatin1(service)).value() ||
                  names->activatableServiceNames().value().contains(QString::fromLatin1(service)));
    if (!available) {
        completion(false);
        return;
    }
    // Granted once the server has said whether it reads markup, so that no
    // notification goes out before the body's form is known.
    const auto call = QDBusMessage::createMethodCall(
        QString::fromLatin1(service), QString::fromLatin1(path), QString::fromLatin1(interface),
        QStringLiteral("GetCapabilities"));
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call, capabilitiesTimeout), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, completion = std::move(completion)](QDBusPendingCallWatcher* finished) {
                const QDBusPendingReply<QStringList> reply = *finished;
                finished->deleteLater();
                bodyMarkup_ =
                    !reply.isError() && reply.value().contains(QStringLiteral("body-markup"));
                completion(true);
            });
}

FreedesktopNotifierBackend::Message
FreedesktopNotifierBackend::message(const NotificationRequest& request, bool bodyMarkup) {
    Message result;
    result.appIcon = QString::fromLatin1(AppIdentity::id);
    result.summary = QString::fromStdString(request.title);
    QStringList lines;
    if (!request.subtitle.empty()) {
        lines.push_back(QString::fromStdString(request.subtitle));
    }
    if (request.body && !request.body->empty()) {
        lines.push_back(QString::fromStdString(MarkdownPlainText::render(*request.body)));
    }
    result.body = lines.join('\n');
    // A server that reads markup would take the author's "<" for a tag.
    if (bodyMarkup) {
        result.body = result.body.toHtmlEscaped();
    }
    if (request.opensPanel) {
        result.actions = {defaultAction, QStringLiteral("Open Orvel")};
    }
    result.hints.insert(QStringLiteral("desktop-entry"), QString::fromLatin1(AppIdentity::id));
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
    const auto content = message(request, bodyMarkup_);
    const auto previous = shown_.find(request.identifier);
    const std::uint32_t replaces = previous == shown_.end() ? 0 : previous->second;
    auto call =
        QDBusMessage::createMethodCall(QString::fromLatin1(service), QString::fromLatin1(path),
                                       QString::fromLatin1(interface), QStringLiteral("Notify"));
    call << QStringLiteral("Orvel") << replaces << content.appIcon << content.summary
         << content.body << content.actions << content.hints << -1;
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, identifier = request.identifier,
             opensPanel = request.opensPanel](QDBusPendingCallWatcher* finished) {
                const QDBusPendingReply<std::uint32_t> reply = *finished;
                finished->deleteLater();
                if (reply.isError()) {
                    return;
                }
                const auto id = reply.value();
                if (const auto old = shown_.find(identifier); old != shown_.end()) {
                    identifiers_.erase(old->second);
                    panelOpeners_.erase(old->second);
                }
                shown_[identifier] = id;
                identifiers_[id] = identifier;
                if (opensPanel) {
                    panelOpeners_.insert(id);
                }
            });
}

void FreedesktopNotifierBackend::actionInvoked(uint id, const QString& action) {
    // Every client hears every action: only ours count.
    if (action == defaultAction && panelOpeners_.contains(id) && onOpenPanel) {
        onOpenPanel();
    }
}

void FreedesktopNotifierBackend::notificationClosed(uint id, uint /*reason*/) {
    const auto found = identifiers_.find(id);
    if (found == identifiers_.end()) {
        return;
    }
    shown_.erase(found->second);
    identifiers_.erase(found);
    panelOpeners_.erase(id);
}

} // namespace Orvel
