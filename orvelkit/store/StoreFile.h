#pragma once

#include "orvelkit/store/FileContents.h"
#include "orvelkit/store/FileError.h"
#include "orvelkit/store/StoreDiagnostic.h"
#include "orvelkit/support/Expected.h"

#include <atomic>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace OrvelKit {

// The file behind a file store, with the rules every store follows:
//  - a missing file is simply absent;
//  - a file that exists but cannot be read (no permission, an I/O error, too
//    many open files, a directory in its place) is an error: it is left where
//    it is, and nothing is written over it until a later read succeeds;
//  - a file that was read but that the store rejects is moved aside before
//    the store falls back to its default, so that the next save cannot
//    destroy what it held (if it cannot be moved, it is not written over);
//  - a UTF-8 byte-order mark at the start is not part of the text;
//  - reading narrows a file readable by others to the user; it leaves
//    temporaries alone, since another process may be saving (the holder of
//    the data directory's lock clears what interrupted saves left behind,
//    DataDirectoryLock.h);
//  - writing creates missing directories (0700) and replaces the file atomically (0600).
// Every failure goes to the diagnostic sink, if there is one.
class StoreFile {
public:
    StoreFile(std::filesystem::path file, StoreDiagnosticSink diagnostics)
        : file_(std::move(file)), diagnostics_(std::move(diagnostics)) {}

    // The whole file, nothing when it is missing, or why it could not be read.
    Expected<std::optional<FileContents>, FileError> read();

    // The text of contents read, without a leading byte-order mark.
    static std::string_view text(const FileContents& contents);

    // The contents read could not be used: moves the file aside.
    void reject(std::string_view reason);

    // True when the file was replaced. Refused while the file is protected.
    bool write(std::string_view contents) const;

    // For small files: leaves the file alone (no write, no flush) when it
    // already holds exactly `contents` and is private; otherwise writes.
    bool writeIfChanged(std::string_view contents) const;

    // True while the file holds something that was not read and must not be
    // written over.
    bool isProtected() const { return protected_; }

    // Passes a failure to the sink.
    void report(StoreDiagnostic::Event event, std::string message) const;

    const std::filesystem::path& path() const { return file_; }

private:
    // Moves the file aside; false when it is still in place.
    bool preserve() const;

    std::filesystem::path file_;
    StoreDiagnosticSink diagnostics_;
    // Set by the owner's thread before a saver thread writes, read there.
    std::atomic<bool> protected_{false};
};

} // namespace OrvelKit
