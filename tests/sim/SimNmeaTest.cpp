#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <regex>
#include <string>

#include "SimController.h"
#include "SimDevices.h"
#include "SimNmea.h"
#include "SimVehicle.h"
#include "SimWire.h"
#include "support/FakeTickClock.h"

namespace zelsim {

namespace {
constexpr uint32_t kReceiverRate = 38400;
constexpr double kKmPerNauticalMile = 1.852;

bool Matches(const std::string& text, const char* pattern) {
    return std::regex_match(text, std::regex(pattern));
}

// "ddmm.mmmm" or "dddmm.mmmm" as minutes.
double Minutes(const std::string& field, size_t degreeDigits) {
    return std::stoi(field.substr(0, degreeDigits)) * 60 + std::stod(field.substr(degreeDigits));
}

// Degrees apart, the short way round.
double CourseGap(double a, double b) {
    const double gap = std::fmod(std::fabs(a - b), 360.0);
    return std::min(gap, 360.0 - gap);
}

std::vector<std::string> Only(const std::string& wire, const char* address) {
    const auto lines = Matching(wire, {address});
    EXPECT_EQ(lines.size(), 1u) << address << " in\n" << wire;
    return lines.empty() ? std::vector<std::string>{} : lines[0].fields;
}

class SimNmeaTest : public ::testing::Test {
  protected:
    SimNmeaTest() : devices_(clock_, ReceiverOnly()) { devices_.SetLineRate(kReceiverRate); }

    static SimOptions ReceiverOnly() {
        SimOptions options;
        options.controller = false;
        return options;
    }
    // What goes out over `ms`, polled every `step` ms as the simulator's loop does.
    std::string RunFor(uint32_t ms, uint32_t step = 10) {
        std::string wire;
        for (uint32_t t = 0; t < ms; t += step) {
            clock_.Advance(step);
            wire += devices_.Tick();
        }
        return wire;
    }
    std::string Next(uint32_t ms) {
        clock_.Advance(ms);
        return devices_.Tick();
    }
    void Press(const char* mask) {
        devices_.Receive(Query(std::string("$PKVTK,") + mask));
        devices_.Receive(Query("$PKVTK,0"));
    }

    FakeTickClock clock_;
    SimDevices devices_;
};
}  // namespace

TEST_F(SimNmeaTest, StreamsAFixEachSecondAndTheSkyEveryFifth) {
    const std::string wire = RunFor(10000);
    ExpectAllSentences(wire);
    const auto gga = Matching(wire, {"GPGGA"});
    ASSERT_EQ(gga.size(), 10u);
    EXPECT_EQ(Matching(wire, {"GPVTG"}).size(), 10u);
    EXPECT_EQ(Matching(wire, {"GPRMC"}).size(), 10u);
    EXPECT_EQ(Matching(wire, {"GPGSA"}).size(), 2u);
    EXPECT_EQ(
        Matching(wire, {"GPGSV", "2", "1"}).size() + Matching(wire, {"GPGSV", "3", "1"}).size(), 2u)
        << "one GSV set at 5 s and one at 10 s";
    for (int second = 1; second <= 10; ++second) {
        char time[16];
        std::snprintf(time, sizeof time, "1000%02d.00", second);
        EXPECT_EQ(gga[second - 1].fields[1], time);
    }
    // Each burst opens with GGA, VTG, RMC in that order.
    const auto lines = ParseWire(wire);
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[0].fields[0], "GPGGA");
    EXPECT_EQ(lines[1].fields[0], "GPVTG");
    EXPECT_EQ(lines[2].fields[0], "GPRMC");
}

