#pragma once

#include <filesystem>
#include <string>
#include <system_error>

namespace OrvelKit {

// A failed file-system operation: what was attempted, on which path, and the
// system's reason.
struct FileError {
    std::string operation;
    std::filesystem::path path;
    std::error_code code;

    // The file (or a directory on its way) does not exist.
    bool notFound() const { return code == std::errc::no_such_file_or_directory; }

    // "rename /home/ann/.local/share/orvel/inbox.json: Permission denied"
    std::string description() const {
        return operation + " " + path.string() + ": " + code.message();
    }

    bool operator==(const FileError&) const = default;
};

} // namespace OrvelKit
