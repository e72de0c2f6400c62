#pragma once

#include "orvelkit/store/InboxStore.h"

#include <utility>

namespace OrvelKit {

// Holds one inbox in memory; writes nothing anywhere.
class MemoryInboxStore final : public InboxStore {
public:
    explicit MemoryInboxStore(Inbox inbox = {}) : inbox_(std::move(inbox)) {}

    Expected<Inbox, FileError> load() override { return inbox_; }
    void save(const Inbox& inbox) override { inbox_ = inbox; }

private:
    Inbox inbox_;
};

} // namespace OrvelKit
