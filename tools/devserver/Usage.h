#pragma once

// What orvel-devserver --help prints; its man page is written from it.

#include <string_view>

namespace OrvelDev {

extern const std::string_view devServerUsage;

} // namespace OrvelDev
