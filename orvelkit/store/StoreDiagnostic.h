#pragma once

// What went wrong with a store's file, for whoever wants to know (the app's
// error banner, a test): a store given a sink hears about each failure.
// Messages name files, keys and system errors, never file contents, so no
// credential ever reaches a sink.

#include <filesystem>
#include <functional>
#include <string>

namespace OrvelKit {

struct StoreDiagnostic {
    enum class Event {
        readFailed,     // the file exists but could not be read; `message` is the reason
        decodeFailed,   // the file was read but is not a valid store file
        preserved,      // an unusable file was moved aside; `file` is its new path
        preserveFailed, // ... and moving it aside failed too; `message` is the reason
        encodeFailed,   // the value could not be written as JSON
        writeFailed,    // creating the directory or replacing the file failed
        restrictFailed, // a file others can read could not be narrowed to the user
    };

    Event event;
    std::filesystem::path file;
    std::string message;
};

using StoreDiagnosticSink = std::function<void(const StoreDiagnostic&)>;

} // namespace OrvelKit
