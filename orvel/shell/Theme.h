#pragma once

// The palette for the views: the fifteen colours of ThemePalette for the
// current appearance. The appearance follows the desktop's palette (dark when
// its window colour is darker than its text) unless one is set.
//
// In QML it is the singleton `Theme`: the instance the engine was given with
// `provideTo` (the one the tray icon uses too), or a fresh one.

// moc in Qt 6.4 cannot parse C++20 concepts; it needs none of these.
#ifndef Q_MOC_RUN
#include "orvel/shell/ThemePalette.h"
#endif

#include <QColor>
#include <QObject>
#include <QString>
#include <QVariantMap>
#include <QtQml/qqmlregistration.h>
#include <optional>

class QQmlEngine;
class QJSEngine;

namespace Orvel {

class Theme : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_PROPERTY(bool dark READ dark NOTIFY changed)
    Q_PROPERTY(QColor text READ text NOTIFY changed)
    Q_PROPERTY(QColor muted READ muted NOTIFY changed)
    Q_PROPERTY(QColor faint READ faint NOTIFY changed)
    Q_PROPERTY(QColor separator READ separator NOTIFY changed)
    Q_PROPERTY(QColor gold READ gold NOTIFY changed)
    Q_PROPERTY(QColor green READ green NOTIFY changed)
    Q_PROPERTY(QColor red READ red NOTIFY changed)
    Q_PROPERTY(QColor blue READ blue NOTIFY changed)
    Q_PROPERTY(QColor panelTint READ panelTint NOTIFY changed)
    Q_PROPERTY(QColor panelBorder READ panelBorder NOTIFY changed)
    Q_PROPERTY(QColor edge READ edge NOTIFY changed)
    Q_PROPERTY(QColor control READ control NOTIFY changed)
    Q_PROPERTY(QColor controlStrong READ controlStrong NOTIFY changed)
    Q_PROPERTY(QColor controlBorder READ controlBorder NOTIFY changed)
    Q_PROPERTY(QColor selection READ selection NOTIFY changed)
    Q_PROPERTY(QVariantMap colors READ colors NOTIFY changed)
    // What stands in for the blurred window material behind the panel.
    Q_PROPERTY(QColor windowMaterial READ windowMaterial NOTIFY changed)
    // Behind a dialog: the screen dimmed with black at 22 %.
    Q_PROPERTY(QColor backdrop READ backdrop CONSTANT)
    // A dialog's own background: the window material, opaque, so nothing of
    // the screen shows through it.
    Q_PROPERTY(QColor dialogSurface READ dialogSurface NOTIFY changed)
    // A switch's knob: white, with a black shadow at 25 %.
    Q_PROPERTY(QColor knob READ knob CONSTANT)
    Q_PROPERTY(QColor knobShadow READ knobShadow CONSTANT)
    // Whether the user turned animations off: nothing pulses then.
    Q_PROPERTY(bool reduceMotion READ reduceMotion NOTIFY changed)

public:
    // No default constructor: QML would use it instead of `create`.
    explicit Theme(QObject* parent);

    // Fixes the appearance (screenshots, tests); nothing follows the desktop.
    void setAppearance(std::optional<Appearance> appearance);
    Appearance appearance() const;
    bool dark() const { return appearance() == Appearance::dark; }

    QColor color(ThemeColor color) const;

    QColor text() const { return color(ThemeColor::text); }
    QColor muted() const { return color(ThemeColor::muted); }
    QColor faint() const { return color(ThemeColor::faint); }
    QColor separator() const { return color(ThemeColor::separator); }
    QColor gold() const { return color(ThemeColor::gold); }
    QColor green() const { return color(ThemeColor::green); }
    QColor red() const { return color(ThemeColor::red); }
    QColor blue() const { return color(ThemeColor::blue); }
    QColor panelTint() const { return color(ThemeColor::panelTint); }
    QColor panelBorder() const { return color(ThemeColor::panelBorder); }
    QColor edge() const { return color(ThemeColor::edge); }
    QColor control() const { return color(ThemeColor::control); }
    QColor controlStrong() const { return color(ThemeColor::controlStrong); }
    QColor controlBorder() const { return color(ThemeColor::controlBorder); }
    QColor selection() const { return color(ThemeColor::selection); }
    QColor windowMaterial() const;
    QColor backdrop() const { return QColor::fromRgbF(0, 0, 0, 0.22f); }
    QColor dialogSurface() const {
        auto surface = windowMaterial();
        surface.setAlphaF(1);
        return surface;
    }
    QColor knob() const { return QColor(Qt::white); }
    QColor knobShadow() const { return QColor::fromRgbF(0, 0, 0, 0.25f); }
    bool reduceMotion() const { return reduceMotion_; }
    void setReduceMotion(bool reduce);

    // Every colour by its name ("green", "panelTint"). Bindings that pick a
    // colour by name read it here, so they follow a change of appearance
    // (a call to statusColor() in a binding would not).
    QVariantMap colors() const;
    // The name of a status dot's colour ("need" → "gold"; anything else is
    // info's) and of a channel activity's.
    Q_INVOKABLE QString statusColorName(const QString& dot) const;
    Q_INVOKABLE QString activityColorName(const QString& activity) const;
    // The colour of a status dot ("need", "done", ...; anything else is info).
    Q_INVOKABLE QColor statusColor(const QString& dot) const;
    // The colour and the label of a channel activity ("pending", ...).
    Q_INVOKABLE QColor activityColor(const QString& activity) const;
    Q_INVOKABLE QString activityLabel(const QString& activity) const;

    static QColor toQColor(Rgba rgba);

    // Makes `theme` the engine's `Theme` singleton; call before loading QML.
    static void provideTo(QQmlEngine& engine, Theme& theme);
    static Theme* create(QQmlEngine* engine, QJSEngine* script);

signals:
    void changed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::optional<Appearance> fixed_;
    bool reduceMotion_ = false;
};

} // namespace Orvel
