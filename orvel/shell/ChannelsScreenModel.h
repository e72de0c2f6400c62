#pragma once

// The channels screen: every channel the configuration or the inbox knows,
// narrowed by the search text (the id or the display name contains it,
// ignoring case as the user's language does). Idle channels stay hidden
// unless the user shows them or searches. One row per shown channel, with
// its activity, name and one line of status. The channels are recomputed
// once per model change; typing refilters them at once.

// moc in Qt 6.4 cannot parse C++20 concepts; it needs none of these.
#ifndef Q_MOC_RUN
#include "orvel/core/AppModel.h"
#include "orvel/shell/ModelFollower.h"
#include "orvelkit/presentation/ChannelDescriptor.h"
#endif

#include <QAbstractListModel>
#include <QString>
#include <QtQml/qqmlregistration.h>
#include <vector>

namespace Orvel {

class ChannelsScreenModel : public QAbstractListModel {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("The panel makes the channels screen's model.")
    Q_PROPERTY(QString query READ query WRITE setQuery NOTIFY changed)
    Q_PROPERTY(bool showsIdle READ showsIdle WRITE setShowsIdle NOTIFY changed)
    // Whether a search narrows the list (then idle channels show too).
    Q_PROPERTY(bool searching READ searching NOTIFY changed)
    Q_PROPERTY(int shownCount READ shownCount NOTIFY changed)
    // Idle channels among all of them.
    Q_PROPERTY(int idleCount READ idleCount NOTIFY changed)
    // The show/hide idle button: there are idle channels and no search.
    Q_PROPERTY(bool offersIdleToggle READ offersIdleToggle NOTIFY changed)

public:
    enum Role {
        ChannelRole = Qt::UserRole + 1,
        NameRole,
        DetailRole,
        // "pending", "active", "quiet" or "idle".
        ActivityRole,
        OwnedRole,
    };
    Q_ENUM(Role)

    // The model and the executor must outlive the view model.
    ChannelsScreenModel(AppModel& model, OrvelKit::Executor& executor, QObject* parent = nullptr);
    ~ChannelsScreenModel() override;

    // Whether the panel shows: hidden, the model is followed but nothing is
    // recomputed; shown again, it catches up once.
    void setActive(bool active) { follower_.setPaused(!active); }

    QString query() const { return query_; }
    void setQuery(const QString& query);
    bool showsIdle() const { return showsIdle_; }
    void setShowsIdle(bool shows);
    bool searching() const { return !query_.isEmpty(); }
    int shownCount() const { return static_cast<int>(shown_.size()); }
    int idleCount() const { return idleCount_; }
    bool offersIdleToggle() const { return idleCount_ > 0 && !searching(); }

    // Back to an empty search with idle channels hidden, as a fresh visit
    // of the screen starts.
    Q_INVOKABLE void clear();

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    void recompute();

signals:
    void changed();

private:
    // Picks the shown channels from `all_` and resets the rows if they differ.
    void filter();

    AppModel& model_;
    QString query_;
    bool showsIdle_ = false;
    int idleCount_ = 0;
    std::vector<OrvelKit::ChannelDescriptor> all_;
    std::vector<OrvelKit::ChannelDescriptor> shown_;
    ModelFollower follower_;
};

} // namespace Orvel
