#include "tools/devserver/McpSessions.h"

namespace OrvelDev {

namespace {

constexpr std::size_t idLength = 32;

} // namespace

std::string McpSessions::open() {
    std::lock_guard lock(mutex_);
    std::string id;
    do {
        id = "mcp_" + random_(idLength);
    } while (live_.contains(id));
    live_.insert(id);
    byAge_.push_back(id);
    while (live_.size() > capacity_ && !byAge_.empty()) {
        live_.erase(byAge_.front());
        byAge_.pop_front();
    }
    // Closed sessions leave their names behind; drop them once they dominate.
    if (byAge_.size() > 2 * live_.size() + 64) {
        std::erase_if(byAge_, [this](const std::string& name) { return !live_.contains(name); });
    }
    return id;
}

bool McpSessions::contains(std::string_view id) const {
    std::lock_guard lock(mutex_);
    return live_.find(id) != live_.end();
}

bool McpSessions::close(std::string_view id) {
    std::lock_guard lock(mutex_);
    const auto found = live_.find(id);
    if (found == live_.end()) {
        return false;
    }
    live_.erase(found);
    return true;
}

} // namespace OrvelDev
