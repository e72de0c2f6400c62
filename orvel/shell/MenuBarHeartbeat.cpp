#include "orvel/shell/MenuBarHeartbeat.h"

#include <algorithm>
#include <cmath>

namespace Orvel::MenuBarHeartbeat {

namespace {

double lerp(double a, double b, double t) {
    return a + (b - a) * t;
}

} // namespace

std::optional<int> frameIndex(double elapsed) {
    if (!std::isfinite(elapsed) || elapsed < 0 || elapsed >= durationSeconds) {
        return std::nullopt;
    }
    const auto phase = std::fmod(elapsed, beatSeconds) / beatSeconds;
    const auto index = static_cast<int>(std::floor(phase * frameCount));
    return std::clamp(index, 0, frameCount - 1);
}

FrameGeometry geometry(double progress) {
    const auto p = std::clamp(progress, 0.0, 1.0);
    FrameGeometry frame;
    if (p < 0.75) {
        frame.echoOpacity = p < 0.15 ? p / 0.15 * 0.2 : 0.2 - (p - 0.15) / 0.6 * 0.2;
        frame.echoOpacity = std::max(frame.echoOpacity, 0.0);
        frame.echoRadius = lerp(0.62, 1.18, std::min(p / 0.75, 1.0)) * 6.4;
    }
    const auto t = p <= 0.45 ? p / 0.45 : std::max(1 - (p - 0.45) / 0.55, 0.0);
    frame.ringOpacity = lerp(0.48, 0.78, t);
    frame.ringRadius = lerp(0.96, 1.035, t) * 6.1;
    frame.dotRadius = lerp(0.94, 1.06, t) * 2.65;
    return frame;
}

} // namespace Orvel::MenuBarHeartbeat
