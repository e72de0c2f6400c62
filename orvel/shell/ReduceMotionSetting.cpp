#include "orvel/shell/ReduceMotionSetting.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>

namespace Orvel {

namespace {
const QString portalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString portalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString settingsInterface = QStringLiteral("org.freedesktop.portal.Settings");
const QString interfaceGroup = QStringLiteral("org.gnome.desktop.interface");
const QString animationsKey = QStringLiteral("enable-animations");
} // namespace

ReduceMotionSetting::ReduceMotionSetting(QDBusConnection bus, QObject* parent) : QObject(parent) {
    if (!bus.isConnected()) {
        return;
    }
    bus.connect(portalService, portalPath, settingsInterface, QStringLiteral("SettingChanged"),
                this, SLOT(settingChanged(QString, QString, QDBusVariant)));
    auto call = QDBusMessage::createMethodCall(portalService, portalPath, settingsInterface,
                                               QStringLiteral("Read"));
    call << interfaceGroup << animationsKey;
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this](QDBusPendingCallWatcher* finished) {
                const QDBusPendingReply<QDBusVariant> reply = *finished;
                if (!reply.isError()) {
                    set(reply.value().variant());
                }
                finished->deleteLater();
            });
}

void ReduceMotionSetting::settingChanged(const QString& group, const QString& key,
                                         const QDBusVariant& value) {
    if (group == interfaceGroup && key == animationsKey) {
        set(value.variant());
    }
}

void ReduceMotionSetting::set(const QVariant& enableAnimations) {
    // Read answers wrap the value in one more variant than the signal does.
    auto value = enableAnimations;
    for (int i = 0; i < 2 && value.canConvert<QDBusVariant>(); ++i) {
        value = value.value<QDBusVariant>().variant();
    }
    const bool reduce = value.typeId() == QMetaType::Bool && !value.toBool();
    if (reduce != value_) {
        value_ = reduce;
        emit changed(value_);
    }
}

} // namespace Orvel
