#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>

#include "SimWire.h"
#include "monitor/MessageClassifier.h"

namespace zelsim {

// Each report beside the controller's record of the same moment: the lamp lit
// follows the offset the controller steers by.
TEST(SimLightbar, ShowsTheControllersOffsetAsLightBarTraffic) {
    SimBench sim({"--no-receiver"});
    std::map<long, int> segmentByOffset;
    size_t reports = 0;
    for (uint32_t t = 0; t < 60000; t += 10) {
        const std::string wire = sim.Next(10);
        const auto lamps = Matching(wire, {"PKVTS", "LBX"});
        if (lamps.empty()) continue;
        ASSERT_EQ(lamps.size(), 1u) << wire;
        ++reports;
        const WireLine& lamp = lamps[0];
        EXPECT_EQ(MessageClassifier::ClassifyText(lamp.text), MessageCategory::kLightBar)
            << lamp.text;
        ASSERT_EQ(lamp.fields.size(), 5u) << lamp.text;
        ASSERT_TRUE(Matches(lamp.fields[2], R"(-?\d+)") && Matches(lamp.fields[3], R"(-?\d+)"))
            << lamp.text;
        const int segment = std::stoi(lamp.fields[2]);
        const long offsetCm = std::stol(lamp.fields[3]);
        EXPECT_LE(std::abs(segment), SimLightbar::kSegmentsPerSide) << lamp.text;
        EXPECT_EQ(lamp.fields[4], segment > 0 ? "L" : segment < 0 ? "R" : "C") << lamp.text;

        const double recordM = std::stod(FieldOf(wire, {"PKVTR", "DML", "PLT2"}, 4));
        EXPECT_NEAR(offsetCm, recordM * 100, 1.0) << lamp.text;
        segmentByOffset[offsetCm] = segment;
    }
    EXPECT_EQ(reports, 60000 / SimLightbar::kPeriodMs);

    // Further off, never a lamp nearer the centre; both ends and the centre lit.
    int previous = -SimLightbar::kSegmentsPerSide;
    for (const auto& [offsetCm, segment] : segmentByOffset) {
        EXPECT_GE(segment, previous) << offsetCm << " cm";
        previous = segment;
    }
    EXPECT_EQ(segmentByOffset.begin()->second, -SimLightbar::kSegmentsPerSide);
    EXPECT_EQ(segmentByOffset.rbegin()->second, SimLightbar::kSegmentsPerSide);
    EXPECT_EQ(segmentByOffset.at(0), 0);
}

}  // namespace zelsim
