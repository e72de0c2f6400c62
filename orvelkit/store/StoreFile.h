#pragma once

#include "orvelkit/store/FileContents.h"
#include "orvelkit/store/StoreDiagnostic.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace OrvelKit {

// The file behind a file store, with the rules both stores follow:
//  - a missing file is simply absent;
//  - a file that exists but cannot be read, or that the store rejects after
//    reading it, is moved aside before the store falls back to its default, so
//    that the next save cannot destroy what it held;
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

    // The whole file, or nothing when it is missing or could not be read.
    std::optional<FileContents> read() const;

    // The contents read could not be used: moves the file aside.
    void reject(std::string_view reason) const;

    // True when the file was replaced.
    bool write(std::string_view contents) const;

    // For small files: leaves the file alone (no write, no flush) when it
    // already holds exactly `contents` and is private; otherwise writes.
    bool writeIfChanged(std::string_view contents) const;

    // Passes a failure to the sink.
    void report(StoreDiagnostic::Event event, std::string message) const;

    const std::filesystem::path& path() const { return file_; }

private:
    void preserve() const;

    std::filesystem::path file_;
    StoreDiagnosticSink diagnostics_;
};

} // namespace OrvelKit
