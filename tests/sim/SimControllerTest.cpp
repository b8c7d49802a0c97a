#include <gtest/gtest.h>

#include <cmath>
#include <regex>
#include <set>
#include <string>

#include "SimDevices.h"
#include "SimVehicle.h"
#include "SimWire.h"
#include "support/FakeTickClock.h"

namespace zelsim {

namespace {
SimOptions ControllerOnly(bool oldSettings = false) {
    SimOptions options;
    options.receiver = false;
    options.oldSettings = oldSettings;
    return options;
}

bool Matches(const std::string& text, const char* pattern) {
    return std::regex_match(text, std::regex(pattern));
}

std::vector<std::string> FieldsOf(const std::string& wire) {
    const auto lines = ParseWire(wire);
    EXPECT_EQ(lines.size(), 1u) << wire;
    return lines.empty() ? std::vector<std::string>{} : lines[0].fields;
}
}  // namespace

TEST(SimController, StreamsLiveRecordsTenTimesAndFilterRecordsOnceASecond) {
    FakeTickClock clock;
    SimDevices devices(clock, ControllerOnly());
    std::string wire;
    for (int step = 0; step < 200; ++step) {  // two seconds in 10 ms steps
        clock.Advance(10);
        wire += devices.Tick();
    }
    ExpectAllSentences(wire);
    EXPECT_EQ(Matching(wire, {"PKVTR", "DML", "PLT2"}).size(), 20u);
    EXPECT_EQ(Matching(wire, {"PKVTR", "DML", "PLT3"}).size(), 2u);
}

TEST(SimController, CatchesUpWithoutABurstAfterAStallAndAcrossTheTickWrap) {
    FakeTickClock clock(0xFFFFFF00u);
    SimDevices devices(clock, ControllerOnly());
    clock.Advance(1000);
    EXPECT_EQ(Matching(devices.Tick(), {"PKVTR", "DML", "PLT2"}).size(), 1u);
    EXPECT_EQ(devices.Tick(), "");
    clock.Advance(SimController::kRecordPeriodMs - 1);
    EXPECT_EQ(devices.Tick(), "");
    clock.Advance(1);
    EXPECT_EQ(Matching(devices.Tick(), {"PKVTR", "DML", "PLT2"}).size(), 1u);
}

// Three minutes of records, each in the number forms the program decodes.
TEST(SimController, LiveRecordsKeepTheirFormsAndCoverEveryState) {
    std::set<std::string> modes;
    bool sawReverse = false;
    bool sawYawRate = false;
    double previousLatitude = 0;
    for (uint32_t t = 0; t < 180000; t += SimController::kRecordPeriodMs) {
        const std::string wire = SimController::LiveRecord(t);
        ExpectAllSentences(wire);
        const auto f = FieldsOf(wire);
        ASSERT_EQ(f.size(), 19u) << wire;
        static const char* const kForms[] = {
            R"(-?\d+\.\d)", R"(-?\d+\.\d\d)",  R"(-?\d+\.\d)", R"(\d{4}\.\d{6})",
            "[NS]",         R"(\d{5}\.\d{6})", "[EW]",         ".*",
            R"(\d+)",       R"(\d+\.\d)",      R"(\d+)",       R"(-?\d+)",
            "[0-4]",        R"(\d+)",          "[01]",         "[01]"};
        for (size_t i = 0; i < std::size(kForms); ++i)
            EXPECT_TRUE(Matches(f[3 + i], kForms[i])) << "field " << 3 + i << " of " << wire;

        EXPECT_LE(std::fabs(std::stod(f[4])), 0.35) << "the offset swings, it does not drift";
        const double course = std::stod(f[12]);
        EXPECT_TRUE(course >= 0 && course < 360) << wire;
        const double minutes = std::stod(f[6].substr(2));
        EXPECT_LT(minutes, 60.0) << wire;
        const double latitude = std::stoi(f[6].substr(0, 2)) * 60 + minutes;
        EXPECT_NE(latitude, previousLatitude) << "the vehicle moves";
        previousLatitude = latitude;

        modes.insert(f[15]);
        sawReverse |= f[18] == "1";
        sawYawRate |= f[17] == "1";
        if (t < 60000) EXPECT_EQ(std::stoi(f[15]), static_cast<int>(t / 12000));
    }
    EXPECT_EQ(modes.size(), 5u);
    EXPECT_TRUE(sawReverse);
    EXPECT_TRUE(sawYawRate);
}

TEST(SimController, ReversingDrivesBackAlongTheLine) {
    const uint32_t start = SimVehicle::kReverseStartMs;
    const SimVehicle::State before = SimVehicle::At(start - 1000);
    const SimVehicle::State during = SimVehicle::At(start + 1000);
    const SimVehicle::State later = SimVehicle::At(start + 3000);
    EXPECT_FALSE(before.reversing);
    ASSERT_TRUE(during.reversing);
    EXPECT_LT(later.latitudeMin, during.latitudeMin);
    EXPECT_NEAR(std::fmod(during.courseDeg - before.courseDeg + 360.0, 360.0), 180.0, 10.0);
}

TEST(SimController, FilterRecordHoldsSixIntegers) {
    const auto f = FieldsOf(SimController::FilterRecord(40000));
    ASSERT_EQ(f.size(), 9u);
    for (size_t i = 3; i < f.size(); ++i) EXPECT_TRUE(Matches(f[i], R"(-?\d+)")) << f[i];
    EXPECT_EQ(f[3], "1") << "the draft filter runs in steering mode 3";
}

// Settings in the current units; the older blocks must decode, after
// scaling, to the same settings.
TEST(SimController, AnswersSettingsQueriesAndOlderUnitsScaleBackToTheSame) {
    FakeTickClock clock;
    SimDevices current(clock, ControllerOnly());
    SimDevices old(clock, ControllerOnly(true));
    const auto set12 = FieldsOf(current.Receive(Query("$PKVTQ,DML,SET1")));
    const auto set1 = FieldsOf(old.Receive(Query("$PKVTQ,DML,SET1")));
    ASSERT_EQ(set12.size(), 13u);
    EXPECT_EQ(set12[2], "SET12");
    ASSERT_EQ(set1.size(), 14u);
    ASSERT_EQ(set1[2], "SET1");
    struct Pair {
        size_t set12Field, set1Field;
        int factor;
    };
    const Pair pairs[] = {{3, 3, 1},  {4, 4, 10},   {5, 6, 10},    {6, 7, 10},    {7, 8, 100},
                          {8, 9, 10}, {9, 10, 100}, {10, 11, 100}, {11, 12, 100}, {12, 13, 1}};
    for (const Pair& p : pairs)
        EXPECT_EQ(std::stoi(set1[p.set1Field]) * p.factor, std::stoi(set12[p.set12Field]))
            << "SET12 field " << p.set12Field;

    const auto set22 = FieldsOf(current.Receive(Query("$PKVTQ,DML,SET2")));
    const auto set2 = FieldsOf(old.Receive(Query("$PKVTQ,DML,SET2")));
    ASSERT_EQ(set22.size(), 15u);
    EXPECT_EQ(set22[2], "SET22");
    for (size_t i = 3; i < set22.size(); ++i) EXPECT_TRUE(Matches(set22[i], R"(-?\d+)"));
    ASSERT_EQ(set2.size(), 11u);
    EXPECT_EQ(set2[2], "SET2");
    for (size_t i = 3; i < set2.size(); ++i) EXPECT_EQ(set2[i], set22[i]);
}

TEST(SimController, IdentifiesItselfAndItsLightbarWhenAsked) {
    FakeTickClock clock;
    SimDevices devices(clock, ControllerOnly());
    const std::string wire = devices.Receive(Query("$PKVTQ,DML,DID_REQUEST"));
    const auto replies = Matching(wire, {"PKVTR", "DID"});
    ASSERT_EQ(replies.size(), 2u);
    EXPECT_EQ(replies[0].fields[2].rfind("Dormalyn", 0), 0u);
    ASSERT_GE(replies[0].fields.size(), 7u);
    EXPECT_EQ(replies[0].fields[6], SimController::kSerial);
    EXPECT_EQ(replies[1].fields[2].front(), 'L');
    ASSERT_GE(replies[1].fields.size(), 5u);
    EXPECT_EQ(replies[1].fields[4], SimController::kLightbarSerial);

    for (const char* other : {"$PKVTQ,DML,SET3", "$PKVTQ,DML", "$PKVTQ,DID", "$PKVTQ,RID"})
        EXPECT_EQ(devices.Receive(Query(other)), "") << other;
}

}  // namespace zelsim
