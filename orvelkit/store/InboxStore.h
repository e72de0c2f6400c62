#pragma once

#include "orvelkit/inbox/Inbox.h"
#include "orvelkit/store/FileError.h"
#include "orvelkit/support/Expected.h"

namespace OrvelKit {

// Keeps the inbox across launches. load() gives an empty inbox when nothing
// usable is stored, and an error only when a stored file exists but cannot be
// read; nothing is saved over such a file. save() is silent.
class InboxStore {
public:
    virtual ~InboxStore() = default;

    virtual Expected<Inbox, FileError> load() = 0;
    virtual void save(const Inbox& inbox) = 0;
};

} // namespace OrvelKit
