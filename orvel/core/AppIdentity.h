#pragma once

// The name the desktop knows the app by: its desktop entry is
// "<id>.desktop" and its icon is named <id> in the icon theme. Packaging
// installs both under this name; change the two together.

namespace Orvel::AppIdentity {

inline constexpr const char* id = "orvel";

} // namespace Orvel::AppIdentity
