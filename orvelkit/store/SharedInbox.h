#pragma once

#include "orvelkit/inbox/Inbox.h"

#include <atomic>
#include <memory>
#include <utility>

namespace OrvelKit {

// The owner's inbox, in a form that hands out snapshots for saving without
// copying it each time (copy-on-write).
//
// snapshot() shares the current inbox, immutable from then on for as long as
// anyone holds the snapshot. edit() gives the owner an inbox it may change: the
// current one when no snapshot of it is held any more (the usual case: a save
// is long done by the next change), otherwise a fresh copy, so a save in
// progress never sees a change.
//
// Use from the owner's thread only; snapshots may travel to and be released on
// other threads.
class SharedInbox {
public:
    explicit SharedInbox(Inbox inbox = {}) : inbox_(std::make_shared<Inbox>(std::move(inbox))) {}

    const Inbox& get() const { return *inbox_; }

    Inbox& edit() {
        if (inbox_.use_count() > 1) {
            inbox_ = std::make_shared<Inbox>(*inbox_);
        } else {
            // The count fell to one when the last snapshot was released,
            // maybe on another thread; this orders that thread's reads of the
            // inbox before the owner's changes to it.
            std::atomic_thread_fence(std::memory_order_acquire);
        }
        return *inbox_;
    }

    std::shared_ptr<const Inbox> snapshot() const { return inbox_; }

private:
    // Only this object hands out references, so once the count is one it
    // stays one until the next snapshot().
    std::shared_ptr<Inbox> inbox_;
};

} // namespace OrvelKit
