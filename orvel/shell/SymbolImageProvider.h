#pragma once

// Serves "image://symbol/<symbol>?color=<rrggbb or aarrggbb>" to the views:
// the symbol's Adwaita icon (see Symbols) drawn at the requested size and
// tinted with the colour. An unknown symbol or a missing icon gives an empty,
// transparent image.

#include <QQuickImageProvider>
#include <QStringList>

namespace Orvel {

class SymbolImageProvider final : public QQuickImageProvider {
public:
    // `iconDirectories`: where icon themes live (each holding "Adwaita");
    // by default the system's icon directories.
    explicit SymbolImageProvider(QStringList iconDirectories = {});

    QImage requestImage(const QString& id, QSize* size, const QSize& requestedSize) override;

    // The SVG file of an Adwaita icon name; empty when not installed.
    QString iconFile(const QString& iconName) const;

    // The symbol drawn at `size` pixels in `color`.
    QImage render(const QString& symbol, QSize size, const QColor& color) const;

private:
    QStringList directories_;
};

} // namespace Orvel
