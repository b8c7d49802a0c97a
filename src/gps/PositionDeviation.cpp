#include "gps/PositionDeviation.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

namespace zelsim {

namespace {

// WGS 84
constexpr double kSemiMajorAxis = 6378137.0;
constexpr double kEccentricitySquared = 6.69437999014e-3;
constexpr double kMicroMinutesPerDegree = 60e6;

double Radians(double degrees) {
    return degrees * std::numbers::pi / 180.0;
}

// A longitude difference the short way round, across the date line too.
double LongitudeDifference(double from, double to) {
    double d = to - from;
    if (d > 180) d -= 360;
    if (d < -180) d += 360;
    return d;
}

std::string AngleText(double degrees, char positive, char negative) {
    const char side = degrees < 0 ? negative : positive;
    // Whole micro-minutes, so 59.9999999' is shown as the next degree.
    const long long total = std::llround(std::fabs(degrees) * kMicroMinutesPerDegree);
    const long long perDegree = static_cast<long long>(kMicroMinutesPerDegree);
    char text[48];
    std::snprintf(text, sizeof text, "%lld\xB0 %02lld.%06lld' %c", total / perDegree,
                  total % perDegree / 1000000, total % 1000000, side);
    return text;
}

}  // namespace

void PositionDeviation::AddFix(double latitude, double longitude) {
    if (count_ == 0) {
        origin_ = {latitude, longitude};
        const double s = std::sin(Radians(latitude));
        const double w = 1 - kEccentricitySquared * s * s;
        const double meridian = kSemiMajorAxis * (1 - kEccentricitySquared) / std::pow(w, 1.5);
        const double primeVertical = kSemiMajorAxis / std::sqrt(w);
        metresPerDegreeNorth_ = Radians(meridian);
        metresPerDegreeEast_ = Radians(primeVertical * std::cos(Radians(latitude)));
    }
    current_ = {latitude, longitude};
    const Offset o = ToOffset(latitude, longitude);
    if (count_ < kSampleTarget) {
        sum_.east += o.east;
        sum_.north += o.north;
        sumSquares_ += o.east * o.east + o.north * o.north;
    } else {
        const double n = kSampleTarget;
        const double de = o.east - sum_.east / n;
        const double dn = o.north - sum_.north / n;
        laterSquares_ += de * de + dn * dn;
    }
    ++count_;
}

void PositionDeviation::Reset() {
    *this = PositionDeviation();
}

PositionDeviation::Offset PositionDeviation::ToOffset(double latitude, double longitude) const {
    return {LongitudeDifference(origin_.longitude, longitude) * metresPerDegreeEast_,
            (latitude - origin_.latitude) * metresPerDegreeNorth_};
}

PositionDeviation::Position PositionDeviation::FromOffset(Offset offset) const {
    double longitude = origin_.longitude;
    if (metresPerDegreeEast_ > 0) longitude += offset.east / metresPerDegreeEast_;
    if (longitude > 180) longitude -= 360;
    if (longitude < -180) longitude += 360;
    return {origin_.latitude + offset.north / metresPerDegreeNorth_, longitude};
}

std::optional<PositionDeviation::Position> PositionDeviation::Reference() const {
    if (count_ == 0) return std::nullopt;
    const double n = count_ < kSampleTarget ? count_ : kSampleTarget;
    return FromOffset({sum_.east / n, sum_.north / n});
}

std::optional<PositionDeviation::Position> PositionDeviation::Current() const {
    if (count_ == 0) return std::nullopt;
    return current_;
}

std::optional<double> PositionDeviation::RmsError() const {
    if (count_ == 0) return std::nullopt;
    const double n = count_ < kSampleTarget ? count_ : kSampleTarget;
    // The first fixes' squared distances to their own mean.
    const double spread = sumSquares_ - (sum_.east * sum_.east + sum_.north * sum_.north) / n;
    return std::sqrt(std::max(0.0, spread + laterSquares_) / count_);
}

std::string PositionDeviation::LatitudeText(double degrees) {
    return AngleText(degrees, 'N', 'S');
}

std::string PositionDeviation::LongitudeText(double degrees) {
    return AngleText(degrees, 'E', 'W');
}

std::string PositionDeviation::MetresText(double metres) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f m", metres);
    return text;
}

}  // namespace zelsim
