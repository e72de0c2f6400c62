#include "orvelkit/store/BackgroundInboxSaver.h"

#include <utility>

namespace OrvelKit {

BackgroundInboxSaver::BackgroundInboxSaver(InboxStore& store)
    : store_(store), worker_([this] { run(); }) {}

BackgroundInboxSaver::~BackgroundInboxSaver() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_one();
    worker_.join();
}

void BackgroundInboxSaver::save(std::shared_ptr<const Inbox> snapshot) {
    if (!snapshot) {
        return;
    }
    {
        std::lock_guard lock(mutex_);
        if (pending_) {
            released_.push_back(std::move(pending_));
        }
        pending_ = std::move(snapshot);
    }
    wake_.notify_one();
}

void BackgroundInboxSaver::flush() {
    std::unique_lock lock(mutex_);
    idle_.wait(lock, [this] { return !pending_ && !writing_; });
}

void BackgroundInboxSaver::run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return pending_ || !released_.empty() || stopping_; });
        std::shared_ptr<const Inbox> snapshot = std::move(pending_);
        std::vector<std::shared_ptr<const Inbox>> released = std::move(released_);
        released_.clear();
        if (!snapshot && released.empty() && stopping_) {
            break;
        }
        writing_ = true;
        lock.unlock();

        released.clear();
        if (snapshot) {
            store_.save(*snapshot);
            snapshot.reset();
        }

        lock.lock();
        writing_ = false;
        if (!pending_) {
            idle_.notify_all();
        }
    }
}

} // namespace OrvelKit
