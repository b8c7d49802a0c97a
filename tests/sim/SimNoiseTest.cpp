#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "SimWire.h"

namespace zelsim {

namespace {
// The sentences a reader's framer takes from `wire`, rebuilt without checksums.
std::vector<std::string> Framed(const std::string& wire) {
    SentenceFramer framer;
    std::vector<std::string> sentences;
    char text[SentenceFramer::kBufferSize + 1];
    for (char c : wire)
        if (framer.Feed(static_cast<uint8_t>(c), 0) == SentenceFramer::kSentenceReady) {
            size_t length = 0;
            framer.CopyOut(text, length);
            sentences.emplace_back(text, length);
        }
    return sentences;
}

bool IsSubsequence(const std::vector<std::string>& part, const std::vector<std::string>& whole) {
    auto at = whole.begin();
    for (const std::string& wanted : part) {
        at = std::find(at, whole.end(), wanted);
        if (at == whole.end()) return false;
        ++at;
    }
    return true;
}

uint64_t Injected(SimDevices& devices) {
    const auto& counts = devices.Noise()->Counts();
    uint64_t all = 0;
    for (uint64_t count : counts) all += count;
    return all;
}
}  // namespace

// Whatever state a garbled line leaves a reader's framer in, the sentence
// after it is read whole: the end-to-end cases rely on it.
TEST(SimNoise, EachKindLeavesTheNextSentenceWhole) {
    FakeTickClock clock;
    SimNoise noise(clock, 10, 1234);
    const std::vector<std::string> real = {SimController::LiveRecord(5000),
                                           SimSentence("$PKVTS,TXT,0,Sats 08 DGPS D "), "[Ok]\r\n"};
    const std::string next = SimSentence("$PKVTQ,DML,SET1");
    SentenceFramer reader;
    for (int kind = 0; kind < SimNoise::kKindCount; ++kind) {
        for (int draw = 0; draw < 500; ++draw) {
            const std::string line = noise.Make(static_cast<SimNoise::Kind>(kind), real);
            ASSERT_GE(line.size(), 3u);
            ASSERT_EQ(line.substr(line.size() - 2), "\r\n");
            // One reader through all of them, as on a line.
            for (char c : line) reader.Feed(static_cast<uint8_t>(c), 0);
            std::vector<std::string> after;
            for (char c : next)
                if (reader.Feed(static_cast<uint8_t>(c), 0) == SentenceFramer::kSentenceReady)
                    after.push_back(std::string(reader.Field(0)) + "," +
                                    std::string(reader.Field(1)) + "," +
                                    std::string(reader.Field(2)));
            EXPECT_EQ(after, std::vector<std::string>{"PKVTQ,DML,SET1"}) << kind << ": " << line;
        }
    }
}

// The same traffic with and without noise: every real sentence comes through,
// in order, and the noise keeps to its rate whatever the seed.
TEST(SimNoise, NeverBreaksARealSentenceAndKeepsItsRate) {
    const std::vector<std::string> devices = {"--ask-identity=1", "--old-records"};
    SimBench clean(devices);
    const std::string cleanWire = clean.RunFor(20000);
    std::vector<std::string> arguments = devices;
    for (const char* more : {"--noise", "20", "--seed", "99"}) arguments.push_back(more);
    SimBench noisy(arguments);
    const std::string noisyWire = noisy.RunFor(20000);

    const std::vector<std::string> sentences = Framed(cleanWire);
    EXPECT_EQ(sentences.size(), ParseWire(cleanWire).size());
    EXPECT_TRUE(IsSubsequence(sentences, Framed(noisyWire)));

    const auto& counts = noisy.devices.Noise()->Counts();
    for (int kind = 0; kind < SimNoise::kKindCount; ++kind)
        EXPECT_GT(counts[kind], 0u) << SimNoise::kKindNames[kind];
    // Gaps of half to one and a half times the mean: 25 to 75 ms at 20 a second.
    EXPECT_GE(Injected(noisy.devices), 20000u / 75);
    EXPECT_LE(Injected(noisy.devices), 20000u / 25);

    const std::string json = noisy.devices.Report().ToJson();
    EXPECT_NE(json.find("\"noise\": {\"seed\": 99, \"randomBytes\": " +
                        std::to_string(counts[SimNoise::kRandomBytes]) + ", "),
              std::string::npos)
        << json;
    EXPECT_NE(
        clean.devices.Report().ToJson().find("\"noise\": {\"seed\": null, \"randomBytes\": 0"),
        std::string::npos);
}

TEST(SimNoise, IsTheSameForTheSameSeedAndNeverComesInABurst) {
    const auto run = [](const char* seed) {
        SimBench sim({"--no-receiver", "--noise=50", "--seed", seed});
        return sim.RunFor(5000);
    };
    EXPECT_EQ(run("7"), run("7"));
    EXPECT_NE(run("7"), run("8"));

    SimBench sim({"--no-receiver", "--no-controller", "--noise", "100", "--seed", "3"});
    sim.Next(60000);
    EXPECT_LE(Injected(sim.devices), static_cast<uint64_t>(SimNoise::kMostPerTick))
        << "a stalled loop does not catch up a minute of noise";
    const uint64_t afterStall = Injected(sim.devices);
    sim.RunFor(1000);
    EXPECT_GE(Injected(sim.devices) - afterStall, 1000u / 15);
}

}  // namespace zelsim
