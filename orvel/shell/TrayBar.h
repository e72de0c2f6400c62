#pragma once

// The bar the tray icon sits on. Its colour is the desktop's, not the app's:
// GNOME Shell's top bar and the panels of Budgie, Cinnamon, Pantheon and Unity
// are dark whatever the colour scheme, while other desktops (Plasma, Xfce,
// LXQt, MATE) draw their panels in the scheme the app palette reflects.

#include "orvel/shell/ThemePalette.h"

#include <string_view>

namespace Orvel::TrayBar {

// Whether the bar is dark, from XDG_CURRENT_DESKTOP (a colon-separated list,
// e.g. "ubuntu:GNOME") and the appearance of the desktop's palette.
bool isDark(std::string_view currentDesktop, Appearance paletteAppearance);

} // namespace Orvel::TrayBar
