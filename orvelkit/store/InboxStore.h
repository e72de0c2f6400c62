#pragma once

#include "orvelkit/inbox/Inbox.h"

namespace OrvelKit {

// Keeps the inbox across launches. Never reports failure: load() falls back
// to an empty inbox and save() is silent.
class InboxStore {
public:
    virtual ~InboxStore() = default;

    virtual Inbox load() = 0;
    virtual void save(const Inbox& inbox) = 0;
};

} // namespace OrvelKit
