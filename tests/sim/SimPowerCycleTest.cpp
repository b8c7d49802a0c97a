#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "SimFirmware.h"
#include "SimWire.h"

namespace zelsim {

namespace {
constexpr const char* kReset = "RESET\r\n";
constexpr const char* kAskVersion = "$PKVTQ,DID\r\n";  // plain, as a script sends it
constexpr const char* kRecord = ":10010000214601360121470136007EFE09D2190140\r\n";
constexpr const char* kEnd = ":00000001FF\r\n";
constexpr const char* kOk = "[Ok]\r\n";

std::string Repeated(const std::string& text, size_t times) {
    std::string all;
    for (size_t i = 0; i < times; ++i) all += text;
    return all;
}

size_t LiveRecords(const std::string& wire) {
    return Matching(wire, {"PKVTR", "DML", "PLT2"}).size();
}

bool Holds(const std::string& json, const std::string& part) {
    return json.find(part) != std::string::npos;
}
}  // namespace

TEST(SimPowerCycle, ResetSendsTheControllerIntoItsBootloaderUntilItsFirmwareIsWritten) {
    SimBench sim({"--no-receiver"});
    ASSERT_EQ(LiveRecords(sim.RunFor(1000)), 10u);
    EXPECT_EQ(sim.devices.WantedRate(), 0u);

    EXPECT_EQ(sim.devices.Receive(std::string(kReset)), "");
    EXPECT_TRUE(sim.devices.InBootloader());
    EXPECT_EQ(sim.RunFor(2000), "") << "neither the controller nor its lightbar streams";
    for (const char* query : {"$PKVTQ,DML,SET1", "$PKVTQ,DML,SET2", "$PKVTQ,DML,DID_REQUEST"})
        EXPECT_EQ(sim.Send(query), "") << query;

    EXPECT_EQ(FieldOf(sim.devices.Receive(std::string(kAskVersion)), {"PKVTR", "DID"}, 4), "v1.3");
    sim.devices.SetLineRate(SimBootloader::kFastRate);  // the program follows it
    EXPECT_EQ(sim.devices.Receive(std::string(kRecord) + kEnd), "");
    EXPECT_EQ(sim.Next(2 * SimBootloader::kProcessingMs), Repeated(kOk, 2));

    EXPECT_EQ(sim.Next(SimBootloader::kRestartMs), "");
    EXPECT_TRUE(sim.devices.InBootloader()) << "it restarts a moment after the last record";
    sim.Next(1);
    EXPECT_FALSE(sim.devices.InBootloader());
    EXPECT_EQ(sim.devices.WantedRate(), 0u);
    const std::string wire = sim.RunFor(1000);
    EXPECT_NEAR(static_cast<double>(LiveRecords(wire)), 10, 1) << wire;
    EXPECT_FALSE(Matching(wire, {"PKVTS", "LBX"}).empty()) << "the lightbar is back too";
    EXPECT_EQ(Matching(sim.Send("$PKVTQ,DML,SET1"), {"PKVTR", "DML", "SET12"}).size(), 1u);

    // The firmware has nothing to say to the bootloader's question or its records.
    EXPECT_EQ(sim.devices.Receive(std::string(kAskVersion) + kRecord), "");
    const std::string json = sim.devices.Report().ToJson();
    EXPECT_TRUE(Holds(json, "\"bootloader\": {\"resets\": 1, \"restarts\": 1}")) << json;
    EXPECT_TRUE(Holds(json, "\"unknownLines\": 1")) << json;
}

// The program asks at the controller's rate and then moves where the
// version tells it; a bootloader is deaf anywhere else.
TEST(SimPowerCycle, TheBootloaderHearsOnlyAtItsRate) {
    const struct {
        const char* version;
        uint32_t loads;  // the rate it takes records at once asked
        uint32_t other;
    } cases[] = {{"1.3", 115200, 38400}, {"1.2", 38400, 115200}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.version);
        SimBench sim({"--no-receiver", "--bootloader-version", c.version});
        sim.devices.SetLineRate(115200);
        sim.devices.Receive(std::string(kReset));
        EXPECT_EQ(sim.devices.WantedRate(), 38400u);
        EXPECT_EQ(sim.devices.Receive(std::string(kAskVersion)), "")
            << "it comes up at the controller's rate";

        sim.devices.SetLineRate(38400);
        EXPECT_EQ(FieldOf(sim.devices.Receive(std::string(kAskVersion)), {"PKVTR", "DID"}, 4),
                  std::string("v") + c.version);
        EXPECT_EQ(sim.devices.WantedRate(), c.loads);

        sim.devices.SetLineRate(c.other);
        EXPECT_EQ(sim.devices.Receive(Repeated(kRecord, 3)), "");
        EXPECT_EQ(sim.Next(10 * SimBootloader::kProcessingMs), "")
            << "records at the wrong rate are not understood";
        sim.devices.SetLineRate(c.loads);
        sim.devices.Receive(std::string(kRecord));
        EXPECT_EQ(sim.Next(SimBootloader::kProcessingMs), kOk);

        const std::string json = sim.devices.Report().ToJson();
        EXPECT_TRUE(Holds(json,
                          "\"hexRecords\": {\"accepted\": 1, \"rejected\": 0, \"received\": 4, "
                          "\"whole\": 1, \"wrongRate\": 3}"))
            << json;
    }
}

