#pragma once

// A notification backend for tests: records every request it is given and
// answers the permission request as told, at once or when the test decides.

#include "orvel/core/NotifierBackend.h"

#include <functional>
#include <mutex>
#include <utility>
#include <vector>

namespace OrvelTest {

class RecordingNotifierBackend final : public Orvel::NotifierBackend {
public:
    enum class Answer { grantAtOnce, denyAtOnce, holdUntilAnswered };

    explicit RecordingNotifierBackend(Answer answer = Answer::grantAtOnce) : answer_(answer) {}

    void requestAuthorization(std::function<void(bool granted)> completion) override {
        std::unique_lock lock(mutex_);
        ++authorizationRequests_;
        if (answer_ == Answer::holdUntilAnswered) {
            held_.push_back(std::move(completion));
            return;
        }
        const bool granted = answer_ == Answer::grantAtOnce;
        lock.unlock();
        completion(granted);
    }

    void add(const Orvel::NotificationRequest& request) override {
        std::lock_guard lock(mutex_);
        added_.push_back(request);
    }

    // Gives the held permission requests their answer (from any thread).
    // Returns how many were waiting.
    std::size_t answer(bool granted) {
        std::vector<std::function<void(bool)>> held;
        {
            std::lock_guard lock(mutex_);
            held.swap(held_);
        }
        for (auto& completion : held) {
            completion(granted);
        }
        return held.size();
    }

    std::vector<Orvel::NotificationRequest> added() const {
        std::lock_guard lock(mutex_);
        return added_;
    }
    int authorizationRequests() const {
        std::lock_guard lock(mutex_);
        return authorizationRequests_;
    }

private:
    mutable std::mutex mutex_;
    Answer answer_;
    int authorizationRequests_ = 0;
    std::vector<std::function<void(bool)>> held_;
    std::vector<Orvel::NotificationRequest> added_;
};

} // namespace OrvelTest
