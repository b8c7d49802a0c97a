#pragma once
#include <cstdint>
#include <optional>

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
    // The slot Take waits for; behind the clock when the caller has let
    // slots pass, and Take then hands over the latest at once.
    uint32_t Due() const { return due_; }
    // The first slot after `now`, for a caller that lets slots pass on
    // purpose: the grid goes on without it.
    uint32_t NextAfter(uint32_t now) const {
        const int32_t late = static_cast<int32_t>(now - due_);
        if (late < 0) return due_;
        return now - static_cast<uint32_t>(late) % period_ + period_;
    }

  private:
    const uint32_t period_;
    uint32_t due_;
    uint32_t slot_ = 0;
};

// The earlier of two ticks of the wrapping clock, either of which may be unset.
inline std::optional<uint32_t> EarlierTick(std::optional<uint32_t> a, std::optional<uint32_t> b) {
    if (!a) return b;
    if (!b) return a;
    return static_cast<int32_t>(*a - *b) <= 0 ? a : b;
}

}  // namespace zelsim
