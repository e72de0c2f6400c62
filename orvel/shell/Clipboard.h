#pragma once

// The desktop clipboard as the app offers it to the views. The application,
// not the panel's window, owns what is copied, so a copy outlives the panel
// closing. Copied text may be a secret (a publish token): it is handed to
// the clipboard and nowhere else, never logged.

#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

namespace Orvel {

class Clipboard : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("The app owns the clipboard service.")

public:
    explicit Clipboard(QObject* parent = nullptr);

    // Replaces the clipboard's content (cleared first) with `text`.
    Q_INVOKABLE void copy(const QString& text);
};

} // namespace Orvel
