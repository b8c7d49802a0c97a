#pragma once
#include <cstdint>

namespace zelsim {

// A vehicle steered along a straight line: the offset error swings slowly
// around the line, the steering mode walks through 0 to 4 each minute, and now
// and then it reverses or its controller reports yaw rate instead of wheel
// angle. Everything follows from the time since start, so a test can ask for
// any moment.
class SimVehicle {
  public:
    struct State {
        double wheelAngleDeg;
        double yawRateDegPerSec;
        double offsetErrorM;
        double angleErrorDeg;
        double courseDeg;
        double latitudeMin;   // minutes north of the equator
        double longitudeMin;  // minutes east of Greenwich
        uint32_t speedMmPerSec;
        int satellites;
        char dgpsMode;
        int solenoidPercent;
        int steeringMode;
        int sensorReading;
        bool reversing;
        bool yawRate;  // the controller reports yaw rate in the wheel-angle field
    };

    static constexpr uint32_t kModeStepMs = 12000;  // 0 to 4 over one minute
    static constexpr int kModeCount = 5;
    static constexpr uint32_t kReverseCycleMs = 90000;
    static constexpr uint32_t kReverseStartMs = 80000;
    static constexpr uint32_t kReverseLengthMs = 6000;
    static constexpr uint32_t kYawCycleMs = 45000;
    static constexpr uint32_t kYawStartMs = 30000;
    static constexpr uint32_t kYawLengthMs = 5000;
    static constexpr int kSensorCentre = 10240;  // 20480 is full scale

    static State At(uint32_t elapsedMs);
    static bool Reversing(uint32_t elapsedMs);
    static bool ReportsYawRate(uint32_t elapsedMs);

  private:
    static double OffsetErrorM(double seconds);
    static double WheelAngleDeg(double seconds);
    static double AlongTrackM(uint32_t elapsedMs);
};

}  // namespace zelsim
