#pragma once

// Shell completion scripts for orvelctl, written from its command table so
// they offer exactly the commands and options the parser accepts.

#include <optional>
#include <string>
#include <string_view>

namespace Orvel::Cli {

enum class Shell { bash, zsh, fish };

std::optional<Shell> shellNamed(std::string_view name);

std::string completionScript(Shell shell);

} // namespace Orvel::Cli
