#pragma once

// What tools/list says about `orvel_send`: its description and the JSON
// Schemas of its input and of its structured result.

#include <string_view>

namespace OrvelDev {

extern const std::string_view sendToolDefinition;

} // namespace OrvelDev
