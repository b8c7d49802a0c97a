#pragma once
#include "base/TickClock.h"

namespace zelsim {

// A clock the test moves by hand; TickDelay advances it instead of waiting.
class FakeTickClock final : public TickClock {
  public:
    explicit FakeTickClock(uint32_t start = 1000) : now_(start) {}
    uint32_t TickNow() const override { return now_; }
    void TickDelay(uint16_t period) override { now_ += period + 1u; }
    void Advance(uint32_t ms) { now_ += ms; }
    void Set(uint32_t now) { now_ = now; }

  private:
    uint32_t now_;
};

}  // namespace zelsim
