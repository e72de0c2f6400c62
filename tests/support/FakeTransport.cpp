#include "tests/support/FakeTransport.h"

namespace OrvelTest {

using namespace OrvelKit;

void FakeTransport::respond(TransportResult result) {
    std::lock_guard lock(mutex_);
    standing_ = std::move(result);
}

void FakeTransport::enqueue(TransportResult result) {
    std::lock_guard lock(mutex_);
    scripted_.push_back(std::move(result));
}

Task<TransportResult> FakeTransport::send(HTTPRequest request) {
    co_return next(std::move(request));
}

TransportResult FakeTransport::next(HTTPRequest request) {
    std::lock_guard lock(mutex_);
    requests_.push_back(std::move(request));
    if (scripted_.empty()) {
        return standing_;
    }
    auto result = std::move(scripted_.front());
    scripted_.pop_front();
    return result;
}

std::vector<HTTPRequest> FakeTransport::requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

} // namespace OrvelTest
