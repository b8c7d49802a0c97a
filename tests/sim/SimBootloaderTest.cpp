#include <gtest/gtest.h>

#include <string>

#include "SimDevices.h"
#include "SimWire.h"
#include "support/FakeTickClock.h"

namespace zelsim {

namespace {
constexpr const char* kData = ":10010000214601360121470136007EFE09D2190140";
constexpr const char* kEnd = ":00000001FF";
constexpr const char* kBadSum = ":10010000214601360121470136007EFE09D2190141";

SimOptions WithBootloader(SimBootloader::Version version) {
    SimOptions options;
    options.receiver = false;
    options.bootloader = version;
    options.controller = false;
    return options;
}
}  // namespace

TEST(SimBootloader, TellsWhichRecordsAreWellFormed) {
    EXPECT_TRUE(SimBootloader::RecordValid(kData));
    EXPECT_TRUE(SimBootloader::RecordValid(kEnd));
    EXPECT_TRUE(SimBootloader::RecordValid(":00000001ff"));
    EXPECT_FALSE(SimBootloader::RecordValid(kBadSum));
    EXPECT_FALSE(SimBootloader::RecordValid(":0000001FF")) << "odd digit count";
    EXPECT_FALSE(SimBootloader::RecordValid(":01000001FF")) << "length byte says one more";
    EXPECT_FALSE(SimBootloader::RecordValid(":00000001FG"));
    EXPECT_FALSE(SimBootloader::RecordValid(":00000001FF "));
    EXPECT_FALSE(SimBootloader::RecordValid(":0001FF"));
    EXPECT_FALSE(SimBootloader::RecordValid(":"));
}

TEST(SimBootloader, AnswersThePlainVersionQuery) {
    FakeTickClock clock;
    for (auto [version, field4] : {std::pair{SimBootloader::Version::k13, "v1.3"},
                                   std::pair{SimBootloader::Version::k12, "v1.2"}}) {
        SimDevices devices(clock, WithBootloader(version));
        // As a script sends it: no checksum.
        const std::string wire = devices.Receive(std::string("$PKVTQ,DID\r\n"));
        ExpectAllSentences(wire);
        const auto replies = Matching(wire, {"PKVTR", "DID"});
        ASSERT_EQ(replies.size(), 1u);
        ASSERT_GE(replies[0].fields.size(), 5u);
        EXPECT_EQ(replies[0].fields[4], field4);
    }
}

TEST(SimBootloader, AcknowledgesEachRecordAfterItIsWritten) {
    FakeTickClock clock;
    SimDevices devices(clock, WithBootloader(SimBootloader::Version::k13));
    // Three records in one piece, as the file sender writes them.
    const std::string file = std::string(kData) + "\r\n" + kBadSum + "\r\n" + kEnd + "\r\n";
    EXPECT_EQ(devices.Receive(file), "");

    clock.Advance(SimBootloader::kProcessingMs - 1);
    EXPECT_EQ(devices.Tick(), "");
    clock.Advance(1);
    EXPECT_EQ(devices.Tick(), "[Ok]\r\n");
    clock.Advance(SimBootloader::kProcessingMs);
    EXPECT_EQ(devices.Tick(), "[Err]\r\n");
    clock.Advance(10 * SimBootloader::kProcessingMs);
    EXPECT_EQ(devices.Tick(), "[Ok]\r\n");
    EXPECT_EQ(devices.Tick(), "");

    const std::string json = devices.Report().ToJson();
    EXPECT_NE(json.find("\"hexRecords\": {\"accepted\": 2, \"rejected\": 1}"), std::string::npos)
        << json;
    EXPECT_NE(json.find("\"unknownLines\": 0"), std::string::npos) << json;
}

TEST(SimBootloader, LosesRecordsBeyondItsBufferAndSaysSo) {
    FakeTickClock clock;
    SimDevices devices(clock, WithBootloader(SimBootloader::Version::k12));
    std::string flood;
    for (size_t i = 0; i < SimBootloader::kPendingLimit + 10; ++i)
        flood += std::string(kEnd) + "\n";
    devices.Receive(flood);
    EXPECT_EQ(devices.Bootloader()->Accepted(), SimBootloader::kPendingLimit);
    EXPECT_EQ(devices.Bootloader()->Rejected(), 10u);

    clock.Advance((SimBootloader::kPendingLimit + 1) * SimBootloader::kProcessingMs);
    const std::string acks = devices.Tick();
    size_t count = 0;
    for (size_t at = acks.find("[Ok]"); at != std::string::npos; at = acks.find("[Ok]", at + 1))
        ++count;
    EXPECT_EQ(count, SimBootloader::kPendingLimit);
}

}  // namespace zelsim
