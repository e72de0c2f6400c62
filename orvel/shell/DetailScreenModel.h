#pragma once

// The detail screen of the update the panel shows (the id of the current
// `detail` destination): its status, sender and age, its text as Markdown
// (the title when the body says nothing), the approval hint, its first web
// link, and whether "Done" is offered (the update is in the briefing's
// attention). Showing it marks nothing read. Values are recomputed once per
// model change.

// moc in Qt 6.4 cannot parse C++20 concepts; it needs none of these.
#ifndef Q_MOC_RUN
#include "orvel/core/AppModel.h"
#include "orvel/shell/ModelFollower.h"
#endif

#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

namespace Orvel {

class DetailScreenModel : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("The panel makes the detail screen's model.")
    // False when no update has the id: the screen says it is gone.
    Q_PROPERTY(bool available READ available NOTIFY changed)
    Q_PROPERTY(QString updateId READ updateId NOTIFY changed)
    Q_PROPERTY(QString dot READ dot NOTIFY changed)
    Q_PROPERTY(QString sender READ sender NOTIFY changed)
    Q_PROPERTY(bool waitingOnYou READ waitingOnYou NOTIFY changed)
    Q_PROPERTY(QString age READ age NOTIFY changed)
    // "What <sender> reported".
    Q_PROPERTY(QString reportedTitle READ reportedTitle NOTIFY changed)
    // The body as Markdown; empty when the title stands in (`plainText`).
    Q_PROPERTY(QString body READ body NOTIFY changed)
    Q_PROPERTY(QString plainText READ plainText NOTIFY changed)
    Q_PROPERTY(QString details READ details NOTIFY changed)
    Q_PROPERTY(QString hint READ hint NOTIFY changed)
    Q_PROPERTY(bool hasLink READ hasLink NOTIFY changed)
    Q_PROPERTY(QString linkLabel READ linkLabel NOTIFY changed)
    Q_PROPERTY(QString linkUrl READ linkUrl NOTIFY changed)
    Q_PROPERTY(bool showsDone READ showsDone NOTIFY changed)

public:
    // The model and the executor must outlive the view model.
    DetailScreenModel(AppModel& model, OrvelKit::Executor& executor, QObject* parent = nullptr);
    ~DetailScreenModel() override;

    // Whether the panel shows: hidden, the model is followed but nothing is
    // recomputed; shown again, it catches up once.
    void setActive(bool active) { follower_.setPaused(!active); }

    bool available() const { return available_; }
    QString updateId() const { return updateId_; }
    QString dot() const { return dot_; }
    QString sender() const { return sender_; }
    bool waitingOnYou() const { return waitingOnYou_; }
    QString age() const { return age_; }
    QString reportedTitle() const { return reportedTitle_; }
    QString body() const { return body_; }
    QString plainText() const { return plainText_; }
    QString details() const { return details_; }
    QString hint() const { return hint_; }
    bool hasLink() const { return !linkUrl_.isEmpty(); }
    QString linkLabel() const { return linkLabel_; }
    QString linkUrl() const { return linkUrl_; }
    bool showsDone() const { return showsDone_; }

    // Clears the update from Your Attention; it stays in Updates.
    Q_INVOKABLE void complete();

    void recompute();

signals:
    void changed();

private:
    AppModel& model_;
    bool available_ = false;
    QString updateId_;
    QString dot_;
    QString sender_;
    bool waitingOnYou_ = false;
    QString age_;
    QString reportedTitle_;
    QString body_;
    QString plainText_;
    QString details_;
    QString hint_;
    QString linkLabel_;
    QString linkUrl_;
    bool showsDone_ = false;
    ModelFollower follower_;
};

} // namespace Orvel
