#include "orvel/shell/Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

namespace Orvel {

Clipboard::Clipboard(QObject* parent) : QObject(parent) {}

void Clipboard::copy(const QString& text) {
    auto* clipboard = QGuiApplication::clipboard();
    if (clipboard == nullptr) {
        return;
    }
    // Cleared first: nothing of an earlier, richer copy (HTML, images) stays
    // beside the text.
    clipboard->clear(QClipboard::Clipboard);
    clipboard->setText(text, QClipboard::Clipboard);
}

} // namespace Orvel
