#pragma once

// The screens name their icons by symbol ("gearshape", "chevron.backward");
// on this desktop each is drawn from a symbolic icon of the Adwaita theme,
// tinted by the palette.

#include <optional>
#include <span>
#include <string_view>
#include <utility>

namespace Orvel::Symbols {

// The Adwaita icon ("emblem-system-symbolic") for a symbol name; nothing for
// a name the table does not know.
std::optional<std::string_view> adwaitaIcon(std::string_view symbol);

// Every symbol the table knows, with its icon.
std::span<const std::pair<std::string_view, std::string_view>> table();

} // namespace Orvel::Symbols
