#pragma once

// The wall clock the app model reads its notion of "now" from. Comes in
// through constructors so tests can pin and move time.

#include "orvelkit/time/Date.h"

namespace Orvel {

class Clock {
public:
    virtual ~Clock() = default;
    virtual OrvelKit::Date now() const = 0;
};

class SystemClock final : public Clock {
public:
    OrvelKit::Date now() const override { return OrvelKit::Date::now(); }
};

// A clock that stands still until moved.
class ManualClock final : public Clock {
public:
    explicit ManualClock(OrvelKit::Date start = {}) : now_(start) {}
    OrvelKit::Date now() const override { return now_; }
    void set(OrvelKit::Date date) { now_ = date; }
    void advance(double seconds) { now_ = now_.addingSeconds(seconds); }

private:
    OrvelKit::Date now_;
};

} // namespace Orvel
