#pragma once

// The status item's heartbeat: a short pulse of the brand ring after a sync
// that brought new updates. This is the timing and the geometry of the frames;
// drawing them is the tray controller's business.

#include <optional>

namespace Orvel::MenuBarHeartbeat {

inline constexpr int frameCount = 36;
// One beat lasts this long; the animation shows about ten of them.
inline constexpr double beatSeconds = 2.4;
inline constexpr double durationSeconds = 25.0;
// The animation advances 15 times a second.
inline constexpr double frameInterval = 1.0 / 15.0;

// The frame to show `elapsed` seconds after the heartbeat started; nothing
// once the animation is over (at 25 seconds or more) or before it began.
std::optional<int> frameIndex(double elapsed);

// What frame `progress` (in [0, 1)) draws, in points around the centre of an
// 18 × 18 image. Opacities are of black; the tray tints the template.
struct FrameGeometry {
    // The echo ring; opacity 0 means it is not drawn.
    double echoOpacity = 0;
    double echoRadius = 0;
    double echoLineWidth = 0.85;
    // The brand ring.
    double ringOpacity = 0;
    double ringRadius = 0;
    double ringLineWidth = 1.35;
    // The filled centre dot, fully opaque.
    double dotRadius = 0;
};

FrameGeometry geometry(double progress);

// The progress that frame `index` draws: index / 36.
constexpr double progress(int index) {
    return static_cast<double>(index) / frameCount;
}

} // namespace Orvel::MenuBarHeartbeat
