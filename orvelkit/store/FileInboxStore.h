#pragma once

#include "orvelkit/store/InboxStore.h"
#include "orvelkit/store/StoreDiagnostic.h"
#include "orvelkit/store/StoreFile.h"

#include <atomic>
#include <cstddef>
#include <filesystem>

namespace OrvelKit {

// The inbox as a JSON file ("inbox.json", format in InboxFile.h). Every load
// reads the file again.
//
// The file holds the local read and dismissal marks, so a file that cannot
// be read is an error and is not written over until it can be read; one that
// is read but does not decode is moved aside
// ("inbox.json.unreadable-<UTC time>") before an empty inbox is returned.
// Saves replace the file atomically (see AtomicFile.h) with mode 0600 and
// create missing directories with mode 0700.
//
// One thread at a time may use a store; BackgroundInboxSaver moves saving to
// its own thread.
class FileInboxStore final : public InboxStore {
public:
    explicit FileInboxStore(std::filesystem::path file, StoreDiagnosticSink diagnostics = {});

    Expected<Inbox, FileError> load() override;
    void save(const Inbox& inbox) override;

    const std::filesystem::path& file() const { return file_.path(); }

private:
    StoreFile file_;
    // The length of the last file read or written: the next encoding's buffer size.
    std::atomic<std::size_t> lastSize_{0};
};

} // namespace OrvelKit
