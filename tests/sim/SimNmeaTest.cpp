#include <gtest/gtest.h>

#include <string>

#include "SimWire.h"

namespace zelsim {

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

}  // namespace zelsim
