#pragma once

// The expanded activity window's view model: the sidebar (needs you, cards,
// the activity days, the channels), the toolbar's title and subtitle, the
// content pane of the chosen destination under the channel and search
// filters, and the two detail sheets. The model's state is read once per
// change into an ActivitySource; choosing a destination, a channel or typing
// a query only filters those values again.

// moc in Qt 6.4 cannot parse C++20 concepts; it needs none of these.
#ifndef Q_MOC_RUN
#include "orvel/core/AppModel.h"
#include "orvel/shell/ActivityWindowValues.h"
#include "orvel/shell/ModelFollower.h"
#endif

#include "orvel/shell/ActivityCardListModel.h"
#include "orvel/shell/ActivityRowListModel.h"
#include "orvel/shell/ActivitySidebarListModel.h"

#include <QObject>
#include <QString>
#include <QVariantList>
#include <QVariantMap>
#include <QtQml/qqmlregistration.h>
#include <memory>
#include <optional>

namespace Orvel {

class ExpandedActivityModel : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("The activity window makes its model.")
    Q_PROPERTY(
        Orvel::ExpandedActivityModel::Destination destination READ destination NOTIFY changed)
    Q_PROPERTY(QString channel READ channel NOTIFY changed)
    Q_PROPERTY(QString query READ query NOTIFY changed)
    // Sidebar.
    Q_PROPERTY(int attentionCount READ attentionCount NOTIFY changed)
    Q_PROPERTY(int cardCount READ cardCount NOTIFY changed)
    Q_PROPERTY(Orvel::ActivitySidebarListModel* days READ days CONSTANT)
    Q_PROPERTY(Orvel::ActivitySidebarListModel* channels READ channels CONSTANT)
    // Toolbar and pane.
    Q_PROPERTY(QString title READ title NOTIFY changed)
    Q_PROPERTY(QString subtitle READ subtitle NOTIFY changed)
    Q_PROPERTY(QString heading READ heading NOTIFY changed)
    Q_PROPERTY(QString caption READ caption NOTIFY changed)
    // Empty when the pane has content.
    Q_PROPERTY(QString emptyText READ emptyText NOTIFY changed)
    Q_PROPERTY(QString emptySymbol READ emptySymbol NOTIFY changed)
    Q_PROPERTY(bool showsMetrics READ showsMetrics NOTIFY changed)
    // Updates, Need you, Completed, Running: {label, value} each.
    Q_PROPERTY(QVariantList metrics READ metrics NOTIFY changed)
    Q_PROPERTY(Orvel::ActivityRowListModel* rows READ rows CONSTANT)
    Q_PROPERTY(Orvel::ActivityCardListModel* cards READ cards CONSTANT)
    // The update detail sheet.
    Q_PROPERTY(bool updateSheetShown READ updateSheetShown NOTIFY sheetChanged)
    Q_PROPERTY(QString updateDot READ updateDot NOTIFY sheetChanged)
    Q_PROPERTY(QString updateBadge READ updateBadge NOTIFY sheetChanged)
    Q_PROPERTY(QString updateAgent READ updateAgent NOTIFY sheetChanged)
    Q_PROPERTY(QString updateSummary READ updateSummary NOTIFY sheetChanged)
    Q_PROPERTY(QString updateAge READ updateAge NOTIFY sheetChanged)
    // Markdown; empty when the update has no body.
    Q_PROPERTY(QString updateBody READ updateBody NOTIFY sheetChanged)
    Q_PROPERTY(QString updateDetails READ updateDetails NOTIFY sheetChanged)
    // The links a browser may open: {label, url} each.
    Q_PROPERTY(QVariantList updateLinks READ updateLinks NOTIFY sheetChanged)
    // Whether the complete-attention action is offered.
    Q_PROPERTY(bool updateNeedsYou READ updateNeedsYou NOTIFY sheetChanged)
    // The card detail sheet.
    Q_PROPERTY(bool cardSheetShown READ cardSheetShown NOTIFY sheetChanged)
    Q_PROPERTY(QVariantMap sheetCard READ sheetCard NOTIFY sheetChanged)

public:
    enum Destination { Day, Attention, Cards };
    Q_ENUM(Destination)

