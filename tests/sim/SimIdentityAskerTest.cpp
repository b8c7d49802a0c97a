#include <gtest/gtest.h>

#include <string>

#include "SimWire.h"

namespace zelsim {

namespace {
size_t Queries(const std::string& wire) {
    size_t count = 0;
    for (const WireLine& line : Matching(wire, {"PKVTQ"})) {
        EXPECT_EQ(line.fields, (std::vector<std::string>{"PKVTQ", "DID"})) << line.text;
        ++count;
    }
    return count;
}
}  // namespace

TEST(SimIdentityAsker, AsksOnItsPeriodOnlyWhenToldAndNeverInABurst) {
    SimBench sim({"--no-receiver", "--no-controller", "--ask-identity=2"});
    EXPECT_EQ(sim.Next(1999), "");
    EXPECT_EQ(Queries(sim.Next(1)), 1u);
    EXPECT_EQ(Queries(sim.RunFor(8000)), 4u);
    // A stalled loop asks once, and the next stays on the grid.
    EXPECT_EQ(Queries(sim.Next(5000)), 1u);
    EXPECT_EQ(sim.Next(999), "");
    EXPECT_EQ(Queries(sim.Next(1)), 1u);

    SimBench usual({"--no-receiver", "--no-controller", "--ask-identity"});
    EXPECT_EQ(Queries(usual.RunFor(20000)), 20000 / SimOptions::kDefaultAskIdentityMs);
    SimBench quiet({});
    EXPECT_EQ(Queries(quiet.RunFor(20000)), 0u) << "nobody asks unless told to";
}

// The controller and its lightbar send DID replies of their own; only the
// program's answer to the question counts as one.
TEST(SimIdentityAsker, CountsOnlyTheProgramsAnswersInTheReport) {
    SimBench sim({"--no-receiver", "--ask-identity=1"});
    sim.RunFor(3000);
    const std::string replies = sim.Send("$PKVTQ,DML,DID_REQUEST");
    ASSERT_EQ(Matching(replies, {"PKVTR", "DID"}).size(), 2u);
    for (const char* heard :
         {"$PKVTR,DID,Dormalyn SC2,3.04,HW2,0,300117", "$PKVTR,DID,Lightbar LB24,1.10,200017",
          "$PKVTR,DID,Bootloader,1.3,v1.3", "$PKVTR,DID,ZEL Simulator2,v9", "$PKVTR,DID",
          "$PKVTR,DID,ZEL Simulator,v1.0.0", "$PKVTQ,DID", "$PKVTR,DID,ZEL Simulator,v1.0.1"})
        EXPECT_EQ(sim.Send(heard), "") << "no device answers " << heard;

    const std::string json = sim.devices.Report().ToJson();
    EXPECT_NE(json.find(R"("identityQueries": {"asked": 3, "answered": 2, "version": "v1.0.1"})"),
              std::string::npos)
        << json;
    EXPECT_NE(json.find(R"("PKVTR,DID": 7)"), std::string::npos) << "every reply heard\n" << json;
}

}  // namespace zelsim
