#pragma once

// What orvel-server --help and orvel-devserver --help print; their man pages
// are written from them.

#include <string>

namespace OrvelDev {

extern const std::string serverUsage;
extern const std::string devServerUsage;

} // namespace OrvelDev
