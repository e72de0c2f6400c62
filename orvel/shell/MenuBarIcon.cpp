#include "orvel/shell/MenuBarIcon.h"

#include "orvel/shell/MenuBarHeartbeat.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

namespace Orvel::MenuBarIcon {

namespace {

QImage blank(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

// A painter whose coordinates are points of the 18-point icon.
void prepare(QPainter& painter, int size) {
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / points, size / points);
}

void strokeCircle(QPainter& painter, double radius, double width, double opacity) {
    QPen pen(QColor::fromRgbF(0, 0, 0, static_cast<float>(opacity)));
    pen.setWidthF(width);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(QPointF(points / 2, points / 2), radius, radius);
}

void fillCircle(QPainter& painter, double radius) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    painter.drawEllipse(QPointF(points / 2, points / 2), radius, radius);
}

} // namespace

QImage resting(int size) {
    auto image = blank(size);
    QPainter painter(&image);
    prepare(painter, size);
    strokeCircle(painter, 6.1, 1.35, 0.9);
    fillCircle(painter, 2.65);
    return image;
}

QImage heartbeatFrame(int index, int size) {
    const auto frame = MenuBarHeartbeat::geometry(MenuBarHeartbeat::progress(index));
    auto image = blank(size);
    QPainter painter(&image);
    prepare(painter, size);
    if (frame.echoOpacity > 0) {
        strokeCircle(painter, frame.echoRadius, frame.echoLineWidth, frame.echoOpacity);
    }
    strokeCircle(painter, frame.ringRadius, frame.ringLineWidth, frame.ringOpacity);
    fillCircle(painter, frame.dotRadius);
    return image;
}

QImage compose(const QImage& glyph, const OrvelKit::MenuBarIndicator& indicator,
               const QColor& foreground, const QColor& critical) {
    const auto isCritical = indicator.emphasis == OrvelKit::MenuBarEmphasis::critical;
    const auto tint = isCritical ? critical : foreground;
    auto image = glyph.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    {
        QPainter painter(&image);
        painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
        painter.fillRect(image.rect(), tint);
    }
    if (!indicator.attentionBadge || indicator.attentionBadge->empty()) {
        return image;
    }
    const auto text = QString::fromStdString(*indicator.attentionBadge);
    const auto size = image.width();
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    QFont font;
    font.setBold(true);
    font.setPixelSize(static_cast<int>(size * 0.36));
    const QFontMetricsF metrics(font);
    const auto height = size * 0.48;
    const auto width =
        std::min<double>(size, std::max(height, metrics.horizontalAdvance(text) + height * 0.5));
    const QRectF pill(size - width, size - height, width, height);
    // A ring of clear space separates the pill from the glyph.
    painter.setCompositionMode(QPainter::CompositionMode_Clear);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    painter.drawRoundedRect(pill.adjusted(-size * 0.05, -size * 0.05, 0, 0), height / 2,
                            height / 2);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.setBrush(isCritical ? critical : tint);
    painter.drawRoundedRect(pill, height / 2, height / 2);
    painter.setFont(font);
    painter.setPen(tint.lightnessF() > 0.6 && !isCritical ? QColor(Qt::black) : QColor(Qt::white));
    painter.drawText(pill, Qt::AlignCenter, text);
    return image;
}

} // namespace Orvel::MenuBarIcon
