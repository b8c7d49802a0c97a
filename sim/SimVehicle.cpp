#include "SimVehicle.h"

#include <algorithm>
#include <cmath>

namespace zelsim {

namespace {
constexpr double kPi = 3.14159265358979323846;
constexpr double kHeadingDeg = 30.0;
constexpr double kSpeedMps = 2.8;
constexpr double kSwingM = 0.35;
constexpr double kSwingPeriodS = 24.0;
constexpr double kWheelBaseM = 2.8;
constexpr double kOffsetGainDegPerM = 8.0;
constexpr double kAngleGain = 1.5;
constexpr double kWheelLimitDeg = 35.0;
constexpr double kSolenoidGain = 40.0;  // percent per degree per second of wheel motion
constexpr double kSolenoidLimit = 100.0;
constexpr double kSlopeStepS = 0.1;
constexpr double kMetresPerMinute = 1852.0;
constexpr double kOriginLatitudeMin = 48 * 60 + 7.0385;
constexpr double kOriginLongitudeMin = 11 * 60 + 31.0;
// The receiver's status screen and its fix show the same count.
constexpr int kFewestSatellites = 8;
constexpr int kSatelliteSpread = 4;
constexpr uint32_t kSatelliteStepMs = 7000;

double Radians(double degrees) {
    return degrees * kPi / 180.0;
}
double Degrees(double radians) {
    return radians * 180.0 / kPi;
}
}  // namespace

bool SimVehicle::Reversing(uint32_t elapsedMs) {
    const uint32_t within = elapsedMs % kReverseCycleMs;
    return within >= kReverseStartMs && within < kReverseStartMs + kReverseLengthMs;
}

bool SimVehicle::ReportsYawRate(uint32_t elapsedMs) {
    const uint32_t within = elapsedMs % kYawCycleMs;
    return within >= kYawStartMs && within < kYawStartMs + kYawLengthMs;
}

double SimVehicle::OffsetErrorM(double seconds) {
    return kSwingM * std::sin(2.0 * kPi * seconds / kSwingPeriodS);
}

double SimVehicle::WheelAngleDeg(double seconds) {
    const double slope =
        kSwingM * 2.0 * kPi / kSwingPeriodS * std::cos(2.0 * kPi * seconds / kSwingPeriodS);
    const double angleError = Degrees(std::atan2(slope, kSpeedMps));
    const double steer = -(kOffsetGainDegPerM * OffsetErrorM(seconds) + kAngleGain * angleError);
    return std::clamp(steer, -kWheelLimitDeg, kWheelLimitDeg);
}

// Distance along the line: forward at constant speed, back during the reversing spells.
double SimVehicle::AlongTrackM(uint32_t elapsedMs) {
    const uint32_t cycles = elapsedMs / kReverseCycleMs;
    const uint32_t within = elapsedMs % kReverseCycleMs;
    const uint32_t reversedMs =
        cycles * kReverseLengthMs +
        std::min(kReverseLengthMs, within > kReverseStartMs ? within - kReverseStartMs : 0u);
    const double forwardS = (static_cast<double>(elapsedMs) - 2.0 * reversedMs) / 1000.0;
    return kSpeedMps * forwardS;
}

SimVehicle::State SimVehicle::At(uint32_t elapsedMs) {
    const double t = elapsedMs / 1000.0;
    State s{};
    s.reversing = Reversing(elapsedMs);
    s.yawRate = ReportsYawRate(elapsedMs);
    s.offsetErrorM = OffsetErrorM(t);
    const double slope = (OffsetErrorM(t + kSlopeStepS) - OffsetErrorM(t)) / kSlopeStepS;
    s.angleErrorDeg = Degrees(std::atan2(slope, kSpeedMps));
    s.wheelAngleDeg = WheelAngleDeg(t);
    s.yawRateDegPerSec = (s.reversing ? -1.0 : 1.0) *
                         Degrees(kSpeedMps / kWheelBaseM * std::tan(Radians(s.wheelAngleDeg)));

    const double heading = kHeadingDeg + (s.reversing ? 180.0 : 0.0) + s.angleErrorDeg;
    s.courseDeg = std::fmod(heading + 360.0, 360.0);
    s.speedMmPerSec = static_cast<uint32_t>(std::lround(kSpeedMps * 1000.0));

    // The offset lies to the right of the line, across its heading.
    const double along = AlongTrackM(elapsedMs);
    const double north =
        along * std::cos(Radians(kHeadingDeg)) - s.offsetErrorM * std::sin(Radians(kHeadingDeg));
    const double east =
        along * std::sin(Radians(kHeadingDeg)) + s.offsetErrorM * std::cos(Radians(kHeadingDeg));
    s.latitudeMin = kOriginLatitudeMin + north / kMetresPerMinute;
    s.longitudeMin = kOriginLongitudeMin +
                     east / (kMetresPerMinute * std::cos(Radians(kOriginLatitudeMin / 60.0)));

    s.satellites =
        kFewestSatellites + static_cast<int>(elapsedMs / kSatelliteStepMs) % kSatelliteSpread;
    s.dgpsMode = 'D';
    const double wheelRate = (WheelAngleDeg(t + kSlopeStepS) - s.wheelAngleDeg) / kSlopeStepS;
    s.solenoidPercent = static_cast<int>(
        std::lround(std::clamp(kSolenoidGain * wheelRate, -kSolenoidLimit, kSolenoidLimit)));
    s.steeringMode = static_cast<int>(elapsedMs / kModeStepMs) % kModeCount;
    s.sensorReading =
        kSensorCentre +
        static_cast<int>(std::lround(s.wheelAngleDeg / kWheelLimitDeg * kSensorCentre));
    return s;
}

}  // namespace zelsim
