#include "orvel/core/PopoverWindowSizing.h"

#include <algorithm>
#include <cmath>

namespace Orvel::PopoverWindowSizing {

namespace {

double restoredDimension(double stored, double fallback, double minimum) {
    if (!std::isfinite(stored) || stored <= 0) {
        return fallback;
    }
    return std::max(stored, minimum);
}

} // namespace

WindowSize restoredSize(double width, double height, std::int64_t version) {
    if (version != currentVersion) {
        return defaultSize;
    }
    return {restoredDimension(width, defaultSize.width, minimumSize.width),
            restoredDimension(height, defaultSize.height, minimumSize.height)};
}

WindowSize restoredSize(const Preferences& preferences) {
    return restoredSize(preferences.doubleValue(widthKey).value_or(0),
                        preferences.doubleValue(heightKey).value_or(0),
                        preferences.integerValue(versionKey).value_or(0));
}

void saveSize(Preferences& preferences, WindowSize size) {
    preferences.set(widthKey, size.width);
    preferences.set(heightKey, size.height);
    preferences.set(versionKey, currentVersion);
}

} // namespace Orvel::PopoverWindowSizing