TEST(SimPowerCycle, StartsTheFirmwareAgainWhenTheProgramGoesQuiet) {
    SimBench sim({"--no-receiver"});
    sim.devices.Receive(std::string(kReset));
    sim.Next(SimBootloader::kIdleMs - 1000);
    sim.devices.Receive(std::string(kAskVersion));  // a 1.3 moves to 115200 now
    sim.Next(SimBootloader::kIdleMs - 1000);
    sim.devices.Receive(std::string(kRecord));  // still at 38400: noise to it
    EXPECT_EQ(sim.Next(1000), "");
    EXPECT_TRUE(sim.devices.InBootloader()) << "the question counted, the noise did not";
    sim.Next(1);
    EXPECT_FALSE(sim.devices.InBootloader());

    // An update cut short: the wait runs from the last answer.
    sim.devices.Receive(std::string(kReset));
    sim.devices.Receive(Repeated(kRecord, 2));
    EXPECT_EQ(sim.Next(2 * SimBootloader::kProcessingMs), Repeated(kOk, 2));
    sim.Next(SimBootloader::kIdleMs);
    EXPECT_TRUE(sim.devices.InBootloader());
    sim.Next(1);
    EXPECT_FALSE(sim.devices.InBootloader());

    // A reset in the bootloader starts it afresh, at the controller's rate.
    sim.devices.Receive(std::string(kReset));
    sim.devices.Receive(std::string(kAskVersion));
    EXPECT_EQ(sim.devices.WantedRate(), SimBootloader::kFastRate);
    sim.devices.Receive(std::string(kReset));
    EXPECT_EQ(sim.devices.WantedRate(), SimBootloader::kBootRate);
    EXPECT_TRUE(
        Holds(sim.devices.Report().ToJson(), "\"bootloader\": {\"resets\": 4, \"restarts\": 2}"));
}

// Started in the bootloader there is no firmware to go back to; a reset
// only starts the bootloader again.
TEST(SimPowerCycle, ABootloaderWithoutAControllerStaysOne) {
    SimBench sim({"--no-receiver", "--bootloader", "1.2", "--bootloader-version", "1.3"});
    sim.devices.Receive(std::string(kRecord) + kEnd);
    sim.Next(SimBootloader::kIdleMs * 2);
    EXPECT_TRUE(sim.devices.InBootloader());
    sim.devices.Receive(std::string(kReset));
    EXPECT_EQ(FieldOf(sim.devices.Receive(std::string(kAskVersion)), {"PKVTR", "DID"}, 4), "v1.2");
    EXPECT_EQ(sim.RunFor(SimBootloader::kIdleMs * 2), "");
    EXPECT_EQ(sim.devices.Bootloader()->Accepted(), 0u) << "a fresh one";

    SimBench nothing({"--no-receiver", "--no-controller"});
    nothing.devices.Receive(std::string(kReset));
    EXPECT_FALSE(nothing.devices.InBootloader());
    EXPECT_EQ(nothing.devices.Report().UnknownLines(), 1u);
}

}  // namespace zelsim
