#include <gtest/gtest.h>

#include <string>

#include "SimWire.h"

namespace zelsim {

namespace {
constexpr const char* kData = ":10010000214601360121470136007EFE09D2190140";
constexpr const char* kEnd = ":00000001FF";
constexpr const char* kBadSum = ":10010000214601360121470136007EFE09D2190141";
}  // namespace

TEST(SimBootloader, TellsWhichRecordsAreWellFormed) {
    for (const char* good : {kData, kEnd, ":00000001ff"})
        EXPECT_TRUE(SimBootloader::RecordValid(good)) << good;
    // Each bad one breaks one rule only.
    for (const char* bad :
         {kBadSum, ":0000001FF" /* odd digit count */,
          ":01000001FE" /* length byte says one more */, ":00000000AA56" /* and one fewer */,
          ":00000G01FF", ":00000001FF ", ":0001FF", ":"})
        EXPECT_FALSE(SimBootloader::RecordValid(bad)) << bad;
}

TEST(SimBootloader, AcknowledgesEachRecordAfterItIsWritten) {
    SimBench sim({"--no-receiver", "--bootloader", "1.3"});
    // Three records in one piece, as the file sender writes them.
    EXPECT_EQ(sim.devices.Receive(std::string(kData) + "\r\n" + kBadSum + "\r\n" + kEnd + "\r\n"),
              "");
    EXPECT_EQ(sim.Next(SimBootloader::kProcessingMs - 1), "");
    EXPECT_EQ(sim.Next(1), "[Ok]\r\n");
    EXPECT_EQ(sim.Next(SimBootloader::kProcessingMs), "[Err]\r\n");
    // Well past the controller's record period: its bootloader streams nothing.
    EXPECT_EQ(sim.Next(10 * SimBootloader::kProcessingMs), "[Ok]\r\n");
    EXPECT_EQ(sim.Next(0), "");

    const std::string json = sim.devices.Report().ToJson();
    EXPECT_NE(json.find("\"hexRecords\": {\"accepted\": 2, \"rejected\": 1, \"received\": 3, "
                        "\"whole\": 2, \"wrongRate\": 0}"),
              std::string::npos)
        << json;
    EXPECT_NE(json.find("\"unknownLines\": 0"), std::string::npos) << json;
}

TEST(SimBootloader, LosesRecordsBeyondItsBufferAndSaysSo) {
    SimBench sim({"--no-receiver", "--bootloader", "1.2"});
    std::string flood;
    for (size_t i = 0; i < SimBootloader::kPendingLimit + 10; ++i)
        flood += std::string(kEnd) + "\n";
    sim.devices.Receive(flood);
    EXPECT_EQ(sim.devices.Bootloader()->Accepted(), SimBootloader::kPendingLimit);
    EXPECT_EQ(sim.devices.Bootloader()->Rejected(), 10u);

    std::string acks;
    for (size_t i = 0; i < SimBootloader::kPendingLimit; ++i) acks += "[Ok]\r\n";
    EXPECT_EQ(sim.Next((SimBootloader::kPendingLimit + 1) * SimBootloader::kProcessingMs), acks)
        << "the lost records go unanswered";
}

}  // namespace zelsim
