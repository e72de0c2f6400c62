#pragma once

// Whether the user turned animations off: the desktop portal's
// "org.gnome.desktop.interface" "enable-animations" setting read as false.
// Asked once without waiting, then kept current from the portal's
// SettingChanged signal, so whoever starts an animation reads today's choice
// and the UI thread never blocks on the bus. False until the portal answers,
// and when there is none.

#include <QDBusConnection>
#include <QDBusVariant>
#include <QObject>

namespace Orvel {

class ReduceMotionSetting final : public QObject {
    Q_OBJECT
public:
    explicit ReduceMotionSetting(QDBusConnection bus = QDBusConnection::sessionBus(),
                                 QObject* parent = nullptr);

    bool value() const { return value_; }

signals:
    void changed(bool value);

private slots:
    void settingChanged(const QString& group, const QString& key, const QDBusVariant& value);

private:
    void set(const QVariant& enableAnimations);

    bool value_ = false;
};

} // namespace Orvel
