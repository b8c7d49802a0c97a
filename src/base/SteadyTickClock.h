#pragma once
#include "base/TickClock.h"

namespace zelsim {

// Milliseconds of the monotonic clock, truncated to 32 bits.
class SteadyTickClock final : public TickClock {
  public:
    uint32_t TickNow() const override;
};

}  // namespace zelsim
