#include "orvel/shell/ModelBridge.h"

#include "orvel/shell/HeaderLayout.h"
#include "orvelkit/async/Spawn.h"
#include "orvelkit/presentation/MenuBarIndicator.h"

#include <QVariantMap>

namespace Orvel {

static_assert(ModelBridge::Settings == static_cast<int>(AppScreen::Kind::settings));
static_assert(ModelBridge::OpenSettings == static_cast<int>(HeaderAction::settings));

ModelBridge::ModelBridge(AppModel& model, OrvelKit::Executor& executor, UpdaterController* updater,
                         QObject* parent)
    : QObject(parent), model_(model), executor_(executor), updater_(updater) {
    qRegisterMetaType<MenuBarIndicatorValue>();
    subscription_ = model_.observe([this](ModelField field) { modelChanged(field); });
}

ModelBridge::~ModelBridge() = default;

void ModelBridge::modelChanged(ModelField field) {
    switch (field) {
    case ModelField::inbox:
        emit inboxChanged();
        emit presentationChanged();
        announceHeader();
        return;
    case ModelField::briefingBaseline:
    case ModelField::pinnedCardIds:
        emit inboxChanged();
        emit presentationChanged();
        announceHeader();
        return;
    case ModelField::now:
        emit nowChanged();
        emit presentationChanged();
        announceHeader();
        return;
    case ModelField::config:
        emit configChanged();
        return;
    case ModelField::lastError:
        return;
    case ModelField::engagement:
        emit engagementChanged();
        return;
    case ModelField::newNotificationSequence:
        emit newNotificationSequenceChanged();
        return;
    case ModelField::useDevelopmentData:
        emit preferencesChanged();
        emit presentationChanged();
        announceHeader();
        return;
    case ModelField::expandedActivityEnabled:
        emit preferencesChanged();
        announceHeader();
        return;
    case ModelField::launchAtLogin:
    case ModelField::onlyInterrupt:
    case ModelField::groupActivityUpdates:
        emit preferencesChanged();
        return;
    case ModelField::expandedActivityRequestSequence:
        emit expandedActivityRequestSequenceChanged();
        return;
    case ModelField::path:
        emit navigationChanged();
        announceHeader();
        return;
    }
}

void ModelBridge::announceHeader() {
    if (!rootViewShown_) {
        headerMissed_ = true;
        return;
    }
    emit headerChanged();
}

ModelBridge::Screen ModelBridge::currentScreen() const {
    return static_cast<Screen>(model_.current().kind);
}

QString ModelBridge::currentScreenName() const {
    return QString::fromStdString(screenName(model_.current().kind));
}

QString ModelBridge::currentId() const {
    return QString::fromStdString(model_.current().id);
}

namespace {

// The briefing is computed only for the brand mark's dot, which alone
// depends on it, and only on the inbox.
HeaderLayout layoutOf(const AppModel& model, bool withAttention = false) {
    const auto attention =
        withAttention && model.path().empty() ? model.smartBriefing().unreadAttentionCount() : 0;
    return headerLayout(model.path(), model.expandedActivityEnabled(), attention);
}

} // namespace

bool ModelBridge::headerShowsBack() const {
    return layoutOf(model_).back.has_value();
}

QString ModelBridge::headerTitle() const {
    return QString::fromStdString(layoutOf(model_).title.value_or(""));
}

bool ModelBridge::headerShowsBrandMark() const {
    return layoutOf(model_).showsBrandMark;
}

bool ModelBridge::headerBrandNeedsYou() const {
    return layoutOf(model_, true).brandNeedsYou;
}

QVariantList ModelBridge::headerTrailing() const {
    QVariantList buttons;
    for (const auto& button : layoutOf(model_).trailing) {
        buttons.push_back(QVariantMap{{"action", static_cast<int>(button.action)},
                                      {"symbol", QString::fromStdString(button.symbol)},
                                      {"label", QString::fromStdString(button.label)},
                                      {"size", button.size}});
    }
    return buttons;
}

MenuBarIndicatorValue ModelBridge::indicator() const {
    return MenuBarIndicatorValue(OrvelKit::Presentation::menuBarIndicator(
        model_.sourceInbox(), model_.now(), model_.calendar()));
}

int ModelBridge::newNotificationSequence() const {
    return static_cast<int>(model_.newNotificationSequence());
}

void ModelBridge::performHeaderAction(HeaderAction action) {
    if (action < Back || action > OpenSettings) {
        return;
    }
    Orvel::performHeaderAction(model_, static_cast<Orvel::HeaderAction>(action));
}

void ModelBridge::open(Screen screen, const QString& id) {
    if (screen < Detail || screen > Settings) {
        return;
    }
    model_.open(AppScreen{static_cast<AppScreen::Kind>(screen), id.toStdString()});
}

void ModelBridge::refresh() {
    OrvelKit::spawn(executor_, model_.refresh());
}

void ModelBridge::setInterfaceVisible(bool visible) {
    if (updater_) {
        updater_->setInterfaceVisible(UpdaterController::popoverInterface, visible);
    }
}

void ModelBridge::rootViewAppeared() {
    setInterfaceVisible(true);
    // The session's changes reach the header with the ones missed while
    // hidden, in one announcement.
    model_.beginBriefingSession();
    setRootViewShown(true);
    // A sync on every opening, besides the periodic one.
    refresh();
}

void ModelBridge::rootViewDisappeared() {
    setRootViewShown(false);
    setInterfaceVisible(false);
}

void ModelBridge::setRootViewShown(bool shown) {
    rootViewShown_ = shown;
    if (shown && headerMissed_) {
        headerMissed_ = false;
        emit headerChanged();
    }
}

} // namespace Orvel
