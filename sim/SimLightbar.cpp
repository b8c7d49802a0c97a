#include "SimLightbar.h"

#include <algorithm>
#include <cmath>

#include "SimSentence.h"
#include "SimVehicle.h"
#include "base/TickClock.h"

namespace zelsim {

SimLightbar::SimLightbar(const TickClock& clock)
    : clock_(clock), start_(clock.TickNow()), reports_(start_, kPeriodMs) {}

// The moment of the tick, not of the slot: the lamp lit is the offset of the
// controller's record that goes out beside it.
void SimLightbar::Tick(std::vector<std::string>& out) {
    const uint32_t now = clock_.TickNow();
    if (reports_.Take(now)) out.push_back(Report(now - start_));
}

std::string SimLightbar::Report(uint32_t elapsedMs) {
    const long offsetCm = std::lround(SimVehicle::At(elapsedMs).offsetErrorM * 100.0);
    const long segment =
        std::clamp<long>(std::lround(static_cast<double>(offsetCm) / kCmPerSegment),
                         -kSegmentsPerSide, kSegmentsPerSide);
    // The vehicle right of the line (a positive offset) steers left.
    const char steer = segment > 0 ? 'L' : segment < 0 ? 'R' : 'C';
    return SimSentencef("$PKVTS,LBX,%ld,%ld,%c", segment, offsetCm, steer);
}

}  // namespace zelsim
