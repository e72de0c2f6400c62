#pragma once

// What a view model uses to follow the app model: after any of the fields it
// cares about changes, `recompute` runs once, on the next executor turn, however
// many of them changed in the turn before. The view model recomputes its values
// there and announces them; property reads only return what was computed.

#include "orvel/core/AppModel.h"

#include <functional>
#include <initializer_list>
#include <memory>
#include <vector>

namespace Orvel {

class ModelFollower {
public:
    // The model and the executor must outlive the follower. `recompute` is
    // never called after the follower is destroyed.
    ModelFollower(AppModel& model, OrvelKit::Executor& executor,
                  std::initializer_list<ModelField> fields, std::function<void()> recompute);
    ModelFollower(const ModelFollower&) = delete;
    ModelFollower& operator=(const ModelFollower&) = delete;

    // While paused, changes are only noted: a view nobody sees costs nothing.
    // Resuming recomputes at once, and only if something changed meanwhile.
    void setPaused(bool paused);
    bool paused() const { return paused_; }

private:
    void changed(ModelField field);
    void due();

    OrvelKit::Executor& executor_;
    std::vector<ModelField> fields_;
    std::function<void()> recompute_;
    bool scheduled_ = false;
    bool paused_ = false;
    // A change arrived while paused.
    bool missed_ = false;
    // Lets posted work find out that the follower is gone.
    std::shared_ptr<ModelFollower*> self_;
    Subscription subscription_;
};

} // namespace Orvel
