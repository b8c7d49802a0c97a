#include <gtest/gtest.h>

#include <random>
#include <string>

#include "SimWire.h"

namespace zelsim {

namespace {
size_t RidReplies(const std::string& wire) {
    return Matching(wire, {"PKVTR", "RID"}).size();
}
}  // namespace

TEST(SimDevices, SurvivesLineNoiseAndCountsWhatItCouldNotRead) {
    SimBench sim({});
    std::mt19937 random(7);
    std::string noise;
    for (int i = 0; i < 200000; ++i) noise += static_cast<char>(random() & 0xFF);
    // Fragments of real sentences make the noise nastier.
    noise += "$PKVTQ,RI$PKVTQ,RID*00\r\n$$$,,,**\n" + std::string(3000, 'x') + "\r\n";
    sim.devices.Receive(noise);
    const uint64_t unknown = sim.devices.Report().UnknownLines();
    EXPECT_GT(unknown, 100u);

    // A valid query right after is still answered.
    EXPECT_EQ(RidReplies(sim.Send("$PKVTQ,RID")), 1u);
    EXPECT_EQ(sim.devices.Report().UnknownLines(), unknown);
    EXPECT_EQ(sim.devices.Report().BytesReceived(),
              noise.size() + SimSentence("$PKVTQ,RID").size());

    // A wrong checksum, and a hex record with no bootloader to take it.
    EXPECT_EQ(sim.devices.Receive(std::string("$PKVTQ,RID*00\r\n:00000001FF\r\n")), "");
    EXPECT_EQ(sim.devices.Report().UnknownLines(), unknown + 2);
    std::string wire;
    for (char c : SimSentence("$PKVTQ,RID")) wire += sim.devices.Receive(std::string(1, c));
    EXPECT_EQ(RidReplies(wire), 1u) << "a query that arrives in pieces";
    EXPECT_EQ(sim.devices.Receive(std::string("$PKVTQ,R")), "") << "half a line is not a query";
}

TEST(SimDevices, ReportCountsSentencesByKindAndStaysValidJson) {
    SimBench sim({});
    for (const char* body :
         {"$PKVTK,6", "$PKVTK,0", "$PKVTQ,RID", "$PKVTQ,DML,SET1", "$PKVTQ,DML,SET1", "$GPGGA,1,2",
          "$PKVTK,F", "$PKVTK,X", "$P\"K\\T\x01\xB0,X"})
        sim.Send(body);
    sim.devices.Receive(std::string("not nmea\r\n"));
    const std::string json = sim.devices.Report().ToJson();
    for (const char* part :
         {"\"PKVTK\": 4", "\"PKVTQ,RID\": 1", "\"PKVTQ,DML,SET1\": 2", "\"GPGGA\": 1",
          R"("P\"K\\T\u0001\u00B0": 1)", "\"keyMasks\": [6, 0, 15]", "\"unknownLines\": 1"})
        EXPECT_NE(json.find(part), std::string::npos) << part << " in\n" << json;

    // A flood of made-up addresses is lumped together past the limit.
    for (int i = 0; i < 1000; ++i) sim.Send("$X" + std::to_string(i));
    EXPECT_EQ(sim.devices.Report().Sentences().size(), SimReport::kKindLimit + 1);
    EXPECT_GT(sim.devices.Report().Sentences().at(SimReport::kOtherKinds), 700u);
}

}  // namespace zelsim
