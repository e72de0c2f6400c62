#pragma once

// A notifier backend that keeps every request it is asked to show, for tests
// of what the app announces. It grants permission at once unless told to
// refuse it or to hold the question until the test answers it.

#include "orvel/core/NotifierBackend.h"

#include <functional>
#include <utility>
#include <vector>

namespace OrvelTest {

class RecordingNotifierBackend final : public Orvel::NotifierBackend {
public:
    enum class Answer { grant, refuse, hold };

    explicit RecordingNotifierBackend(Answer answer = Answer::grant) : answer_(answer) {}

    void requestAuthorization(std::function<void(bool)> completion) override {
        ++authorizationRequests;
        if (answer_ == Answer::hold) {
            held_.push_back(std::move(completion));
        } else {
            completion(answer_ == Answer::grant);
        }
    }
    void add(const Orvel::NotificationRequest& request) override { shown.push_back(request); }

    // Answers the held questions (from any thread, while the test's thread
    // waits); how many there were.
    std::size_t answer(bool granted) {
        auto held = std::exchange(held_, {});
        for (auto& completion : held) {
            completion(granted);
        }
        return held.size();
    }

    std::vector<Orvel::NotificationRequest> shown;
    int authorizationRequests = 0;

private:
    Answer answer_;
    std::vector<std::function<void(bool)>> held_;
};

} // namespace OrvelTest