// Two minutes, reversing spell included: the fix agrees with the controller's
// record of the same moment and with itself across the three sentences.
TEST_F(SimNmeaTest, FixDescribesTheVehicleTheControllerDescribes) {
    for (uint32_t elapsed = 1000; elapsed <= 120000; elapsed += 1000) {
        const std::string wire = Next(1000);
        ExpectAllSentences(wire);
        const auto gga = Only(wire, "GPGGA");
        const auto vtg = Only(wire, "GPVTG");
        const auto rmc = Only(wire, "GPRMC");
        ASSERT_EQ(gga.size(), 15u) << wire;
        ASSERT_EQ(vtg.size(), 10u) << wire;
        ASSERT_EQ(rmc.size(), 13u) << wire;

        EXPECT_TRUE(Matches(
            Matching(wire, {"GPGGA"})[0].text,
            R"(\$GPGGA,\d{6}\.\d\d,\d{4}\.\d{4},N,\d{5}\.\d{4},E,\d,\d\d,[^,]*,[^,]*,M,[^,]*,M,.*)"))
            << wire;
        EXPECT_LT(std::stod(gga[2].substr(2)), 60.0);
        EXPECT_LT(std::stod(gga[4].substr(3)), 60.0);

        const SimVehicle::State vehicle = SimVehicle::At(elapsed);
        EXPECT_NEAR(Minutes(gga[2], 2), vehicle.latitudeMin, 0.00006);
        EXPECT_NEAR(Minutes(gga[4], 3), vehicle.longitudeMin, 0.00006);
        const auto plt2 = ParseWire(SimController::LiveRecord(elapsed))[0].fields;
        EXPECT_NEAR(Minutes(gga[2], 2), Minutes(plt2[6], 2), 0.00006);
        EXPECT_NEAR(Minutes(gga[4], 3), Minutes(plt2[8], 3), 0.00006);
        EXPECT_EQ(std::stoi(gga[7]), std::stoi(plt2[11])) << "satellites";

        // VTG: true and magnetic course, knots and km/h of one speed.
        EXPECT_TRUE(Matches(Matching(wire, {"GPVTG"})[0].text,
                            R"(\$GPVTG,[\d.]+,T,[\d.]+,M,[\d.]+,N,[\d.]+,K,[AD]\*[0-9A-F]{2})"))
            << wire;
        const double course = std::stod(vtg[1]);
        EXPECT_TRUE(course >= 0 && course < 360) << vtg[1];
        EXPECT_LE(CourseGap(course, std::stod(plt2[12])), 0.11) << "at " << elapsed;
        EXPECT_LE(CourseGap(std::stod(vtg[3]) + SimNmea::kMagneticVariationDeg, course), 0.11);
        const double knots = std::stod(vtg[5]);
        EXPECT_NEAR(knots * kKmPerNauticalMile, std::stod(vtg[7]), 0.015);
        EXPECT_NEAR(knots, std::stod(plt2[13]) / 1000.0 * 3600.0 / 1852.0, 0.005);

        // RMC repeats the same fix, valid, with the date.
        EXPECT_EQ(rmc[1], gga[1]);
        EXPECT_EQ(rmc[2], "A");
        for (size_t i = 0; i < 4; ++i) EXPECT_EQ(rmc[3 + i], gga[2 + i]);
        EXPECT_EQ(rmc[7], vtg[5]);
        EXPECT_EQ(rmc[8], vtg[1]);
        EXPECT_EQ(rmc[9], "140624");
        EXPECT_EQ(rmc[11], "E");
    }
}

TEST_F(SimNmeaTest, SatellitesAndDgpsModeAgreeWithTheStatusScreen) {
    devices_.Receive(Query("$PKVTS,LCD,ON"));
    int skies = 0;
    for (int second = 1; second <= 30; ++second) {
        const std::string wire = Next(1000);
        const auto gga = Only(wire, "GPGGA");
        const auto row0 = Matching(wire, {"PKVTS", "TXT", "0"});
        const auto row1 = Matching(wire, {"PKVTS", "TXT", "16"});
        ASSERT_EQ(row0.size(), 1u) << wire;
        ASSERT_EQ(row1.size(), 1u) << wire;
        EXPECT_EQ(row0[0].fields[3], "Sats " + gga[7] + " DGPS D ");
        EXPECT_EQ(row1[0].fields[3], "Fix 3D  HDOP " + gga[8]);
        EXPECT_EQ(gga[6], "2") << "DGPS fix";
        EXPECT_FALSE(gga[13].empty()) << "age of corrections";
        EXPECT_FALSE(gga[14].empty()) << "reference station";
        EXPECT_EQ(Only(wire, "GPVTG")[9], "D");
        EXPECT_EQ(Only(wire, "GPRMC")[12], "D");

        const auto gsa = Matching(wire, {"GPGSA"});
        if (gsa.empty()) continue;
        ++skies;
        const int claimed = std::stoi(gga[7]);
        const auto& used = gsa[0].fields;
        ASSERT_EQ(used.size(), 18u);
        EXPECT_EQ(used[1], "A");
        EXPECT_EQ(used[2], "3");
        EXPECT_EQ(used[16], gga[8]) << "the HDOP of GSA and GGA";
        std::vector<std::string> usedPrns;
        for (size_t i = 3; i < 15; ++i)
            if (!used[i].empty()) usedPrns.push_back(used[i]);
        EXPECT_EQ(static_cast<int>(usedPrns.size()), claimed);

        const auto gsv = Matching(wire, {"GPGSV"});
        ASSERT_EQ(static_cast<int>(gsv.size()), (claimed + 3) / 4);
        std::vector<std::string> seenPrns;
        for (size_t n = 0; n < gsv.size(); ++n) {
            const auto& f = gsv[n].fields;
            EXPECT_EQ(f[1], std::to_string(gsv.size()));
            EXPECT_EQ(f[2], std::to_string(n + 1));
            EXPECT_EQ(f[3], gga[7]);
            ASSERT_EQ((f.size() - 4) % 4, 0u) << gsv[n].text;
            for (size_t i = 4; i < f.size(); i += 4) {
                seenPrns.push_back(f[i]);
                EXPECT_LE(std::stoi(f[i + 1]), 90);
                EXPECT_LT(std::stoi(f[i + 2]), 360);
                EXPECT_TRUE(Matches(f[i + 3], R"(\d\d)")) << f[i + 3];
            }
        }
        EXPECT_EQ(seenPrns, usedPrns);
    }
    EXPECT_EQ(skies, 6);

    // DGPS off on the settings screen: an autonomous fix from the next burst on.
    Press("2");
    Press("2");
    Press("8");
    Press("6");
    const std::string wire = Next(1000);
    const auto gga = Only(wire, "GPGGA");
    EXPECT_EQ(gga[6], "1");
    EXPECT_EQ(gga[13], "");
    EXPECT_EQ(gga[14], "");
    EXPECT_EQ(Only(wire, "GPVTG")[9], "A");
    EXPECT_EQ(Only(wire, "GPRMC")[12], "A");
    const auto row0 = Matching(wire, {"PKVTS", "TXT", "0"});
    ASSERT_EQ(row0.size(), 1u) << wire;
    EXPECT_EQ(row0[0].fields[3], "Sats " + gga[7] + " DGPS G ");
}

