#include "orvel/shell/Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

namespace Orvel {

Clipboard::Clipboard(QObject* parent) : QObject(parent) {}

void Clipboard::copy(const QString& text) {
    auto* clipboard = QGuiApplication::clipboard();
    clipboard->clear(QClipboard::Clipboard);
    clipboard->setText(text, QClipboard::Clipboard);
}

} // namespace Orvel
