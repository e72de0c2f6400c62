#pragma once

// The views' way to the desktop clipboard. The text is handed to the
// application's clipboard (QGuiApplication), not to a window's, so it stays
// there after the panel closes. What is copied is often a secret (a publish
// key): it is never logged. The QML singleton `Clipboard`; it holds no state.

#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

namespace Orvel {

class Clipboard : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
public:
    using QObject::QObject;

    // Replaces whatever the clipboard held with exactly `text`.
    Q_INVOKABLE void copy(const QString& text);
};

} // namespace Orvel
