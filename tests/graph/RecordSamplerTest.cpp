#include <gtest/gtest.h>

#include <ctime>
#include <string>

#include "graph/RecordSampler.h"
#include "serial/SentenceFramer.h"
#include "support/FakeTickClock.h"

namespace zelsim {
namespace {

std::tm FixedTime() {
    std::tm t{};
    t.tm_year = 126;  // 2026
    t.tm_mon = 2;     // March
    t.tm_mday = 7;
    t.tm_hour = 14;
    t.tm_min = 5;
    t.tm_sec = 9;
    return t;
}

// A record told apart from the others by its sensor value.
DiagnosticRecord Numbered(int n) {
    DiagnosticRecord r;
    r.spsCur = static_cast<int16_t>(n);
    return r;
}

class RecordSamplerTest : public ::testing::Test {
  protected:
    RecordSamplerTest() : graph_(FixedTime) {}

    void Receive(const std::string& text) {
        ASSERT_EQ(framer_.ParseText(text), SentenceFramer::kSentenceReady) << text;
        if (framer_.Field(1) == "DML")
            graph_.DecodeDml(framer_, proprietary::RecordTypeOf(framer_.Field(2)));
        if (framer_.Field(1) == "RID") graph_.DecodeReceiverIdentity(framer_);
    }
    // The main cycle's 10 ms ticks for `ms` milliseconds.
    void RunCycles(uint32_t ms) {
        for (uint32_t t = 0; t < ms; t += 10) {
            clock_.Advance(10);
            graph_.AfterRead(clock_.TickNow());
        }
    }
    void Sample() { graph_.SampleLatest(clock_.TickNow()); }

