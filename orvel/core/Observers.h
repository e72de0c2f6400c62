#pragma once

// A list of callbacks to tell about changes, and the subscription that keeps
// one of them registered.
//
// Callbacks run synchronously, in the order they subscribed, on the thread
// that notifies. A callback may subscribe or unsubscribe others (or itself)
// while a notification runs: one removed meanwhile is not called, one added
// meanwhile waits for the next notification. A subscription may outlive the
// list it came from.

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <utility>
#include <vector>

namespace Orvel {

// Unsubscribes when destroyed or reset. Move-only.
class [[nodiscard]] Subscription {
public:
    Subscription() = default;
    explicit Subscription(std::function<void()> cancel) : cancel_(std::move(cancel)) {}
    Subscription(Subscription&& other) noexcept : cancel_(std::exchange(other.cancel_, {})) {}
    Subscription& operator=(Subscription&& other) noexcept {
        if (this != &other) {
            reset();
            cancel_ = std::exchange(other.cancel_, {});
        }
        return *this;
    }
    Subscription(const Subscription&) = delete;
    Subscription& operator=(const Subscription&) = delete;
    ~Subscription() { reset(); }

    void reset() {
        if (auto cancel = std::exchange(cancel_, {})) {
            cancel();
        }
    }

private:
    std::function<void()> cancel_;
};

template <class... Args>
class Observers {
public:
    using Callback = std::function<void(Args...)>;

    Subscription subscribe(Callback callback) {
        const auto id = state_->nextId++;
        state_->callbacks.emplace(id, std::make_shared<Callback>(std::move(callback)));
        return Subscription([weak = std::weak_ptr<State>(state_), id] {
            if (auto state = weak.lock()) {
                state->callbacks.erase(id);
            }
        });
    }

    void notify(const Args&... args) const {
        // Snapshot the ids so changes made by callbacks cannot disturb the walk.
        std::vector<std::uint64_t> ids;
        ids.reserve(state_->callbacks.size());
        for (const auto& entry : state_->callbacks) {
            ids.push_back(entry.first);
        }
        const auto keepAlive = state_;
        for (const auto id : ids) {
            const auto found = keepAlive->callbacks.find(id);
            if (found == keepAlive->callbacks.end()) {
                continue;
            }
            const auto callback = found->second;
            (*callback)(args...);
        }
    }

    std::size_t count() const { return state_->callbacks.size(); }

private:
    struct State {
        std::uint64_t nextId = 0;
        std::map<std::uint64_t, std::shared_ptr<Callback>> callbacks;
    };
    std::shared_ptr<State> state_ = std::make_shared<State>();
};

} // namespace Orvel
