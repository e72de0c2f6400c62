#include "orvel/shell/Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

namespace Orvel {

void Clipboard::copy(const QString& text) {
    auto* clipboard = QGuiApplication::clipboard();
    if (clipboard == nullptr) {
        return;
    }
    // Cleared first: nothing of an earlier, richer copy (HTML, images) stays
    // beside the text.
    clipboard->clear();
    clipboard->setText(text);
}

} // namespace Orvel