TEST_F(SimNmeaTest, PositionScreenShowsTheStreamedFix) {
    devices_.Receive(Query("$PKVTS,LCD,ON"));
    Press("2");
    ASSERT_EQ(devices_.Receiver()->CurrentScreen(), SimReceiver::kPositionScreen);
    for (int second = 1; second <= 3; ++second) {
        const std::string wire = Next(1000);
        const auto gga = Only(wire, "GPGGA");
        const auto rows = Matching(wire, {"PKVTS", "TXX"});
        ASSERT_EQ(rows.size(), 2u) << wire;
        const std::string north = "N " + gga[2].substr(0, 2) + "%DF" + gga[2].substr(2) + "'";
        const std::string east = "E " + gga[4].substr(0, 3) + "%DF" + gga[4].substr(3) + "'";
        EXPECT_EQ(rows[0].fields[3], north + "   ");
        EXPECT_EQ(rows[1].fields[3], east + "  ");
    }
}

TEST_F(SimNmeaTest, LateTicksKeepTheBurstsOnWholeSeconds) {
    const std::string late = Next(1007);
    ASSERT_EQ(Matching(late, {"GPGGA"}).size(), 1u);
    EXPECT_EQ(Only(late, "GPGGA")[1], "100001.00") << "the fix of its second, not of the tick";
    EXPECT_EQ(Next(992), "") << "the next second is not pushed back by the late tick";
    EXPECT_EQ(Only(Next(1), "GPGGA")[1], "100002.00");

    // A stall of three and a half seconds: one burst, for the last second reached.
    const std::string stalled = Next(3500);
    EXPECT_EQ(Matching(stalled, {"GPGGA"}).size(), 1u) << stalled;
    EXPECT_EQ(Only(stalled, "GPGGA")[1], "100005.00");
    EXPECT_EQ(Matching(stalled, {"GPGSA"}).size(), 1u);
    EXPECT_EQ(Next(499), "");
    EXPECT_EQ(Only(Next(1), "GPGGA")[1], "100006.00");
}

TEST_F(SimNmeaTest, SilentAtAnotherRateAndBackWithOneBurst) {
    for (uint32_t rate : {4800u, 9600u, 19200u, 0u}) {
        devices_.SetLineRate(rate);
        EXPECT_EQ(RunFor(1500), "") << rate;
    }
    devices_.SetLineRate(kReceiverRate);
    const std::string back = devices_.Tick();
    EXPECT_EQ(Matching(back, {"GPGGA"}).size(), 1u) << "not the six bursts it missed";
    EXPECT_EQ(Only(back, "GPGGA")[1], "100006.00");
    EXPECT_EQ(Matching(RunFor(990), {"GPGGA"}).size(), 0u);
    EXPECT_EQ(Matching(RunFor(10), {"GPGGA"}).size(), 1u);
}

TEST_F(SimNmeaTest, NoNmeaLeavesTheReceiverQuietButAnswering) {
    SimOptions options = ReceiverOnly();
    options.nmea = false;
    SimDevices devices(clock_, options);
    devices.SetLineRate(kReceiverRate);
    for (int second = 0; second < 10; ++second) {
        clock_.Advance(1000);
        EXPECT_EQ(devices.Tick(), "");
    }
    EXPECT_EQ(Matching(devices.Receive(Query("$PKVTQ,RID")), {"PKVTR", "RID"}).size(), 1u);
}

TEST(SimNmea, ClockRunsPastMidnightAndMonthEnd) {
    struct Case {
        uint32_t elapsedMs;
        const char* time;
        const char* date;
    };
    constexpr uint32_t kHour = 3600 * 1000;
    constexpr uint32_t kDay = 24 * kHour;
    const Case cases[] = {
        {14 * kHour - 1000, "235959.00", "140624"},
        {14 * kHour, "000000.00", "150624"},
        {16 * kDay + 14 * kHour - 10, "235959.99", "300624"},
        {16 * kDay + 14 * kHour, "000000.00", "010724"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> out;
        SimNmea::Fix({c.elapsedMs, 8, true}, out);
        ASSERT_EQ(out.size(), 3u);
        const auto rmc = ParseWire(out[2])[0].fields;
        EXPECT_EQ(rmc[1], c.time) << c.elapsedMs;
        EXPECT_EQ(rmc[9], c.date) << c.elapsedMs;
    }
}

}  // namespace zelsim
