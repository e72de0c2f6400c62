#pragma once

// Untrusted text for the views: Markdown rendered to the safe rich-text subset
// (images never load, only http(s) links), and the one way a view opens a
// link. The QML singleton `SafeMarkdown`; it holds no state.

#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

namespace Orvel {

class SafeMarkdown : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
public:
    using QObject::QObject;

    Q_INVOKABLE QString render(const QString& markdown) const;
    // Opens `url` in the browser when it is an http or https address; false
    // (and nothing opens) otherwise.
    Q_INVOKABLE bool openLink(const QString& url) const;
};

// Whether a link may be opened; the same test `openLink` applies.
bool mayOpenLink(const QString& url);

} // namespace Orvel
