#pragma once

// One writer per data directory. The process that changes the files of a data
// directory (the desktop app while it runs, or orvelctl for one command)
// holds an exclusive flock on "orvel.lock" in it for as long as it may write.
// The lock goes with the process: a crash or a kill releases it, so there is
// never a stale lock to clean up, and the file itself is never removed.
//
// The holder records in the lock file who it is (its process id) and, once
// it can be reached, its session-bus name, so another process that finds the
// directory taken can hand its work to the holder instead.
//
// Taking the lock also clears the temporaries that saves interrupted by a
// crash left behind: only the one writer may, since a temporary may be a save
// in progress.

#include "orvelkit/store/FileError.h"
#include "orvelkit/support/Expected.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace OrvelKit {

class DataDirectoryLock {
public:
    static constexpr std::string_view fileName = "orvel.lock";

    // What the holder recorded about itself.
    struct Holder {
        pid_t pid = 0;
        // Whether the holder has said how to reach it; until then it has
        // only just taken the lock.
        bool announced = false;
        // Empty when it can't be reached over the session bus.
        std::string busName;

        bool operator==(const Holder&) const = default;
    };

    struct Failure {
        // Another process holds the lock; otherwise the lock file could not be used.
        bool busy = false;
        FileError error;
    };

    // Takes the lock of `directory` (which must exist) without waiting, then
    // removes the stale temporaries of the files in it.
    static Expected<DataDirectoryLock, Failure> acquire(const std::filesystem::path& directory);

    // What the current holder of `directory`'s lock recorded; nothing when
    // the lock file is missing or says nothing yet.
    static std::optional<Holder> holder(const std::filesystem::path& directory);

    DataDirectoryLock(DataDirectoryLock&& other) noexcept;
    DataDirectoryLock& operator=(DataDirectoryLock&& other) noexcept;
    DataDirectoryLock(const DataDirectoryLock&) = delete;
    DataDirectoryLock& operator=(const DataDirectoryLock&) = delete;
    // Releases the lock.
    ~DataDirectoryLock();

    // Records the session-bus name under which this holder takes requests;
    // empty: it takes none (others then give up at once instead of waiting).
    void advertise(std::string_view busName);

    const std::filesystem::path& directory() const { return directory_; }

private:
    DataDirectoryLock(std::filesystem::path directory, int fd)
        : directory_(std::move(directory)), fd_(fd) {}

    void record(const Holder& holder);

    std::filesystem::path directory_;
    int fd_ = -1;
};

} // namespace OrvelKit
