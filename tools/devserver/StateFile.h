#pragma once

// The service's whole state as one JSON file, as earlier versions kept it: now
// read to import it (ServiceStore holds the state), and written by tests that
// seed a service. It holds device and publish tokens, so it is written with
// mode 0600, and atomically: a temporary file in the same directory is
// written and flushed, renamed over the old one, and the directory is
// flushed, so a crash leaves either the old or the new state, never a torn
// file.

#include "orvelkit/support/Expected.h"
#include "tools/devserver/DevState.h"

#include <filesystem>
#include <optional>
#include <string>

namespace OrvelDev {

class StateFile {
public:
    explicit StateFile(std::filesystem::path path) : path_(std::move(path)) {}

    const std::filesystem::path& path() const { return path_; }

    // No file yet gives an absent state; an unreadable or malformed file is an
    // error (it is never silently replaced).
    OrvelKit::Expected<std::optional<DevState>, std::string> load() const;
    OrvelKit::Expected<void, std::string> save(const DevState& state) const;

private:
    std::filesystem::path path_;
};

} // namespace OrvelDev
