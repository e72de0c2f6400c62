#pragma once

// The name the desktop knows the app by, reverse DNS of the service's domain:
// its desktop entry is "<id>.desktop" and its icon is named <id> in the icon
// theme. packaging/CMakeLists.txt installs both under this name; change the
// two together.

namespace Orvel::AppIdentity {

inline constexpr const char* id = "app.orvel.Orvel";

} // namespace Orvel::AppIdentity