    // The model and the executor must outlive the view model. Values are
    // computed while the view model is active (its window shows).
    ExpandedActivityModel(AppModel& model, OrvelKit::Executor& executor, QObject* parent = nullptr);
    ~ExpandedActivityModel() override;

    // The window shows (choose the first destination the first time,
    // compute) or hides (stop computing).
    void setActive(bool active);
    bool active() const { return active_; }

    Destination destination() const;
    QString channel() const { return QString::fromStdString(filter_.channel); }
    QString query() const { return query_; }
    int attentionCount() const { return attentionCount_; }
    int cardCount() const { return cardCount_; }
    ActivitySidebarListModel* days() { return &days_; }
    ActivitySidebarListModel* channels() { return &channels_; }
    QString title() const { return title_; }
    QString subtitle() const { return subtitle_; }
    QString heading() const { return heading_; }
    QString caption() const { return caption_; }
    QString emptyText() const { return emptyText_; }
    QString emptySymbol() const { return emptySymbol_; }
    bool showsMetrics() const { return showsMetrics_; }
    QVariantList metrics() const { return metrics_; }
    ActivityRowListModel* rows() { return &rows_; }
    ActivityCardListModel* cards() { return &cards_; }

    bool updateSheetShown() const { return selectedUpdate_.has_value(); }
    QString updateDot() const { return updateDot_; }
    QString updateBadge() const { return updateBadge_; }
    QString updateAgent() const { return updateAgent_; }
    QString updateSummary() const { return updateSummary_; }
    QString updateAge() const { return updateAge_; }
    QString updateBody() const { return updateBody_; }
    QString updateDetails() const { return updateDetails_; }
    QVariantList updateLinks() const { return updateLinks_; }
    bool updateNeedsYou() const { return updateNeedsYou_; }
    bool cardSheetShown() const { return selectedCard_.has_value(); }
    QVariantMap sheetCard() const { return sheetCard_; }

    Q_INVOKABLE void selectAttention();
    Q_INVOKABLE void selectCards();
    // The day at `index` of `days`.
    Q_INVOKABLE void selectDay(int index);
    // Empty: all channels.
    Q_INVOKABLE void selectChannel(const QString& channel);
    Q_INVOKABLE void setQuery(const QString& query);
    Q_INVOKABLE void markAllRead();
    // The sheets: the update at `row` of `rows`, the card with `id`.
    Q_INVOKABLE void openUpdate(int row);
    Q_INVOKABLE void openCard(const QString& id);
    Q_INVOKABLE void closeSheet();
    // Clears the shown update from Needs you; it stays in the activity.
    Q_INVOKABLE void completeAttention();

    // Reads the model again (on the follower's turn, or at once).
    void recompute();

signals:
    void changed();
    void sheetChanged();

private:
    void setDestination(ActivityDestination destination);
    // Filters the source for the destination; then announces.
    void rebuildPane();
    void rebuildSidebar();
    void rebuildSheets();
    // "Today", "Yesterday" or the date.
    QString dayLabel(OrvelKit::Date day) const;

    AppModel& model_;
    bool active_ = false;
    std::optional<ActivityDestination> destination_;
    ActivityFilter filter_;
    QString query_;
    std::shared_ptr<const ActivitySource> source_ = std::make_shared<ActivitySource>();
    int attentionCount_ = 0;
    int cardCount_ = 0;
    ActivitySidebarListModel days_;
    ActivitySidebarListModel channels_;
    QString title_;
    QString subtitle_;
    QString heading_;
    QString caption_;
    QString emptyText_;
    QString emptySymbol_;
    bool showsMetrics_ = false;
    QVariantList metrics_;
    ActivityRowListModel rows_;
    ActivityCardListModel cards_;
    std::optional<OrvelKit::ActivityItemDescriptor> selectedUpdate_;
    QString updateDot_;
    QString updateBadge_;
    QString updateAgent_;
    QString updateSummary_;
    QString updateAge_;
    QString updateBody_;
    QString updateDetails_;
    QVariantList updateLinks_;
    bool updateNeedsYou_ = false;
    std::optional<std::string> selectedCard_;
    QVariantMap sheetCard_;
    ModelFollower follower_;
};

} // namespace Orvel
