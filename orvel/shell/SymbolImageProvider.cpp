#include "orvel/shell/SymbolImageProvider.h"

#include "orvel/shell/Symbols.h"

#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QStandardPaths>
#include <QSvgRenderer>
#include <QUrlQuery>

namespace Orvel {

namespace {

const char* const iconCategories[] = {"actions",    "status", "emblems", "ui",     "devices",
                                      "categories", "places", "apps",    "legacy", "mimetypes"};

} // namespace

SymbolImageProvider::SymbolImageProvider(QStringList iconDirectories)
    : QQuickImageProvider(QQuickImageProvider::Image), directories_(std::move(iconDirectories)) {
    if (directories_.isEmpty()) {
        for (const auto& data :
             QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation)) {
            directories_.push_back(QDir(data).filePath("icons"));
        }
        directories_.push_back("/usr/share/icons");
    }
}

QString SymbolImageProvider::iconFile(const QString& iconName) const {
    for (const auto& directory : directories_) {
        for (const auto* category : iconCategories) {
            const auto file = QDir(directory).filePath(
                QString("Adwaita/scalable/%1/%2.svg").arg(category, iconName));
            if (QFileInfo::exists(file)) {
                return file;
            }
        }
    }
    return {};
}

QImage SymbolImageProvider::render(const QString& symbol, QSize size, const QColor& color) const {
    QImage image(size.isValid() && !size.isEmpty() ? size : QSize(16, 16),
                 QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    const auto icon = Symbols::adwaitaIcon(symbol.toStdString());
    if (!icon) {
        return image;
    }
    const auto file =
        iconFile(QString::fromUtf8(icon->data(), static_cast<qsizetype>(icon->size())));
    QSvgRenderer renderer(file);
    if (file.isEmpty() || !renderer.isValid()) {
        return image;
    }
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter, QRectF(QPointF(0, 0), image.size()));
    // Symbolic icons are single-colour shapes: keep the shape, take the tint.
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(image.rect(), color);
    return image;
}

QImage SymbolImageProvider::requestImage(const QString& id, QSize* size,
                                         const QSize& requestedSize) {
    const auto mark = id.indexOf('?');
    const auto symbol = mark < 0 ? id : id.left(mark);
    QColor color(Qt::black);
    if (mark >= 0) {
        const QUrlQuery query(id.mid(mark + 1));
        const QColor requested("#" + query.queryItemValue("color"));
        if (requested.isValid()) {
            color = requested;
        }
    }
    auto image = render(symbol, requestedSize, color);
    if (size) {
        *size = image.size();
    }
    return image;
}

} // namespace Orvel
