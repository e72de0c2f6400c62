#include "orvelkit/store/BackgroundInboxSaver.h"
#include "orvelkit/store/MemoryInboxStore.h"
#include "orvelkit/store/SharedInbox.h"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace OrvelKit {
namespace {

Inbox inboxNamed(const std::string& channel) {
    return Inbox({ChannelInbox(channel, std::nullopt, false, {}, {}, 0, 0, 0, {})});
}

// Records what it is asked to save; the first save waits until released.
class GatedStore final : public InboxStore {
public:
    Expected<Inbox, FileError> load() override { return Inbox(); }
    void save(const Inbox& inbox) override {
        EXPECT_EQ(inside_.fetch_add(1), 0) << "two saves overlapped";
        std::unique_lock lock(mutex_);
        entered_ = true;
        changed_.notify_all();
        changed_.wait(lock, [&] { return open_; });
        saved_.push_back(inbox.channels().front().channel());
        savingThreads_.push_back(std::this_thread::get_id());
        inside_.fetch_sub(1);
    }

    void waitUntilSaving() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return entered_; });
    }
    void open() {
        std::lock_guard lock(mutex_);
        open_ = true;
        changed_.notify_all();
    }
    std::vector<std::string> saved() {
        std::lock_guard lock(mutex_);
        return saved_;
    }
    std::vector<std::thread::id> savingThreads_;

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool entered_ = false;
    bool open_ = false;
    std::atomic<int> inside_{0};
    std::vector<std::string> saved_;
};

TEST(BackgroundInboxSaver, WritesOneAtATimeOffTheCallersThreadAndTheLatestWins) {
    GatedStore store;
    std::atomic<int> destroyed{0};
    std::thread::id destroyedOn;
    {
        BackgroundInboxSaver saver(store);
        saver.save(inboxNamed("first"));
        store.waitUntilSaving();
        saver.save(
            std::shared_ptr<const Inbox>(new Inbox(inboxNamed("second")), [&](const Inbox* inbox) {
                destroyedOn = std::this_thread::get_id();
                ++destroyed;
                delete inbox;
            }));
        saver.save(inboxNamed("third"));
        saver.save(nullptr);
        EXPECT_EQ(destroyed, 0) << "a replaced snapshot was destroyed by the caller";
        store.open();
        saver.flush();
        EXPECT_EQ(store.saved(), (std::vector<std::string>{"first", "third"}));
        EXPECT_EQ(destroyed, 1);
        EXPECT_NE(destroyedOn, std::this_thread::get_id());
        EXPECT_EQ(std::ranges::count(store.savingThreads_, std::this_thread::get_id()), 0);

        saver.save(inboxNamed("fourth"));
    }
    // Destroying the saver wrote what was still waiting.
    EXPECT_EQ(store.saved().back(), "fourth");
}

// The owner keeps changing its inbox while the saver writes snapshots of it.
TEST(BackgroundInboxSaver, SavesTheLatestOfAnOwnersChanges) {
    MemoryInboxStore store;
    SharedInbox shared(inboxNamed("c"));
    {
        BackgroundInboxSaver saver(store);
        for (std::uint64_t seq = 1; seq <= 200; ++seq) {
            shared.edit().dismiss("c", seq);
            saver.save(shared.snapshot());
        }
        saver.flush();
        EXPECT_EQ(store.load().value(), shared.get());
    }
}

TEST(SharedInbox, CopiesOnlyWhileASnapshotIsHeld) {
    SharedInbox shared(inboxNamed("a"));
    const Inbox* original = &shared.get();
    EXPECT_EQ(&shared.edit(), original); // nothing shared: edited in place

    auto snapshot = shared.snapshot();
    shared.edit().dismiss("a", 7);
    EXPECT_NE(&shared.get(), original);
    EXPECT_FALSE(snapshot->channel("a")->isDismissed(7)); // the snapshot did not change
    EXPECT_TRUE(shared.get().channel("a")->isDismissed(7));
}

} // namespace
} // namespace OrvelKit