    FakeTickClock clock_;
    SentenceFramer framer_;
    RecordSampler graph_;
};

TEST_F(RecordSamplerTest, ShownWindowSamplesOnTheFirstCycleAfterMoreThan100Ms) {
    graph_.Show();
    Sample();
    EXPECT_EQ(graph_.Ring().Count(), 1);
    clock_.Advance(100);
    Sample();
    EXPECT_EQ(graph_.Ring().Count(), 1);
    clock_.Advance(1);
    Sample();
    EXPECT_EQ(graph_.Ring().Count(), 2);

    // With the 10 ms cycle: every 110 ms, sentence or not.
    RunCycles(1100);
    EXPECT_EQ(graph_.Ring().Count(), 12);
}

TEST_F(RecordSamplerTest, SamplesAreStampedCopiesOfTheLatestRecord) {
    Receive("$PKVTR,DML,SET22,1,2,3,4,5,6,7,8,9,10,11,12");
    graph_.Show();
    Receive("$PKVTR,DML,PLT2,1.5,0,0,4807.0385,N,01131.000,E,D,9,0,0,35,3,1024,0,0");
    Sample();
    const DiagnosticRecord& sample = graph_.Ring().At(0);
    EXPECT_STREQ(sample.dat, "03/07/26");
    EXPECT_STREQ(sample.tim, "14:05:09");
    EXPECT_EQ(sample.waTenthDeg, 15);
    EXPECT_EQ(sample.firstRsp, 0);  // showing the window cleared it
    // A copy, with the plot rows the chart gave it.
    DiagnosticRecord expected = graph_.Latest();
    graph_.Chart().FillRows(expected);
    EXPECT_NE(expected.p0, 0);
    EXPECT_EQ(sample, expected);
}

TEST_F(RecordSamplerTest, HiddenWindowTakesNoSampleButKeepsItsRingUntilShownAgain) {
    Sample();
    Receive("$PKVTR,DML,PLT3,1");
    EXPECT_EQ(graph_.Ring().Count(), 0);
    EXPECT_EQ(graph_.Latest().draftFilterActive, 1);

    graph_.Show();
    RunCycles(500);
    const int16_t held = graph_.Ring().Count();
    EXPECT_GT(held, 0);
    graph_.Hide();
    RunCycles(500);
    EXPECT_EQ(graph_.Ring().Count(), held);
    graph_.Show();
    EXPECT_EQ(graph_.Ring().Count(), 0);
}

TEST_F(RecordSamplerTest, TickCountWrapNeitherStopsNorHurriesSampling) {
    clock_.Set(0xFFFFFFC0u);
    graph_.Show();
    Sample();
    RunCycles(110);  // across the wrap
    EXPECT_EQ(graph_.Ring().Count(), 2);

    // Hidden for longer than half the tick range: the last sample reads as
    // one in the future, yet showing again samples at once.
    graph_.Hide();
    clock_.Advance(0x80000000u);
    graph_.Show();
    Sample();
    EXPECT_EQ(graph_.Ring().Count(), 1);
}

TEST_F(RecordSamplerTest, HoldStopsSamplingAndMarksTheNextRecordAsAGap) {
    graph_.Show();
    Sample();
    graph_.SetHolding(true);
    RunCycles(500);
    EXPECT_EQ(graph_.Ring().Count(), 1);

    graph_.SetHolding(false);
    RunCycles(110);
    ASSERT_EQ(graph_.Ring().Count(), 2);
    EXPECT_EQ(graph_.Ring().At(1).hld, 1);
    EXPECT_EQ(graph_.Latest().hld, 1);
    RunCycles(110);
    EXPECT_EQ(graph_.Ring().At(2).hld, 0);
    EXPECT_EQ(graph_.Latest().hld, 0);

    // A record's own marker, a loaded file's, gives way to the pending one.
    DiagnosticRecord loaded;
    loaded.hld = 1;
    graph_.AppendRecord(loaded);
    EXPECT_EQ(graph_.Ring().At(3).hld, 0);
}

TEST_F(RecordSamplerTest, FifthTraceIsYawRateOnlyWhileTheFlagIsOne) {
    graph_.Show();
    EXPECT_EQ(graph_.FifthTraceName(), "WheelAngle");
    Receive("$PKVTR,DML,PLT2,0,0,0,0,N,0,E,D,9,0,0,0,0,0,1,0");
    Sample();
    EXPECT_EQ(graph_.FifthTraceName(), "YawRate");
    Receive("$PKVTR,DML,PLT2,0,0,0,0,N,0,E,D,9,0,0,0,0,0,Y,0");
    Sample();
    EXPECT_EQ(graph_.FifthTraceName(), "WheelAngle");
}

TEST_F(RecordSamplerTest, LiveIdentitiesReachTheDisplayWithTheNextRecordUnlessAFileIsViewed) {
    Receive("$PKVTR,RID,Corvane R5,3.2,x,y,RX1");
    EXPECT_EQ(graph_.Identities().Displayed(DeviceSlot::kReceiver).Name(), "");
    graph_.AppendRecord({});
    EXPECT_EQ(graph_.Identities().Displayed(DeviceSlot::kReceiver).Name(), "Corvane R5");
    EXPECT_FALSE(graph_.Identities().Changed());

    // A loaded file keeps its own identities while Hold is on ...
    graph_.SetHolding(true);
    graph_.SetLoadedData(true);
    graph_.Identities().SetDisplayed(DeviceSlot::kReceiver, "From file", "1", "F1");
    Receive("$PKVTR,RID,Corvane R6,3.3,x,y,RX2");
    graph_.AppendRecord({});
    EXPECT_EQ(graph_.Identities().Displayed(DeviceSlot::kReceiver).Name(), "From file");

    // ... and leaving Hold drops the file and shows the live set again.
    graph_.SetHolding(false);
    EXPECT_FALSE(graph_.LoadedData());
    EXPECT_EQ(graph_.Ring().Count(), 0);
    EXPECT_EQ(graph_.Identities().Displayed(DeviceSlot::kReceiver).Name(), "Corvane R6");
}

TEST_F(RecordSamplerTest, FullRingOverwritesItsOldestRecord) {
    for (int n = 0; n < RecordRing::kCapacity + 5; ++n) graph_.AppendRecord(Numbered(n));
    const RecordRing& ring = graph_.Ring();
    EXPECT_EQ(ring.Count(), 4000);
    EXPECT_EQ(ring.Head(), 5);
    EXPECT_EQ(ring.OldestIndex(), 5);
    EXPECT_EQ(ring.FromOldest(0).spsCur, 5);
    EXPECT_EQ(ring.FromOldest(3999).spsCur, 4004);
    EXPECT_EQ(ring.At(ring.NewestIndex()).spsCur, 4004);
    EXPECT_EQ(ring.At(-1).spsCur, 3999);
    EXPECT_EQ(ring.At(4005).spsCur, 5);

    graph_.Clear();
    EXPECT_EQ(ring.Count(), 0);
    EXPECT_EQ(ring.Head(), 0);
    for (int i = 0; i < RecordRing::kCapacity; ++i) ASSERT_EQ(ring.At(i), DiagnosticRecord{});
}

TEST_F(RecordSamplerTest, AutoSaveFiresEachTimeHeadComesRoundToTheMark) {
    int saves = 0;
    graph_.onAutoSave = [&saves] { ++saves; };
    for (int n = 0; n < 10; ++n) graph_.AppendRecord({});
    graph_.SetAutoSave(true);
    EXPECT_EQ(graph_.Ring().AutoSaveMark(), 10);

    for (int n = 0; n < RecordRing::kCapacity - 1; ++n) graph_.AppendRecord({});
    EXPECT_EQ(saves, 0);
    EXPECT_EQ(graph_.Ring().AppendedSinceMark(), 3999);
    graph_.AppendRecord({});
    EXPECT_EQ(saves, 1);
    for (int n = 0; n < RecordRing::kCapacity; ++n) graph_.AppendRecord({});
    EXPECT_EQ(saves, 2);

    // Clear switches it off without saving.
    graph_.Clear();
    EXPECT_FALSE(graph_.AutoSave());
    for (int n = 0; n < RecordRing::kCapacity; ++n) graph_.AppendRecord({});
    EXPECT_EQ(saves, 2);
}

}  // namespace
}  // namespace zelsim
