#include <gtest/gtest.h>

#include <cmath>

#include "gps/PositionDeviation.h"

namespace zelsim {
namespace {

// Metres to degrees on a sphere of the mean earth radius: independent of
// the ellipsoid the class uses, and within 0.5 % of it at any latitude.
constexpr double kEarthRadius = 6371008.8;
constexpr double kPi = 3.14159265358979323846;
constexpr double kLatitude = 48.11;
constexpr double kLongitude = 11.52;

double NorthDegrees(double metres) {
    return metres / kEarthRadius * 180 / kPi;
}
double EastDegrees(double metres, double latitude) {
    return NorthDegrees(metres) / std::cos(latitude * kPi / 180);
}

TEST(PositionDeviationTest, FixesAMetreEitherSideOfAPointGiveAMetre) {
    PositionDeviation d;
    EXPECT_FALSE(d.RmsError());
    EXPECT_FALSE(d.Reference());
    for (int i = 0; i < 100; ++i) {
        const double north = i % 2 == 0 ? 1 : -1;
        d.AddFix(kLatitude + NorthDegrees(north), kLongitude);
    }
    EXPECT_EQ(d.Count(), 100u);
    EXPECT_NEAR(*d.RmsError(), 1.0, 0.005);
    EXPECT_NEAR(d.Reference()->latitude, kLatitude, 1e-9);
    EXPECT_NEAR(d.Current()->latitude, kLatitude - NorthDegrees(1), 1e-12);
}

TEST(PositionDeviationTest, AfterTheTargetTheReferenceStaysAndLaterFixesAreMeasuredFromIt) {
    PositionDeviation d;
    for (uint32_t i = 0; i < PositionDeviation::kSampleTarget; ++i) d.AddFix(kLatitude, kLongitude);
    EXPECT_NEAR(*d.RmsError(), 0.0, 1e-9);
    // The receiver is moved 3 m east and 4 m north: 5 m from the reference.
    const double lat = kLatitude + NorthDegrees(4);
    const double lon = kLongitude + EastDegrees(3, kLatitude);
    for (uint32_t i = 0; i < PositionDeviation::kSampleTarget; ++i) d.AddFix(lat, lon);
    EXPECT_NEAR(d.Reference()->latitude, kLatitude, 1e-9);
    EXPECT_NEAR(d.Reference()->longitude, kLongitude, 1e-9);
    // Half the fixes 0 m off, half 5 m: sqrt(25 / 2).
    EXPECT_NEAR(*d.RmsError(), std::sqrt(12.5), std::sqrt(12.5) * 0.005);
    d.Reset();
    EXPECT_EQ(d.Count(), 0u);
    EXPECT_FALSE(d.RmsError());
    d.AddFix(lat, lon);
    EXPECT_NEAR(*d.RmsError(), 0.0, 1e-9);
}

TEST(PositionDeviationTest, FixesEitherSideOfTheDateLineAreCentimetresApart) {
    PositionDeviation d;
    d.AddFix(-16.5, 179.9999999);
    d.AddFix(-16.5, -179.9999999);
    // 0.0000002 degrees of longitude at 16.5 S, about 2 cm: 1 cm each way.
    EXPECT_LT(*d.RmsError(), 0.02);
    EXPECT_GT(std::fabs(d.Reference()->longitude), 179.99);
}

TEST(PositionDeviationTest, TextsInDegreesAndMinutesWithTheirSide) {
    EXPECT_EQ(PositionDeviation::LatitudeText(30 + 34.123456 / 60), "30\xB0 34.123456' N");
    EXPECT_EQ(PositionDeviation::LongitudeText(-(101 + 59.123456 / 60)), "101\xB0 59.123456' W");
    EXPECT_EQ(PositionDeviation::LatitudeText(-(0 + 4.5 / 60)), "0\xB0 04.500000' S");
    // Minutes that round up to 60 make the next degree.
    EXPECT_EQ(PositionDeviation::LongitudeText(11 + 59.9999999 / 60), "12\xB0 00.000000' E");
    EXPECT_EQ(PositionDeviation::MetresText(0), "0.00 m");
    EXPECT_EQ(PositionDeviation::MetresText(12.346), "12.35 m");
}

}  // namespace
}  // namespace zelsim
