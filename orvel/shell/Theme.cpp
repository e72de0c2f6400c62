#include "orvel/shell/Theme.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPalette>
#include <QQmlEngine>

namespace Orvel {

namespace {

OrvelKit::StatusDot dotNamed(const QString& name) {
    for (const auto& [dot, text] : OrvelKit::Json::EnumTraits<OrvelKit::StatusDot>::cases) {
        if (name == QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()))) {
            return dot;
        }
    }
    return OrvelKit::StatusDot::info;
}

OrvelKit::ChannelActivity activityNamed(const QString& name) {
    using OrvelKit::ChannelActivity;
    if (name == "pending") {
        return ChannelActivity::pending;
    }
    if (name == "active") {
        return ChannelActivity::active;
    }
    if (name == "quiet") {
        return ChannelActivity::quiet;
    }
    return ChannelActivity::idle;
}

QString nameOf(ThemeColor color) {
    const auto name = ThemePalette::name(color);
    return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

} // namespace

Theme::Theme(QObject* parent) : QObject(parent) {
    if (qApp) {
        qApp->installEventFilter(this);
    }
}

void Theme::setAppearance(std::optional<Appearance> appearance) {
    fixed_ = appearance;
    emit changed();
}

void Theme::setReduceMotion(bool reduce) {
    if (reduce != reduceMotion_) {
        reduceMotion_ = reduce;
        emit changed();
    }
}

Appearance Theme::appearance() const {
    if (fixed_) {
        return *fixed_;
    }
    const auto palette = QGuiApplication::palette();
    return ThemePalette::appearanceFor(palette.color(QPalette::Window).lightnessF(),
                                       palette.color(QPalette::WindowText).lightnessF());
}

QColor Theme::toQColor(Rgba rgba) {
    return QColor::fromRgbF(static_cast<float>(rgba.red), static_cast<float>(rgba.green),
                            static_cast<float>(rgba.blue), static_cast<float>(rgba.alpha));
}

QColor Theme::color(ThemeColor color) const {
    return toQColor(ThemePalette::color(color, appearance()));
}

QColor Theme::windowMaterial() const {
    return dark() ? QColor::fromRgbF(0.13f, 0.13f, 0.15f, 0.94f)
                  : QColor::fromRgbF(0.93f, 0.93f, 0.95f, 0.94f);
}

QVariantMap Theme::colors() const {
    QVariantMap colors;
    for (const auto candidate : ThemePalette::allColors()) {
        colors.insert(nameOf(candidate), color(candidate));
    }
    return colors;
}

QString Theme::statusColorName(const QString& dot) const {
    return nameOf(ThemePalette::statusColor(dotNamed(dot)));
}

QString Theme::activityColorName(const QString& activity) const {
    return nameOf(ThemePalette::activityStyle(activityNamed(activity)).color);
}

QColor Theme::statusColor(const QString& dot) const {
    return color(ThemePalette::statusColor(dotNamed(dot)));
}

QColor Theme::activityColor(const QString& activity) const {
    return color(ThemePalette::activityStyle(activityNamed(activity)).color);
}

QString Theme::activityLabel(const QString& activity) const {
    return QString::fromUtf8(ThemePalette::activityStyle(activityNamed(activity)).label);
}

bool Theme::eventFilter(QObject* watched, QEvent* event) {
    if (watched == qApp && event->type() == QEvent::ApplicationPaletteChange && !fixed_) {
        emit changed();
    }
    return QObject::eventFilter(watched, event);
}

namespace {
constexpr const char* providedTheme = "orvelTheme";
}

void Theme::provideTo(QQmlEngine& engine, Theme& theme) {
    engine.setProperty(providedTheme, QVariant::fromValue(&theme));
}

Theme* Theme::create(QQmlEngine* engine, QJSEngine*) {
    if (auto* provided = engine->property(providedTheme).value<Theme*>()) {
        QJSEngine::setObjectOwnership(provided, QJSEngine::CppOwnership);
        return provided;
    }
    return new Theme(nullptr);
}

} // namespace Orvel
