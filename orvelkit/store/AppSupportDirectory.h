#pragma once

#include "orvelkit/store/FileError.h"
#include "orvelkit/support/Expected.h"

#include <filesystem>
#include <optional>
#include <string_view>

namespace OrvelKit {

// The directory that holds the application's files, "config.json" and
// "inbox.json" side by side: "$XDG_DATA_HOME/orvel", or "~/.local/share/orvel"
// when XDG_DATA_HOME is unset, empty or not an absolute path.
class AppSupportDirectory {
public:
    explicit AppSupportDirectory(std::filesystem::path directory)
        : directory_(std::move(directory)) {}

    // From the environment; the home directory comes from HOME or, failing
    // that, the user database. Nothing when no home directory is known.
    static std::optional<AppSupportDirectory> locate();

    // The same rule from given values.
    static std::optional<AppSupportDirectory> locate(std::optional<std::string_view> xdgDataHome,
                                                     std::optional<std::string_view> home);

    const std::filesystem::path& directory() const { return directory_; }
    std::filesystem::path configFile() const { return directory_ / "config.json"; }
    std::filesystem::path inboxFile() const { return directory_ / "inbox.json"; }
    std::filesystem::path preferencesFile() const { return directory_ / "preferences.json"; }

    // Creates the directory (and missing parents) with mode 0700, and narrows
    // an existing one, and the two files in it, to the user. Call once at
    // start-up, before the stores are used.
    Expected<void, FileError> prepare() const;

private:
    std::filesystem::path directory_;
};

} // namespace OrvelKit
