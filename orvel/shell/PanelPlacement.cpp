#include "orvel/shell/PanelPlacement.h"

#include <algorithm>

namespace Orvel::PanelPlacement {

ScreenPoint origin(std::optional<ScreenRect> icon, ScreenRect available, double width,
                   double height) {
    const auto minX = available.left() + margin;
    const auto maxX = available.right() - width - margin;
    const auto minY = available.top() + margin;
    const auto maxY = available.bottom() - height - margin;
    if (!icon) {
        return {maxX, minY};
    }
    const auto x = std::min(maxX, std::max(icon->midX() - width / 2, minX));
    const auto below = icon->midY() <= available.midY();
    auto y = below ? icon->bottom() + gap : icon->top() - gap - height;
    y = std::max(minY, std::min(y, maxY));
    return {x, y};
}

} // namespace Orvel::PanelPlacement
