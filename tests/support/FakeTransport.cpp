#include "tests/support/FakeTransport.h"

namespace OrvelTest {

using namespace OrvelKit;

void FakeTransport::respond(TransportResult result) {
    std::lock_guard lock(mutex_);
    standing_ = std::move(result);
}

Task<TransportResult> FakeTransport::send(HTTPRequest request) {
    std::unique_lock lock(mutex_);
    requests_.push_back(std::move(request));
    TransportResult result = standing_;
    lock.unlock();
    co_return result;
}

std::vector<HTTPRequest> FakeTransport::requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

} // namespace OrvelTest
