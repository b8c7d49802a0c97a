#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "SimDevices.h"
#include "SimWire.h"
#include "support/FakeTickClock.h"

namespace zelsim {

namespace {
size_t RidReplies(const std::string& wire) {
    return Matching(wire, {"PKVTR", "RID"}).size();
}

class SimDevicesTest : public ::testing::Test {
  protected:
    SimDevicesTest() : devices_(clock_, SimOptions{}) { devices_.SetLineRate(38400); }
    FakeTickClock clock_;
    SimDevices devices_;
};
}  // namespace

TEST_F(SimDevicesTest, SurvivesLineNoiseAndCountsWhatItCouldNotRead) {
    std::mt19937 random(7);
    std::string noise;
    for (int i = 0; i < 200000; ++i) noise += static_cast<char>(random() & 0xFF);
    // Fragments of real sentences make the noise nastier.
    noise += "$PKVTQ,RI$PKVTQ,RID*00\r\n$$$,,,**\n" + std::string(3000, 'x') + "\r\n";
    devices_.Receive(noise);
    const uint64_t unknown = devices_.Report().UnknownLines();
    EXPECT_GT(unknown, 100u);

    // A valid query right after is still answered.
    EXPECT_EQ(RidReplies(devices_.Receive(Query("$PKVTQ,RID"))), 1u);
    EXPECT_EQ(devices_.Report().UnknownLines(), unknown);
    EXPECT_EQ(devices_.Report().BytesReceived(), noise.size() + Query("$PKVTQ,RID").size());
}

TEST_F(SimDevicesTest, AnswersAQueryThatArrivesInPieces) {
    const std::string query = Query("$PKVTQ,RID");
    std::string wire;
    for (char c : query) wire += devices_.Receive(std::string(1, c));
    EXPECT_EQ(RidReplies(wire), 1u);
    EXPECT_EQ(devices_.Receive(std::string("$PKVTQ,R")), "") << "half a line is not a query";
    EXPECT_EQ(devices_.Report().UnknownLines(), 0u);
}

TEST_F(SimDevicesTest, AQueryWithAWrongChecksumOrAHexLineWithoutABootloaderIsNotUnderstood) {
    EXPECT_EQ(devices_.Receive(std::string("$PKVTQ,RID*00\r\n:00000001FF\r\n")), "");
    EXPECT_EQ(devices_.Report().UnknownLines(), 2u);
    EXPECT_TRUE(devices_.Report().Sentences().empty());
}

TEST_F(SimDevicesTest, ReportCountsSentencesByKindAndKeepsTheKeyMasksInOrder) {
    for (const char* body : {"$PKVTK,6", "$PKVTK,0", "$PKVTQ,RID", "$PKVTQ,DML,SET1",
                             "$PKVTQ,DML,SET1", "$GPGGA,1,2", "$PKVTK,F", "$PKVTK,X"})
        devices_.Receive(Query(body));
    devices_.Receive(std::string("not nmea\r\n"));
    SimReport& report = devices_.Report();
    EXPECT_EQ(report.Sentences().at("PKVTK"), 4u);
    EXPECT_EQ(report.Sentences().at("PKVTQ,RID"), 1u);
    EXPECT_EQ(report.Sentences().at("PKVTQ,DML,SET1"), 2u);
    EXPECT_EQ(report.Sentences().at("GPGGA"), 1u);
    EXPECT_EQ(report.KeyMasks(), (std::vector<int>{6, 0, 15}));

    const std::string json = report.ToJson();
    EXPECT_NE(json.find("\"keyMasks\": [6, 0, 15]"), std::string::npos) << json;
    EXPECT_NE(json.find("\"PKVTQ,DML,SET1\": 2"), std::string::npos) << json;
    EXPECT_NE(json.find("\"unknownLines\": 1"), std::string::npos) << json;
}

TEST_F(SimDevicesTest, ReportStaysValidJsonWhateverTheAddresses) {
    devices_.Receive(Query(std::string("$P\"K\\T\x01\xB0,X")));
    const std::string json = devices_.Report().ToJson();
    EXPECT_NE(json.find(R"("P\"K\\T\u0001\u00B0")"), std::string::npos) << json;

    // A flood of made-up addresses is lumped together past the limit.
    for (int i = 0; i < 1000; ++i) devices_.Receive(Query("$X" + std::to_string(i)));
    EXPECT_EQ(devices_.Report().Sentences().size(), SimReport::kKindLimit + 1);
    EXPECT_GT(devices_.Report().Sentences().at(SimReport::kOtherKinds), 700u);
}

TEST_F(SimDevicesTest, ReportIsWrittenWholeOrNotAtAll) {
    devices_.Receive(Query("$PKVTQ,RID"));
    char folder[] = "/tmp/zelsim-report-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string path = std::string(folder) + "/report.json";
    std::string error;
    ASSERT_TRUE(devices_.Report().WriteFile(path, error)) << error;
    std::ifstream in(path);
    std::stringstream written;
    written << in.rdbuf();
    EXPECT_EQ(written.str(), devices_.Report().ToJson());
    EXPECT_NE(access((path + ".tmp").c_str(), F_OK), 0) << "no temporary file left behind";

    EXPECT_FALSE(devices_.Report().WriteFile(std::string(folder) + "/missing/report.json", error));
    EXPECT_NE(error.find("missing/report.json"), std::string::npos) << error;
    std::remove(path.c_str());
    rmdir(folder);
}

TEST_F(SimDevicesTest, ABootloaderSilencesTheController) {
    SimOptions options;
    std::string error;
    ASSERT_TRUE(SimOptions::Parse({"--bootloader", "1.3"}, options, error));
    SimDevices devices(clock_, options);
    EXPECT_EQ(devices.Controller(), nullptr);
    clock_.Advance(1000);
    EXPECT_EQ(devices.Tick(), "");
}

}  // namespace zelsim
