#include "orvel/shell/ModelFollower.h"

#include <algorithm>

namespace Orvel {

ModelFollower::ModelFollower(AppModel& model, OrvelKit::Executor& executor,
                             std::initializer_list<ModelField> fields,
                             std::function<void()> recompute)
    : executor_(executor), fields_(fields), recompute_(std::move(recompute)),
      self_(std::make_shared<ModelFollower*>(this)),
      subscription_(model.observe([this](ModelField field) { changed(field); })) {}

void ModelFollower::setPaused(bool paused) {
    if (paused == paused_) {
        return;
    }
    paused_ = paused;
    if (!paused_ && missed_) {
        missed_ = false;
        recompute_();
    }
}

void ModelFollower::changed(ModelField field) {
    if (scheduled_ || std::find(fields_.begin(), fields_.end(), field) == fields_.end()) {
        return;
    }
    if (paused_) {
        missed_ = true;
        return;
    }
    scheduled_ = true;
    executor_.post([weak = std::weak_ptr<ModelFollower*>(self_)] {
        if (auto self = weak.lock()) {
            (*self)->due();
        }
    });
}

void ModelFollower::due() {
    scheduled_ = false;
    // Paused since the change was noted: the recomputation waits for resuming.
    if (paused_) {
        missed_ = true;
        return;
    }
    recompute_();
}

} // namespace Orvel
