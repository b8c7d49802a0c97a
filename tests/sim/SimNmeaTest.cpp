#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <tuple>

#include "SimController.h"
#include "SimNmea.h"
#include "SimWire.h"

namespace zelsim {

namespace {
// "ddmm.mmmm" or "dddmm.mmmm" as minutes, which must not carry past 59.
double Minutes(const std::string& field, size_t degreeDigits) {
    const double minutes = std::stod(field.substr(degreeDigits));
    EXPECT_LT(minutes, 60.0) << field;
    return std::stoi(field.substr(0, degreeDigits)) * 60 + minutes;
}

// Degrees apart, the short way round.
double CourseGap(double a, double b) {
    return std::fabs(std::remainder(a - b, 360.0));
}
}  // namespace

TEST(SimNmea, StreamsAFixEachSecondAndTheSkyEveryFifth) {
    SimBench sim({"--no-controller"});
    const std::string wire = sim.RunFor(10000);
    const auto gga = Matching(wire, {"GPGGA"});
    ASSERT_EQ(gga.size(), 10u);
    for (int second = 1; second <= 10; ++second)
        EXPECT_EQ(gga[second - 1].fields[1],
                  (second < 10 ? "10000" : "1000") + std::to_string(second) + ".00");
    EXPECT_EQ(Matching(wire, {"GPVTG"}).size(), 10u);
    EXPECT_EQ(Matching(wire, {"GPRMC"}).size(), 10u);
    EXPECT_EQ(Matching(wire, {"GPGSA"}).size(), 2u);
    size_t skies = 0;
    for (const WireLine& gsv : Matching(wire, {"GPGSV"})) skies += gsv.fields[2] == "1";
    EXPECT_EQ(skies, 2u) << "one GSV set at 5 s and one at 10 s";
}

// Two minutes, reversing spell included: each burst opens GGA, VTG, RMC, which
// agree with each other and with the controller's record of the same moment.
TEST(SimNmea, FixDescribesTheVehicleTheControllerDescribes) {
    SimBench sim({"--no-controller"});
    for (uint32_t elapsed = 1000; elapsed <= 120000; elapsed += 1000) {
        const auto lines = ParseWire(sim.Next(1000));
        ASSERT_GE(lines.size(), 3u);
        const auto& gga = lines[0].fields;
        const auto& vtg = lines[1].fields;
        const auto& rmc = lines[2].fields;
        ASSERT_TRUE(gga.size() == 15 && vtg.size() == 10 && rmc.size() == 13 && rmc[0] == "GPRMC")
            << lines[0].text << "\n"
            << lines[1].text << "\n"
            << lines[2].text;
        EXPECT_TRUE(
            Matches(lines[0].text,
                    R"(\$GPGGA,\d{6}\.\d\d,\d{4}\.\d{4},N,\d{5}\.\d{4},E,\d,\d\d,.*,M,.*,M,.*)"))
            << lines[0].text;
        EXPECT_TRUE(Matches(lines[1].text,
                            R"(\$GPVTG,[\d.]+,T,[\d.]+,M,[\d.]+,N,[\d.]+,K,[AD]\*[0-9A-F]{2})"))
            << lines[1].text;

        const auto plt2 = Only(SimController::LiveRecord(elapsed), {"PKVTR"});
        ASSERT_EQ(plt2.size(), 19u);
        EXPECT_NEAR(Minutes(gga[2], 2), Minutes(plt2[6], 2), 0.00006);
        EXPECT_NEAR(Minutes(gga[4], 3), Minutes(plt2[8], 3), 0.00006);
        EXPECT_EQ(std::stoi(gga[7]), std::stoi(plt2[11])) << "satellites";
        const double course = std::stod(vtg[1]);
        EXPECT_TRUE(course >= 0 && course < 360) << vtg[1];
        EXPECT_LE(CourseGap(course, std::stod(plt2[12])), 0.11) << "at " << elapsed;
        // Magnetic is true less the variation east RMC states.
        EXPECT_EQ(rmc[11], "E");
        EXPECT_LE(CourseGap(std::stod(vtg[3]) + std::stod(rmc[10]), course), 0.11);
        const double knots = std::stod(vtg[5]);
        EXPECT_NEAR(knots * 1.852, std::stod(vtg[7]), 0.015);
        EXPECT_NEAR(knots, std::stod(plt2[13]) * 3.6 / 1852.0, 0.005);
        const std::vector<std::string> repeated = {gga[1], "A",    gga[2], gga[3],
                                                   gga[4], gga[5], vtg[5], vtg[1]};
        EXPECT_EQ(std::vector<std::string>(rmc.begin() + 1, rmc.begin() + 9), repeated);
    }
}

// Thirty seconds with the screen mirrored, then the position screen, then DGPS
// switched off on the settings screen.
TEST(SimNmea, SkyAndScreensAgreeWithTheFix) {
    SimBench sim({"--no-controller"});
    sim.Send("$PKVTS,LCD,ON");
    int skies = 0;
    for (int second = 1; second <= 30; ++second) {
        const std::string wire = sim.Next(1000);
        const auto gga = Only(wire, {"GPGGA"});
        ASSERT_EQ(gga.size(), 15u) << wire;
        EXPECT_EQ(FieldOf(wire, {"PKVTS", "TXT", "0"}, 3), "Sats " + gga[7] + " DGPS D ");
        EXPECT_EQ(FieldOf(wire, {"PKVTS", "TXT", "16"}, 3), "Fix 3D  HDOP " + gga[8]);
        EXPECT_EQ(gga[6], "2") << "DGPS fix";
        EXPECT_FALSE(gga[13].empty() || gga[14].empty()) << "age of corrections, station";
        EXPECT_EQ(FieldOf(wire, {"GPVTG"}, 9) + FieldOf(wire, {"GPRMC"}, 12), "DD");

        const auto gsa = Matching(wire, {"GPGSA", "A", "3"});
        if (gsa.empty()) continue;
        ++skies;
        const auto& used = gsa[0].fields;
        ASSERT_EQ(used.size(), 18u);
        EXPECT_EQ(used[16], gga[8]) << "the HDOP of GSA and GGA";
        std::vector<std::string> usedPrns;
        for (size_t i = 3; i < 15; ++i)
            if (!used[i].empty()) usedPrns.push_back(used[i]);
        EXPECT_EQ(usedPrns.size(), std::stoul(gga[7]));

        EXPECT_EQ(Matching(wire, {"GPGSV"}).size(), (usedPrns.size() + 3) / 4);
    }
    EXPECT_EQ(skies, 6);

    sim.Press(2);
    std::string wire = sim.Next(1000);
    const auto gga = Only(wire, {"GPGGA"});
    ASSERT_EQ(gga.size(), 15u) << wire;
    EXPECT_EQ(FieldOf(wire, {"PKVTS", "TXX", "0"}, 3),
              "N " + gga[2].substr(0, 2) + "%DF" + gga[2].substr(2) + "'   ");
    EXPECT_EQ(FieldOf(wire, {"PKVTS", "TXX", "16"}, 3),
              "E " + gga[4].substr(0, 3) + "%DF" + gga[4].substr(3) + "'  ");

    for (unsigned key : {2, 8, 6}) sim.Press(key);
    wire = sim.Next(1000);  // autonomous from the next burst on
    EXPECT_EQ(FieldOf(wire, {"GPGGA"}, 6), "1");
    EXPECT_EQ(FieldOf(wire, {"GPGGA"}, 13) + FieldOf(wire, {"GPGGA"}, 14), "") << "no corrections";
    EXPECT_EQ(FieldOf(wire, {"GPVTG"}, 9) + FieldOf(wire, {"GPRMC"}, 12), "AA");
}

TEST(SimNmea, LateTicksKeepTheBurstsOnWholeSeconds) {
    SimBench sim({"--no-controller"});
    EXPECT_EQ(FieldOf(sim.Next(1007), {"GPGGA"}, 1), "100001.00") << "its second's, not the tick's";
    EXPECT_EQ(sim.Next(992), "") << "the next second is not pushed back by the late tick";
    EXPECT_EQ(FieldOf(sim.Next(1), {"GPGGA"}, 1), "100002.00");

    // A stall of three and a half seconds: one burst, for the last second reached.
    const std::string stalled = sim.Next(3500);
    EXPECT_EQ(FieldOf(stalled, {"GPGGA"}, 1), "100005.00");
    EXPECT_EQ(Matching(stalled, {"GPGSA"}).size(), 1u);
    EXPECT_EQ(sim.Next(499), "");
    EXPECT_EQ(FieldOf(sim.Next(1), {"GPGGA"}, 1), "100006.00");
}

TEST(SimNmea, SilentAtAnotherRateAndBackWithOneBurst) {
    SimBench sim({"--no-controller"});
    sim.Send("$PKVTS,LCD,ON");  // nor does the mirrored screen refresh
    for (uint32_t rate : {4800u, 9600u, 19200u, 0u}) {
        sim.devices.SetLineRate(rate);
        EXPECT_EQ(sim.RunFor(1500), "") << rate;
    }
    sim.devices.SetLineRate(38400);
    EXPECT_EQ(FieldOf(sim.Next(0), {"GPGGA"}, 1), "100006.00") << "not the bursts it missed";
    EXPECT_EQ(Matching(sim.RunFor(990), {"GPGGA"}).size(), 0u);
    EXPECT_EQ(Matching(sim.RunFor(10), {"GPGGA"}).size(), 1u);

    SimBench quiet({"--no-controller", "--no-nmea"});
    EXPECT_EQ(quiet.Next(10000), "");
    EXPECT_EQ(Matching(quiet.Send("$PKVTQ,RID"), {"PKVTR", "RID"}).size(), 1u);
}

TEST(SimNmea, ClockRunsPastMidnightAndMonthEnd) {
    constexpr uint32_t kHour = 3600 * 1000;
    const std::tuple<uint32_t, const char*, const char*> cases[] = {
        {14 * kHour - 1000, "235959.00", "140624"},
        {14 * kHour, "000000.00", "150624"},
        {16 * 24 * kHour + 14 * kHour - 10, "235959.99", "300624"},
        {16 * 24 * kHour + 14 * kHour, "000000.00", "010724"},
    };
    for (const auto& [elapsedMs, time, date] : cases) {
        std::vector<std::string> out;
        SimNmea::Fix({elapsedMs, 8, true}, out);
        ASSERT_EQ(out.size(), 3u);
        EXPECT_EQ(FieldOf(out[2], {"GPRMC"}, 1), time) << elapsedMs;
        EXPECT_EQ(FieldOf(out[2], {"GPRMC"}, 9), date) << elapsedMs;
    }
}

}  // namespace zelsim
