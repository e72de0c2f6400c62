#pragma once

// The new-channel screen. Showing it creates a channel unless the model
// already holds the one created in this run (or a creation is under way);
// it then offers the channel's instructions for an agent, which copy to the
// clipboard. After a failed creation (the reason is the model's error text)
// it offers to try again.

// moc in Qt 6.4 cannot parse C++20 concepts; it needs none of these.
#ifndef Q_MOC_RUN
#include "orvel/core/AppModel.h"
#include "orvel/shell/ModelFollower.h"
#endif

#include "orvel/shell/Clipboard.h"

#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>
#include <memory>

namespace Orvel {

class EngageScreenModel : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("The panel makes the new-channel screen's model.")
    Q_PROPERTY(State state READ state NOTIFY changed)
    // The created channel's id; empty until there is one.
    Q_PROPERTY(QString channel READ channel NOTIFY changed)
    // What to paste to an agent: ends with the channel's publish token.
    Q_PROPERTY(QString instructions READ instructions NOTIFY changed)
    // Why the creation failed (the model's error text); empty otherwise.
    Q_PROPERTY(QString errorText READ errorText NOTIFY changed)

public:
    enum State { Creating, Failed, Ready };
    Q_ENUM(State)

    // The model, the executor and the clipboard must outlive the view model.
    EngageScreenModel(AppModel& model, OrvelKit::Executor& executor, Clipboard& clipboard,
                      QObject* parent = nullptr);
    ~EngageScreenModel() override;

    State state() const { return state_; }
    QString channel() const { return channel_; }
    QString instructions() const { return instructions_; }
    QString errorText() const { return errorText_; }

    // "Try again": creates a channel unless one is being created.
    Q_INVOKABLE void retry();
    Q_INVOKABLE void copyInstructions();

    void recompute();

signals:
    void changed();

private:
    void create();

    AppModel& model_;
    OrvelKit::Executor& executor_;
    Clipboard& clipboard_;
    State state_ = State::Creating;
    QString channel_;
    QString instructions_;
    QString errorText_;
    // Whether the screen was shown at the last recompute: a new visit starts
    // when it appears.
    bool shown_ = false;
    bool creating_ = false;
    // A creation started on this visit finished without a channel.
    bool failed_ = false;
    // Lets a creation that finishes later find out that the view model is gone.
    std::shared_ptr<EngageScreenModel*> self_;
    ModelFollower follower_;
};

} // namespace Orvel
