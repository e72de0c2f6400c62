#pragma once

// How long the user has been away from keyboard and pointer: from the X
// server's screen-saver extension when the app runs on X11, otherwise from
// the session's screen saver over D-Bus (org.freedesktop.ScreenSaver
// GetSessionIdleTime). Nothing when neither answers.

#include "orvel/core/IdleTimeSource.h"

#include <QDBusConnection>

namespace Orvel {

class DesktopIdleTimeSource final : public IdleTimeSource {
public:
    explicit DesktopIdleTimeSource(QDBusConnection bus = QDBusConnection::sessionBus());

    std::optional<double> secondsSinceLastInput() const override;

    // The parts on their own.
    std::optional<double> fromX11() const;
    std::optional<double> fromScreenSaver() const;

private:
    QDBusConnection bus_;
};

} // namespace Orvel
