#pragma once
#include <cstdint>

namespace zelsim {

// The program's only clock: milliseconds as a 32-bit count that wraps. Every
// time-out compares through TickElapsed so a wrap never stretches or cuts it.
class TickClock {
  public:
    virtual ~TickClock() = default;

    virtual uint32_t TickNow() const = 0;

    // True when strictly more than `period` ms have passed since `start`.
    bool TickElapsed(uint32_t start, uint32_t period) const {
        return Elapsed(TickNow(), start, period);
    }
    // The same test against a `now` read once for a whole cycle.
    static constexpr bool Elapsed(uint32_t now, uint32_t start, uint32_t period) {
        return static_cast<int32_t>(now - start) > static_cast<int32_t>(period);
    }

    // How long from `now` until Elapsed(now, start, period) holds; 0 once it does.
    static constexpr uint32_t Remaining(uint32_t now, uint32_t start, uint32_t period) {
        return Elapsed(now, start, period) ? 0 : period + 1 - (now - start);
    }

    // Waits until more than `period` ms have passed (used at shutdown only).
    virtual void TickDelay(uint16_t period);
};

}  // namespace zelsim
