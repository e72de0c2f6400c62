#include "orvel/shell/SafeMarkdown.h"

#include "orvel/shell/MarkdownPresentation.h"

#include <QDesktopServices>
#include <QUrl>

namespace Orvel {

QString SafeMarkdown::render(const QString& markdown) const {
    return QString::fromStdString(MarkdownPresentation::render(markdown.toStdString()));
}

bool mayOpenLink(const QString& url) {
    if (!MarkdownPresentation::isWebLink(url.toStdString())) {
        return false;
    }
    const QUrl parsed(url, QUrl::StrictMode);
    const auto scheme = parsed.scheme().toLower();
    return parsed.isValid() && (scheme == "http" || scheme == "https") && !parsed.host().isEmpty();
}

bool SafeMarkdown::openLink(const QString& url) const {
    if (!mayOpenLink(url)) {
        return false;
    }
    return QDesktopServices::openUrl(QUrl(url, QUrl::StrictMode));
}

} // namespace Orvel
