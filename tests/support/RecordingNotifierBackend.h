#pragma once

// A notifier backend that grants permission at once and keeps every request
// it is asked to show, for tests of what the app announces.

#include "orvel/core/NotifierBackend.h"

#include <functional>
#include <vector>

namespace OrvelTest {

class RecordingNotifierBackend final : public Orvel::NotifierBackend {
public:
    void requestAuthorization(std::function<void(bool)> completion) override { completion(true); }
    void add(const Orvel::NotificationRequest& request) override { shown.push_back(request); }

    std::vector<Orvel::NotificationRequest> shown;
};

} // namespace OrvelTest
