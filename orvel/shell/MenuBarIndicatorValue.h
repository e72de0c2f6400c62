#pragma once

// The status item's indicator as a value the views can read.

// moc in Qt 6.4 cannot parse C++20 concepts; it needs none of these.
#ifndef Q_MOC_RUN
#include "orvelkit/presentation/MenuBarIndicator.h"
#endif

#include <QMetaType>
#include <QObject>
#include <QString>

namespace Orvel {

class MenuBarIndicatorValue {
    Q_GADGET
    Q_PROPERTY(QString emphasis READ emphasis)
    Q_PROPERTY(QString badge READ badge)
    Q_PROPERTY(bool critical READ critical)
    Q_PROPERTY(QString accessibilityLabel READ accessibilityLabel)
public:
    MenuBarIndicatorValue() = default;
    explicit MenuBarIndicatorValue(const OrvelKit::MenuBarIndicator& indicator)
        : indicator_(indicator) {}

    // "normal", "high" or "critical".
    QString emphasis() const;
    // The attention count ("3", "99+"); empty when nothing needs attention.
    QString badge() const;
    bool critical() const { return indicator_.emphasis == OrvelKit::MenuBarEmphasis::critical; }
    QString accessibilityLabel() const;

    const OrvelKit::MenuBarIndicator& indicator() const { return indicator_; }

    bool operator==(const MenuBarIndicatorValue&) const = default;

private:
    OrvelKit::MenuBarIndicator indicator_;
};

} // namespace Orvel

Q_DECLARE_METATYPE(Orvel::MenuBarIndicatorValue)
