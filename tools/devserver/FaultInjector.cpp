#include "tools/devserver/FaultInjector.h"

namespace OrvelDev {

void FaultInjector::set(std::string endpoint, Fault fault) {
    std::lock_guard lock(mutex_);
    if (fault.times == 0u) {
        faults_.erase(endpoint);
        return;
    }
    faults_.insert_or_assign(std::move(endpoint), fault);
}

void FaultInjector::clear(std::string_view endpoint) {
    std::lock_guard lock(mutex_);
    if (const auto found = faults_.find(endpoint); found != faults_.end()) {
        faults_.erase(found);
    }
}

void FaultInjector::clearAll() {
    std::lock_guard lock(mutex_);
    faults_.clear();
}

std::optional<Fault> FaultInjector::take(std::string_view path) {
    std::lock_guard lock(mutex_);
    auto found = faults_.find(path);
    if (found == faults_.end()) {
        found = faults_.find(std::string_view("*"));
    }
    if (found == faults_.end()) {
        return std::nullopt;
    }
    const Fault fault = found->second;
    if (found->second.times && --*found->second.times == 0) {
        faults_.erase(found);
    }
    ++injected_;
    return fault;
}

std::uint64_t FaultInjector::injected() const {
    std::lock_guard lock(mutex_);
    return injected_;
}

std::size_t FaultInjector::holding() const {
    std::lock_guard lock(mutex_);
    return holding_;
}

void FaultInjector::wait(std::chrono::milliseconds duration) {
    std::unique_lock lock(mutex_);
    ++holding_;
    const std::uint64_t releases = releases_;
    interrupted_.wait_for(lock, duration,
                          [this, releases] { return stopping_ || releases_ != releases; });
    --holding_;
}

void FaultInjector::release() {
    {
        std::lock_guard lock(mutex_);
        ++releases_;
    }
    interrupted_.notify_all();
}

void FaultInjector::interrupt() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    interrupted_.notify_all();
}

} // namespace OrvelDev
