#include "orvel/shell/EngageScreenModel.h"

#include "orvel/core/AgentInstructions.h"
#include "orvelkit/async/Spawn.h"
#include "orvelkit/config/ServiceAddresses.h"

namespace Orvel {

EngageScreenModel::EngageScreenModel(AppModel& model, OrvelKit::Executor& executor,
                                     Clipboard& clipboard, QObject* parent)
    : QObject(parent), model_(model), executor_(executor), clipboard_(clipboard),
      self_(std::make_shared<EngageScreenModel*>(this)),
      follower_(model, executor, {ModelField::path, ModelField::engagement, ModelField::lastError},
                [this] { recompute(); }) {
    recompute();
}

EngageScreenModel::~EngageScreenModel() {
    *self_ = nullptr;
}

void EngageScreenModel::retry() {
    if (!creating_ && !model_.engagement()) {
        create();
        recompute();
    }
}

void EngageScreenModel::copyInstructions() {
    if (state_ == State::Ready) {
        clipboard_.copy(instructions_);
    }
}

void EngageScreenModel::create() {
    creating_ = true;
    failed_ = false;
    OrvelKit::spawn(executor_, model_.createEngagement(), [self = self_] {
        auto* screen = *self;
        if (!screen) {
            return;
        }
        screen->creating_ = false;
        screen->failed_ = !screen->model_.engagement().has_value();
        screen->recompute();
    });
}

void EngageScreenModel::recompute() {
    const bool shown = model_.current().kind == AppScreen::Kind::engage;
    if (shown && !shown_) {
        // A fresh visit: nothing failed yet; create unless there is a channel.
        failed_ = false;
        if (!model_.engagement() && !creating_) {
            create();
        }
    } else if (!shown) {
        // The next visit starts afresh, whatever this one ended with.
        failed_ = false;
    }
    shown_ = shown;
    const auto& engagement = model_.engagement();
    if (engagement) {
        state_ = State::Ready;
        channel_ = QString::fromStdString(engagement->channel);
        instructions_ = QString::fromStdString(AgentInstructions::channelInstructions(
            *engagement, OrvelKit::ServiceAddresses(model_.config().serverURL)));
    } else {
        state_ = failed_ ? State::Failed : State::Creating;
        channel_.clear();
        instructions_.clear();
    }
    const auto& error = model_.lastError();
    errorText_ = state_ == State::Failed && error ? QString::fromStdString(*error) : QString();
    emit changed();
}

} // namespace Orvel
