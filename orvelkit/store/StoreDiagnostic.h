#pragma once

// Stores never report failure to their callers: a load falls back to an empty
// or default value and a save is silent. Whoever wants to know what went wrong
// (a diagnostics view, a test) can give a store a sink that hears about each
// failure. Messages name files, keys and system errors, never file contents,
// so no credential ever reaches a sink.

#include <filesystem>
#include <functional>
#include <string>

namespace OrvelKit {

struct StoreDiagnostic {
    enum class Event {
        readFailed,     // the file exists but could not be read
        decodeFailed,   // the file was read but is not a valid store file
        preserved,      // an unusable file was moved aside; `file` is its new path
        preserveFailed, // ... and moving it aside failed too
        encodeFailed,   // the value could not be written as JSON
        writeFailed,    // creating the directory or replacing the file failed
    };

    Event event;
    std::filesystem::path file;
    std::string message;
};

using StoreDiagnosticSink = std::function<void(const StoreDiagnostic&)>;

} // namespace OrvelKit
