#include "SimNmea.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>

#include "SimSentence.h"
#include "SimVehicle.h"

namespace zelsim {

namespace {
constexpr uint32_t kMsPerDay = 86400 * 1000;
constexpr double kKnotsPerMps = 3600.0 / 1852.0;
constexpr double kKmhPerMps = 3.6;
constexpr const char* kAltitudeM = "512.4";
constexpr const char* kGeoidSeparationM = "47.6";
constexpr const char* kCorrectionAgeS = "2.0";
constexpr const char* kCorrectionStation = "0133";
constexpr int kSatellitesPerGsv = 4;
constexpr int kSnrWobble = 3;
constexpr uint32_t kSnrStepMs = 5000;

// The sky the receiver claims, the satellites it uses first listed first.
struct Satellite {
    int prn;
    int elevationDeg;
    int azimuthDeg;
    int snrDb;
};
constexpr Satellite kSky[SimNmea::kMostSatellites] = {
    {2, 71, 112, 47},  {5, 54, 262, 45}, {12, 38, 48, 44},  {13, 63, 301, 46},
    {15, 27, 181, 41}, {18, 22, 94, 40}, {20, 44, 212, 43}, {25, 31, 318, 42},
    {29, 17, 143, 38}, {10, 12, 31, 36}, {24, 9, 248, 34},  {31, 6, 352, 33},
};

// "ddmm.mmmm" (latitude) or "dddmm.mmmm" (longitude) and its hemisphere letter.
std::string Coordinate(double minutes, int degreeDigits, char positive, char negative) {
    const long units = std::lround(std::fabs(minutes) * 1e4);
    const long degrees = units / (60L * 10000L);
    const long rest = units - degrees * 60L * 10000L;
    char text[48];
    std::snprintf(text, sizeof text, "%0*ld%02ld.%04ld,%c", degreeDigits, degrees, rest / 10000,
                  rest % 10000, minutes < 0 ? negative : positive);
    return text;
}

// A course in tenths, never "360.0".
double TenthsOfTurn(double degrees) {
    const double tenths = std::round(std::fmod(degrees + 360.0, 360.0) * 10.0);
    return (tenths >= 3600.0 ? tenths - 3600.0 : tenths) / 10.0;
}

std::string TimeOfDay(uint32_t elapsedMs) {
    const uint32_t ms = (SimNmea::kStartSecondOfDay * 1000 + elapsedMs % kMsPerDay) % kMsPerDay;
    char text[16];
    std::snprintf(text, sizeof text, "%02u%02u%02u.%02u", ms / 3600000, ms / 60000 % 60,
                  ms / 1000 % 60, ms % 1000 / 10);
    return text;
}

std::string Date(uint32_t elapsedMs) {
    using namespace std::chrono;
    const uint32_t days = (SimNmea::kStartSecondOfDay * 1000ULL + elapsedMs) / kMsPerDay;
    const year_month_day date{
        sys_days{year{SimNmea::kStartYear} / SimNmea::kStartMonth / SimNmea::kStartDay} +
        std::chrono::days{days}};
    char text[8];
    std::snprintf(text, sizeof text, "%02u%02u%02d", static_cast<unsigned>(date.day()),
                  static_cast<unsigned>(date.month()), static_cast<int>(date.year()) % 100);
    return text;
}
}  // namespace

SimNmea::Dilution SimNmea::DilutionFor(int satellites) {
    return satellites > 9 ? Dilution{"1.5", "0.8", "1.3"} : Dilution{"1.9", "1.1", "1.5"};
}

void SimNmea::Fix(const Epoch& epoch, std::vector<std::string>& out) {
    const SimVehicle::State s = SimVehicle::At(epoch.elapsedMs);
    const std::string time = TimeOfDay(epoch.elapsedMs);
    const std::string latitude = Coordinate(s.latitudeMin, 2, 'N', 'S');
    const std::string longitude = Coordinate(s.longitudeMin, 3, 'E', 'W');
    const double speedMps = s.speedMmPerSec / 1000.0;
    const double course = TenthsOfTurn(s.courseDeg);
    // NMEA 2.3 mode: differential or autonomous.
    const char mode = epoch.differential ? 'D' : 'A';

    out.push_back(SimSentencef(
        "$GPGGA,%s,%s,%s,%d,%02d,%s,%s,M,%s,M,%s,%s", time.c_str(), latitude.c_str(),
        longitude.c_str(), epoch.differential ? 2 : 1, epoch.satellites,
        DilutionFor(epoch.satellites).horizontal, kAltitudeM, kGeoidSeparationM,
        epoch.differential ? kCorrectionAgeS : "", epoch.differential ? kCorrectionStation : ""));
    out.push_back(SimSentencef("$GPVTG,%.1f,T,%.1f,M,%.2f,N,%.2f,K,%c", course,
                               TenthsOfTurn(course - kMagneticVariationDeg),
                               speedMps * kKnotsPerMps, speedMps * kKmhPerMps, mode));
    out.push_back(SimSentencef("$GPRMC,%s,A,%s,%s,%.2f,%.1f,%s,%.1f,E,%c", time.c_str(),
                               latitude.c_str(), longitude.c_str(), speedMps * kKnotsPerMps, course,
                               Date(epoch.elapsedMs).c_str(), kMagneticVariationDeg, mode));
}

void SimNmea::Satellites(const Epoch& epoch, std::vector<std::string>& out) {
    const int count = std::clamp(epoch.satellites, 0, kMostSatellites);
    const Dilution dop = DilutionFor(count);
    char gsa[96];
    int length = std::snprintf(gsa, sizeof gsa, "$GPGSA,A,3");
    for (int i = 0; i < kMostSatellites; ++i)
        length += i < count ? std::snprintf(gsa + length, sizeof gsa - length, ",%02d", kSky[i].prn)
                            : std::snprintf(gsa + length, sizeof gsa - length, ",");
    out.push_back(SimSentencef("%s,%s,%s,%s", gsa, dop.position, dop.horizontal, dop.vertical));

    const int sentences = std::max(1, (count + kSatellitesPerGsv - 1) / kSatellitesPerGsv);
    const int wobble = static_cast<int>(epoch.elapsedMs / kSnrStepMs % kSnrWobble);
    for (int n = 0; n < sentences; ++n) {
        char body[160];
        int used = std::snprintf(body, sizeof body, "$GPGSV,%d,%d,%02d", sentences, n + 1, count);
        for (int i = n * kSatellitesPerGsv; i < std::min(count, (n + 1) * kSatellitesPerGsv); ++i)
            used += std::snprintf(body + used, sizeof body - used, ",%02d,%02d,%03d,%02d",
                                  kSky[i].prn, kSky[i].elevationDeg, kSky[i].azimuthDeg,
                                  kSky[i].snrDb - (i + wobble) % kSnrWobble);
        out.push_back(SimSentence(body));
    }
}

}  // namespace zelsim
