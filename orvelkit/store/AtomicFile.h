#pragma once

// Whole-file reads, crash-safe replacement of files, and the other file-system
// steps the stores need. Everything here works on Linux and returns errors as
// values.
//
// writeFileAtomically() never leaves a half-written file behind: the bytes go
// to a new file in the same directory (unnamed while it is written, where the
// file system allows that), are flushed to the device, and only then is the new
// file renamed over the old one and the directory flushed. After a crash or a
// power loss the file holds either the old or the new contents, and a reader
// at any moment sees one of the two.

#include "orvelkit/store/FileContents.h"
#include "orvelkit/store/FileError.h"
#include "orvelkit/support/Expected.h"

#include <chrono>
#include <filesystem>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace OrvelKit {

// The stores' files hold credentials: readable and writable by the user only.
inline constexpr mode_t privateFileMode = 0600;
inline constexpr mode_t privateDirectoryMode = 0700;

// The whole contents of `file`. A missing file gives an error whose
// notFound() is true.
Expected<FileContents, FileError> readWholeFile(const std::filesystem::path& file);

// Replaces `file` with `contents` as described above; the new file has mode
// 0600 whatever the old one had. The directory must exist.
Expected<void, FileError> writeFileAtomically(const std::filesystem::path& file,
                                              std::string_view contents);

// Creates `directory` and any missing parents with mode 0700. Directories that
// already exist are left as they are.
Expected<void, FileError> createPrivateDirectories(const std::filesystem::path& directory);

// Removes the group and other permission bits of `path` (a file or a directory)
// when it has any. Something that belongs to another user is left alone.
Expected<void, FileError> restrictToOwner(const std::filesystem::path& path);

// Moves a file that exists but could not be used out of the way, to
// "<file>.unreadable-<UTC time>" beside it (with "-2", "-3", ... added when that
// name is taken), so that the next save cannot destroy what it held. Never
// replaces an existing file. Returns the new path.
Expected<std::filesystem::path, FileError> preserveUnreadableFile(
    const std::filesystem::path& file,
    std::chrono::system_clock::time_point now = std::chrono::system_clock::now());

// Removes temporaries that a write of `file` interrupted by a crash left in its
// directory. Only call this while nothing else is writing `file`.
void removeStaleTemporaries(const std::filesystem::path& file);

} // namespace OrvelKit
