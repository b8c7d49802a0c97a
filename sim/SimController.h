#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "SimCadence.h"
#include "SimMessage.h"

namespace zelsim {

class TickClock;

// A steering controller with a lightbar behind it: streams its live record
// (PLT2, or the older PLT) ten times a second and its filter record once a
// second, answers the two settings queries (in the current units, or the
// older ones) and, asked to, has itself and the lightbar identify.
class SimController {
  public:
    static constexpr uint32_t kRecordPeriodMs = 100;
    static constexpr uint32_t kFilterPeriodMs = 1000;

    static constexpr const char* kName = "Dormalyn SC2";
    static constexpr const char* kVersion = "3.04";
    static constexpr const char* kSerial = "300117";
    static constexpr const char* kLightbarName = "Lightbar LB24";
    static constexpr const char* kLightbarVersion = "1.10";
    static constexpr const char* kLightbarSerial = "200017";

    SimController(const TickClock& clock, bool oldSettings, bool oldRecords);

    void Hear(const SimMessage& message, std::vector<std::string>& out);
    void Tick(std::vector<std::string>& out);
    // When Tick next has a record to send.
    uint32_t Due() const { return *EarlierTick(records_.Due(), filters_.Due()); }

    // The records as they would go out `elapsedMs` after start.
    static std::string LiveRecord(uint32_t elapsedMs);
    // The older layout: no yaw rate and no reversing flag, the speed in knots.
    static std::string OlderLiveRecord(uint32_t elapsedMs);
    static std::string FilterRecord(uint32_t elapsedMs);
    std::string FirstSettings() const;
    std::string SecondSettings() const;

  private:
    const TickClock& clock_;
    const bool oldSettings_;
    const bool oldRecords_;
    const uint32_t start_;
    SimCadence records_;
    SimCadence filters_;
};

}  // namespace zelsim
