#pragma once

// The card screen of the card the panel shows (the id of the current `card`
// destination): its header, the metric layout (the primary field large, the
// other fields below) or the labelled-value layout (every field), the pin
// button, and the footer that names the renderer. Values are recomputed once
// per model change.

// moc in Qt 6.4 cannot parse C++20 concepts; it needs none of these.
#ifndef Q_MOC_RUN
#include "orvel/core/AppModel.h"
#include "orvel/shell/ModelFollower.h"
#endif

#include <QObject>
#include <QString>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

namespace Orvel {

class PersistentCardScreenModel : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("The panel makes the card screen's model.")
    // False when no card has the id: the screen says it is gone.
    Q_PROPERTY(bool available READ available NOTIFY changed)
    Q_PROPERTY(QString cardId READ cardId NOTIFY changed)
    Q_PROPERTY(QString title READ title NOTIFY changed)
    // "<channel> · updated <age>".
    Q_PROPERTY(QString subtitle READ subtitle NOTIFY changed)
    Q_PROPERTY(bool pinned READ pinned NOTIFY changed)
    Q_PROPERTY(QString pinLabel READ pinLabel NOTIFY changed)
    Q_PROPERTY(QString pinSymbol READ pinSymbol NOTIFY changed)
    // The metric layout: the primary field shown large.
    Q_PROPERTY(bool metric READ metric NOTIFY changed)
    Q_PROPERTY(QString primaryDisplay READ primaryDisplay NOTIFY changed)
    Q_PROPERTY(QString primaryLabel READ primaryLabel NOTIFY changed)
    // The labelled-value rows: {label, display} each (a card has a few).
    Q_PROPERTY(QVariantList fields READ fields NOTIFY changed)
    Q_PROPERTY(QString footer READ footer NOTIFY changed)

public:
    // The model and the executor must outlive the view model.
    PersistentCardScreenModel(AppModel& model, OrvelKit::Executor& executor,
                              QObject* parent = nullptr);
    ~PersistentCardScreenModel() override;

    // Whether the panel shows: hidden, the model is followed but nothing is
    // recomputed; shown again, it catches up once.
    void setActive(bool active) { follower_.setPaused(!active); }

    bool available() const { return available_; }
    QString cardId() const { return cardId_; }
    QString title() const { return title_; }
    QString subtitle() const { return subtitle_; }
    bool pinned() const { return pinned_; }
    QString pinLabel() const { return pinned_ ? tr("Unpin") : tr("Pin"); }
    QString pinSymbol() const {
        return pinned_ ? QStringLiteral("pin.slash") : QStringLiteral("pin");
    }
    bool metric() const { return metric_; }
    QString primaryDisplay() const { return primaryDisplay_; }
    QString primaryLabel() const { return primaryLabel_; }
    QVariantList fields() const { return fields_; }
    QString footer() const { return footer_; }

    Q_INVOKABLE void togglePinned();

    void recompute();

signals:
    void changed();

private:
    AppModel& model_;
    bool available_ = false;
    QString cardId_;
    QString title_;
    QString subtitle_;
    bool pinned_ = false;
    bool metric_ = false;
    QString primaryDisplay_;
    QString primaryLabel_;
    QVariantList fields_;
    QString footer_;
    ModelFollower follower_;
};

} // namespace Orvel
