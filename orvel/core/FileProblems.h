#pragma once

// The texts the error banner shows about the app's own files. They name the
// file and the system's reason, never what the file holds.

#include "orvelkit/store/FileError.h"
#include "orvelkit/store/StoreDiagnostic.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace Orvel::FileProblems {

// A file that exists but could not be read.
std::string unreadable(const std::filesystem::path& file, std::string_view reason);

// The data directory could not be made ready: nothing is kept after exit.
std::string noDataDirectory(const OrvelKit::FileError& error);

// What a store reported, in the user's words, or nothing for what needs no
// telling (an encoding failure is reported by the model's own checks, a file
// that could not be narrowed to its owner is still saved).
std::optional<std::string> describe(const OrvelKit::StoreDiagnostic& diagnostic);

} // namespace Orvel::FileProblems
