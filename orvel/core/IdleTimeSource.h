#pragma once

// How long the user has left keyboard and pointer alone.

#include <optional>

namespace Orvel {

class IdleTimeSource {
public:
    virtual ~IdleTimeSource() = default;

    // Seconds since the last input event of any kind in the user's session;
    // nothing when the desktop does not tell. Must answer at once.
    virtual std::optional<double> secondsSinceLastInput() const = 0;
};

} // namespace Orvel
