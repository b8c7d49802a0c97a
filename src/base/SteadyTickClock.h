#pragma once
#include "base/TickClock.h"

// Milliseconds of the monotonic clock, truncated to 32 bits.
class SteadyTickClock final : public TickClock {
public:
    uint32_t TickNow() const override;
};
