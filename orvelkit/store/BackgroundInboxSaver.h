#pragma once

#include "orvelkit/store/InboxStore.h"

#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace OrvelKit {

// Saves inbox snapshots through a store on a thread of its own, so that
// saving a large inbox does not hold up the thread that owns it.
//
// save() hands over an immutable snapshot and returns at once. Writes happen
// one after another, never overlapping; a snapshot still waiting when a newer
// one arrives is dropped (the latest one wins), and snapshots the saver lets go
// of are destroyed on its thread, not the caller's. Destroying the saver
// writes what is still waiting and then stops.
//
// While a saver exists, nothing else may use its store, except after flush()
// and from the thread that calls save(). SharedInbox gives an owner that
// changes its inbox snapshots to pass here without copying it for each save.
class BackgroundInboxSaver {
public:
    explicit BackgroundInboxSaver(InboxStore& store);
    ~BackgroundInboxSaver();

    BackgroundInboxSaver(const BackgroundInboxSaver&) = delete;
    BackgroundInboxSaver& operator=(const BackgroundInboxSaver&) = delete;

    // Queues the snapshot for writing. Costs a lock and a wake-up, whatever
    // the inbox's size. A null snapshot is ignored.
    void save(std::shared_ptr<const Inbox> snapshot);
    // The same for an inbox given by value (move it in to avoid a copy).
    void save(Inbox inbox) { save(std::make_shared<const Inbox>(std::move(inbox))); }

    // Waits until the latest snapshot handed over has been written.
    void flush();

private:
    void run();

    InboxStore& store_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    std::shared_ptr<const Inbox> pending_;
    // Replaced snapshots, to be destroyed on the worker.
    std::vector<std::shared_ptr<const Inbox>> released_;
    bool writing_ = false;
    bool stopping_ = false;
    std::thread worker_;
};

} // namespace OrvelKit
