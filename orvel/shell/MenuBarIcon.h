#pragma once

// The tray icon's images: the brand ring at rest, the heartbeat frames and the
// attention badge drawn into the icon. Frames are drawn as templates (black
// with opacity, geometry in points of an 18 × 18 icon) and tinted for the
// desktop's tray when they are shown.

#include "orvelkit/presentation/MenuBarIndicator.h"

#include <QColor>
#include <QIcon>
#include <QImage>

namespace Orvel::MenuBarIcon {

inline constexpr double points = 18;
// The icon is drawn at this many pixels a side; trays scale it down.
inline constexpr int pixels = 64;
// The glyph's colour on a dark and on a light bar.
inline const QColor onDarkBar{0xED, 0xED, 0xEF};
inline const QColor onLightBar{0x2C, 0x2C, 0x2E};

// The resting brand ring.
QImage resting(int size = pixels);

// Heartbeat frame `index` (0...35).
QImage heartbeatFrame(int index, int size = pixels);

// `glyph` (a template) tinted with `foreground`, or the red of the palette
// when the indicator is critical, with the indicator's badge as a pill in the
// lower right corner ("3", "99+").
QImage compose(const QImage& glyph, const OrvelKit::MenuBarIndicator& indicator,
               const QColor& foreground, const QColor& critical);

} // namespace Orvel::MenuBarIcon
