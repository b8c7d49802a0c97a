#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>

#include "SimWire.h"

namespace zelsim {

namespace {
size_t Count(const std::string& wire, const char* record) {
    return Matching(wire, {"PKVTR", "DML", record}).size();
}
}  // namespace

TEST(SimController, StreamsOnItsGridAcrossTheTickWrapAndAfterAStall) {
    SimBench sim({"--no-receiver"}, 0xFFFFFF00u);  // the tick wraps 256 ms in
    const std::string wire = sim.RunFor(2000);
    EXPECT_EQ(Count(wire, "PLT2"), 20u);
    EXPECT_EQ(Count(wire, "PLT3"), 2u);

    // A stalled poll gets one of each, not a burst, and the next stays on the grid.
    const std::string late = sim.Next(1050);
    EXPECT_EQ(Count(late, "PLT2"), 1u);
    EXPECT_EQ(Count(late, "PLT3"), 1u);
    EXPECT_EQ(sim.Next(49), "");
    EXPECT_EQ(Count(sim.Next(1), "PLT2"), 1u);
}

// Three minutes of records, each in the number forms the program decodes.
TEST(SimController, RecordsKeepTheirFormsAndCoverEveryState) {
    static const char* const kForms[] = {
        R"(-?\d+\.\d)", R"(-?\d+\.\d\d)",  R"(-?\d+\.\d)", R"(\d{4}\.\d{6})",
        "[NS]",         R"(\d{5}\.\d{6})", "[EW]",         ".*",
        R"(\d+)",       R"(\d+\.\d)",      R"(\d+)",       R"(-?\d+)",
        "[0-4]",        R"(\d+)",          "[01]",         "[01]"};
    std::set<std::string> modes;
    bool sawYawRate = false;
    for (uint32_t t = 0; t < 180000; t += SimController::kRecordPeriodMs) {
        const std::string wire = SimController::LiveRecord(t);
        const auto f = Only(wire, {"PKVTR"});
        ASSERT_EQ(f.size(), 19u) << wire;
        for (size_t i = 0; i < std::size(kForms); ++i)
            EXPECT_TRUE(Matches(f[3 + i], kForms[i])) << "field " << 3 + i << " of " << wire;
        EXPECT_LE(std::fabs(std::stod(f[4])), 0.35) << "the offset swings, it does not drift";

        modes.insert(f[15]);
        sawYawRate |= f[17] == "1";

        if (t % 1000 != 0) continue;
        const auto filter = Only(SimController::FilterRecord(t), {"PKVTR"});
        ASSERT_EQ(filter.size(), 9u) << t;
        for (size_t i = 3; i < filter.size(); ++i)
            EXPECT_TRUE(Matches(filter[i], R"(-?\d+)")) << filter[i];
        EXPECT_EQ(filter[3], std::stoi(f[15]) >= 3 ? "1" : "0")
            << "the draft filter, from steering mode 3";
    }
    EXPECT_EQ(modes.size(), 5u);
    EXPECT_TRUE(sawYawRate);
}

// Settings in the current units; the older blocks must decode, after
// scaling, to the same settings.
TEST(SimController, AnswersSettingsQueriesAndOlderUnitsScaleBackToTheSame) {
    SimBench current({"--no-receiver"});
    SimBench old({"--no-receiver", "--old-settings"});
    const auto set12 = Only(current.Send("$PKVTQ,DML,SET1"), {"PKVTR", "DML", "SET12"});
    const auto set1 = Only(old.Send("$PKVTQ,DML,SET1"), {"PKVTR", "DML", "SET1"});
    ASSERT_EQ(set12.size(), 13u);
    ASSERT_EQ(set1.size(), 14u);
    const struct {
        size_t set12Field, set1Field;
        int factor;
    } pairs[] = {{3, 3, 1},  {4, 4, 10},   {5, 6, 10},    {6, 7, 10},    {7, 8, 100},
                 {8, 9, 10}, {9, 10, 100}, {10, 11, 100}, {11, 12, 100}, {12, 13, 1}};
    for (const auto& p : pairs)
        EXPECT_EQ(std::stoi(set1[p.set1Field]) * p.factor, std::stoi(set12[p.set12Field]))
            << "SET12 field " << p.set12Field;

    const auto set22 = Only(current.Send("$PKVTQ,DML,SET2"), {"PKVTR", "DML", "SET22"});
    const auto set2 = Only(old.Send("$PKVTQ,DML,SET2"), {"PKVTR", "DML", "SET2"});
    ASSERT_EQ(set22.size(), 15u);
    ASSERT_EQ(set2.size(), 11u);
    for (size_t i = 3; i < set22.size(); ++i) EXPECT_TRUE(Matches(set22[i], R"(-?\d+)")) << i;
    for (size_t i = 3; i < set2.size(); ++i) EXPECT_EQ(set2[i], set22[i]) << i;
}

// The older record carries what PLT2 does, less the two flags, and a
// program that reads its knots as hundredths gets the same speed in mph.
TEST(SimController, OlderRecordsCarryTheSameStateWithTheSpeedInKnots) {
    const auto hundredths = [](const std::string& field) {
        const size_t point = field.find('.');
        return std::stol(field.substr(0, point)) * 100 + std::stol(field.substr(point + 1));
    };
    for (uint32_t t = 0; t < 180000; t += 700) {
        const auto old = Only(SimController::OlderLiveRecord(t), {"PKVTR", "DML", "PLT"});
        const auto now = Only(SimController::LiveRecord(t), {"PKVTR", "DML", "PLT2"});
        ASSERT_EQ(old.size(), 17u) << "fields 0 to 16, no flags";
        ASSERT_EQ(now.size(), 19u);
        for (size_t i = 4; i <= 12; ++i) EXPECT_EQ(old[i], now[i]) << "field " << i << " at " << t;
        for (size_t i = 14; i <= 16; ++i) EXPECT_EQ(old[i], now[i]) << "field " << i << " at " << t;
        // Without the flag the field can only be the wheel angle.
        if (now[17] == "0") {
            EXPECT_EQ(old[3], now[3]) << t;
        }
        EXPECT_TRUE(Matches(old[3], R"(-?\d+\.\d)")) << old[3];

        ASSERT_TRUE(Matches(old[13], R"(\d+\.\d\d)")) << old[13];
        const long tenthsMphFromKnots = hundredths(old[13]) * 65536 / 569878;
        const long tenthsMphFromMm = std::stol(now[13]) * 1000 / 44704;
        EXPECT_EQ(tenthsMphFromKnots, tenthsMphFromMm)
            << old[13] << " knots, " << now[13] << " mm/s";
    }

    SimBench sim({"--no-receiver", "--old-records"});
    const std::string wire = sim.RunFor(1000);
    EXPECT_EQ(Count(wire, "PLT"), 10u);
    EXPECT_EQ(Count(wire, "PLT2"), 0u);
    EXPECT_EQ(Count(wire, "PLT3"), 1u) << "the filter record is not part of it";
}

}  // namespace zelsim
