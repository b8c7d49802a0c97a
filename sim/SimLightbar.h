#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "SimCadence.h"

namespace zelsim {

class TickClock;

// The lightbar behind the controller: a row of lamps either side of a centre
// lamp that tells the driver how far off the line the vehicle is. It reports
// what it shows five times a second:
//   $PKVTS,LBX,segment,offset,steer
// segment: the lit lamp, -12 (far left) to 12 (far right), 0 the centre;
// offset: the cross-track offset error in cm, as the controller steers by it;
// steer: 'L' or 'R', the way to steer back to the line, 'C' when on it.
class SimLightbar {
  public:
    static constexpr uint32_t kPeriodMs = 200;
    static constexpr int kSegmentsPerSide = 12;
    static constexpr int kCmPerSegment = 3;

    explicit SimLightbar(const TickClock& clock);

    void Tick(std::vector<std::string>& out);
    uint32_t Due() const { return reports_.Due(); }

    // What it reports `elapsedMs` after start.
    static std::string Report(uint32_t elapsedMs);

  private:
    const TickClock& clock_;
    const uint32_t start_;
    SimCadence reports_;
};

}  // namespace zelsim
