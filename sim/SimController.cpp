#include "SimController.h"

#include <cmath>
#include <cstdio>

#include "SimSentence.h"
#include "SimVehicle.h"
#include "base/TickClock.h"

namespace zelsim {

namespace {
// Settings, in the record's own units (mm, ms, 0.1 degree per second).
constexpr int kSensorZeroControl = 1;
constexpr int kSensorOffsetMm = 150;
constexpr int kDeltaTimeMs = 100;
constexpr int kOnLineDeadBandMm = 200;
constexpr int kOnLineTongueMm = 3000;
constexpr int kAcquireDeadBandMm = 400;
constexpr int kAcquireTongueMm = 5000;
constexpr int kWheelBaseMm = 2800;
constexpr int kMinTurnRadiusMm = 6000;
constexpr int kMaxSteerRate = 450;
// The older first block: coarser units, and one field its readers skip.
constexpr int kTenfold = 10;
constexpr int kHundredfold = 100;
constexpr int kOldUnreadField = 0;

constexpr int kSensorLeft = 4096;
constexpr int kSensorCentre = 10240;
constexpr int kSensorRight = 16384;
constexpr int kSolenoidControl = 1;
constexpr int kSolenoidDelayMs = 50;
constexpr int kSolenoidMinDrive = 20;
constexpr int kSolenoidMaxDrive = 90;
constexpr int kSolenoidPwmHz = 100;
constexpr int kCourseFilterSamples = 5;
constexpr int kSteerRateLeft = -300;
constexpr int kSteerRateRight = 300;
constexpr int kDeltaActualMs = 98;

constexpr int kDraftFilterMode = 3;  // the draft filter runs from this steering mode up
constexpr double kKnotsPerMps = 3600.0 / 1852.0;

// "ddmm.mmmmmm" (latitude) or "dddmm.mmmmmm" (longitude) and its hemisphere letter.
void Coordinate(double minutes, int degreeDigits, char positive, char negative, char* text,
                size_t size, char& hemisphere) {
    hemisphere = minutes < 0 ? negative : positive;
    const double magnitude = std::fabs(minutes);
    const long micro = std::lround(magnitude * 1e6);
    const long degrees = micro / (60L * 1000000L);
    const double rest = (micro - degrees * 60L * 1000000L) / 1e6;
    std::snprintf(text, size, "%0*ld%09.6f", degreeDigits, degrees, rest);
}

// Fields 6 to 9 of both live records: latitude and longitude with their
// hemispheres.
struct RecordPosition {
    char latitude[24];
    char north;
    char longitude[24];
    char east;
};

RecordPosition PositionOf(const SimVehicle::State& s) {
    RecordPosition p{};
    Coordinate(s.latitudeMin, 2, 'N', 'S', p.latitude, sizeof p.latitude, p.north);
    Coordinate(s.longitudeMin, 3, 'E', 'W', p.longitude, sizeof p.longitude, p.east);
    return p;
}

int Hundredths(double value) {
    return static_cast<int>(std::lround(value * 100.0));
}
int Tenths(double value) {
    return static_cast<int>(std::lround(value * 10.0));
}
}  // namespace

SimController::SimController(const TickClock& clock, bool oldSettings, bool oldRecords)
    : clock_(clock),
      oldSettings_(oldSettings),
      oldRecords_(oldRecords),
      start_(clock.TickNow()),
      records_(start_, kRecordPeriodMs),
      filters_(start_, kFilterPeriodMs) {}

void SimController::Hear(const SimMessage& message, std::vector<std::string>& out) {
    if (!message.FieldIs(0, "PKVTQ") || !message.FieldIs(1, "DML")) return;
    if (message.FieldIs(2, "SET1")) {
        out.push_back(FirstSettings());
    } else if (message.FieldIs(2, "SET2")) {
        out.push_back(SecondSettings());
    } else if (message.FieldIs(2, "DID_REQUEST")) {
        out.push_back(SimSentencef("$PKVTR,DID,%s,%s,HW2,0,%s", kName, kVersion, kSerial));
        out.push_back(
            SimSentencef("$PKVTR,DID,%s,%s,%s", kLightbarName, kLightbarVersion, kLightbarSerial));
    }
}

void SimController::Tick(std::vector<std::string>& out) {
    const uint32_t now = clock_.TickNow();
    if (records_.Take(now))
        out.push_back(oldRecords_ ? OlderLiveRecord(now - start_) : LiveRecord(now - start_));
    if (filters_.Take(now)) out.push_back(FilterRecord(now - start_));
}

std::string SimController::LiveRecord(uint32_t elapsedMs) {
    const SimVehicle::State s = SimVehicle::At(elapsedMs);
    const RecordPosition p = PositionOf(s);
    return SimSentencef("$PKVTR,DML,PLT2,%.1f,%.2f,%.1f,%s,%c,%s,%c,%c,%d,%.1f,%u,%d,%d,%d,%c,%c",
                        s.yawRate ? s.yawRateDegPerSec : s.wheelAngleDeg, s.offsetErrorM,
                        s.angleErrorDeg, p.latitude, p.north, p.longitude, p.east, s.dgpsMode,
                        s.satellites, s.courseDeg, s.speedMmPerSec, s.solenoidPercent,
                        s.steeringMode, s.sensorReading, s.yawRate ? '1' : '0',
                        s.reversing ? '1' : '0');
}

std::string SimController::OlderLiveRecord(uint32_t elapsedMs) {
    const SimVehicle::State s = SimVehicle::At(elapsedMs);
    const RecordPosition p = PositionOf(s);
    // Speed over ground as a receiver gives it: never negative, reversing or not.
    return SimSentencef("$PKVTR,DML,PLT,%.1f,%.2f,%.1f,%s,%c,%s,%c,%c,%d,%.1f,%.2f,%d,%d,%d",
                        s.wheelAngleDeg, s.offsetErrorM, s.angleErrorDeg, p.latitude, p.north,
                        p.longitude, p.east, s.dgpsMode, s.satellites, s.courseDeg,
                        s.speedMmPerSec / 1000.0 * kKnotsPerMps, s.solenoidPercent, s.steeringMode,
                        s.sensorReading);
}

std::string SimController::FilterRecord(uint32_t elapsedMs) {
    const SimVehicle::State s = SimVehicle::At(elapsedMs);
    return SimSentencef("$PKVTR,DML,PLT3,%d,%d,%d,%d,%d,%d", s.steeringMode >= kDraftFilterMode,
                        Hundredths(s.angleErrorDeg), Hundredths(s.wheelAngleDeg),
                        s.steeringMode * 100, Hundredths(s.offsetErrorM),
                        s.reversing ? Tenths(s.wheelAngleDeg) : 0);
}

std::string SimController::FirstSettings() const {
    if (oldSettings_)
        return SimSentencef("$PKVTR,DML,SET1,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d", kSensorZeroControl,
                            kSensorOffsetMm / kTenfold, kOldUnreadField, kDeltaTimeMs / kTenfold,
                            kOnLineDeadBandMm / kTenfold, kOnLineTongueMm / kHundredfold,
                            kAcquireDeadBandMm / kTenfold, kAcquireTongueMm / kHundredfold,
                            kWheelBaseMm / kHundredfold, kMinTurnRadiusMm / kHundredfold,
                            kMaxSteerRate);
    return SimSentencef("$PKVTR,DML,SET12,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d", kSensorZeroControl,
                        kSensorOffsetMm, kDeltaTimeMs, kOnLineDeadBandMm, kOnLineTongueMm,
                        kAcquireDeadBandMm, kAcquireTongueMm, kWheelBaseMm, kMinTurnRadiusMm,
                        kMaxSteerRate);
}

std::string SimController::SecondSettings() const {
    if (oldSettings_)
        return SimSentencef("$PKVTR,DML,SET2,%d,%d,%d,%d,%d,%d,%d,%d", kSensorLeft, kSensorCentre,
                            kSensorRight, kSolenoidControl, kSolenoidDelayMs, kSolenoidMinDrive,
                            kSolenoidMaxDrive, kSolenoidPwmHz);
    return SimSentencef("$PKVTR,DML,SET22,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d", kSensorLeft,
                        kSensorCentre, kSensorRight, kSolenoidControl, kSolenoidDelayMs,
                        kSolenoidMinDrive, kSolenoidMaxDrive, kSolenoidPwmHz, kCourseFilterSamples,
                        kSteerRateLeft, kSteerRateRight, kDeltaActualMs);
}

}  // namespace zelsim
