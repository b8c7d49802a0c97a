#pragma once
#include <cstdint>

namespace zelsim {

// A fixed period on a grid laid from a start tick: each slot is taken once,
// when a tick reaches it. A caller that comes late (a slow poll, a stalled
// line) gets one slot, the latest it has reached, not a burst of the missed
// ones, and the slots after it stay on the grid, so the output never drifts.
class SimCadence {
  public:
    // The first slot is one period after `start`.
    SimCadence(uint32_t start, uint32_t period) : period_(period), due_(start + period) {}

    // True when `now` has reached the slot due; the slot taken is then in Slot().
    bool Take(uint32_t now) {
        const int32_t late = static_cast<int32_t>(now - due_);
        if (late < 0) return false;
        slot_ = now - static_cast<uint32_t>(late) % period_;
        due_ = slot_ + period_;
        return true;
    }
    uint32_t Slot() const { return slot_; }

  private:
    const uint32_t period_;
    uint32_t due_;
    uint32_t slot_ = 0;
};

}  // namespace zelsim
