#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "SimWire.h"

namespace zelsim {

namespace {
size_t RidReplies(const std::string& wire) {
    return Matching(wire, {"PKVTR", "RID"}).size();
}

// Bytes from the program, `atMs` after the start, at the rate the line then runs at.
struct FromProgram {
    uint32_t atMs;
    uint32_t rate;
    std::string bytes;
};
// What the devices sent, and when (ms after the start).
using Timed = std::vector<std::pair<uint32_t, std::string>>;

// The devices for `ms` as the simulator's loop runs them: what the program
// sends is taken as it comes, and otherwise they are looked at every
// millisecond, or only when QuietMs says one is due.
Timed RunLoop(const std::vector<std::string>& arguments, uint32_t start,
              const std::vector<FromProgram>& program, uint32_t ms, bool onlyWhenDue) {
    SimBench sim(arguments, start);
    Timed sent;
    uint32_t at = 0;
    const auto keep = [&](std::string bytes) {
        if (!bytes.empty()) sent.emplace_back(at, std::move(bytes));
    };
    size_t next = 0;
    while (at < ms) {
        for (; next < program.size() && program[next].atMs <= at; ++next) {
            sim.devices.SetLineRate(program[next].rate);
            keep(sim.devices.Receive(program[next].bytes));
        }
        keep(sim.devices.Tick());
        uint32_t step = 1;
        if (onlyWhenDue) {
            const std::optional<uint32_t> quiet = sim.devices.QuietMs();
            if (quiet == 0u) {
                ADD_FAILURE() << "due again at once at " << at << " ms: the loop would spin";
                break;
            }
            step = std::min(quiet.value_or(ms), ms - at);
            if (next < program.size()) step = std::min(step, program[next].atMs - at);
        }
        sim.clock.Advance(step);
        at += step;
    }
    return sent;
}

void ExpectSame(const Timed& everyMs, const Timed& whenDue) {
    ASSERT_FALSE(everyMs.empty());
    for (size_t i = 0; i < std::max(everyMs.size(), whenDue.size()); ++i) {
        if (i < everyMs.size() && i < whenDue.size() && everyMs[i] == whenDue[i]) continue;
        ADD_FAILURE() << "sending " << i << " of " << everyMs.size() << " differs; every ms: "
                      << (i < everyMs.size()
                              ? std::to_string(everyMs[i].first) + " ms " + everyMs[i].second
                              : "none")
                      << "\nonly when due: "
                      << (i < whenDue.size()
                              ? std::to_string(whenDue[i].first) + " ms " + whenDue[i].second
                              : "none");
        return;
    }
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

// The simulator sleeps until QuietMs has passed: the devices must send
// what, and when, they would if it looked at them every millisecond, and
// never ask to be looked at again at once (the loop would spin).
TEST(SimDevices, LookedAtOnlyWhenDueTheySendAsIfLookedAtEveryMillisecond) {
    constexpr uint32_t kNearTheWrap = 0xFFFFF000u;  // the clock wraps 4 s in
    constexpr uint32_t kFast = SimBootloader::kFastRate;
    const std::string reset = std::string(SimDevices::kResetLine) + "\r\n";
    const std::string record = ":10010000214601360121470136007EFE09D2190140\r\n";
    const std::string update = record + record + record + ":00000001FF\r\n";
    const struct {
        const char* what;
        std::vector<std::string> arguments;
        uint32_t start;
        std::vector<FromProgram> program;
        uint32_t ms;
    } cases[] = {
        {"every device, the panel mirrored, across the wrap",
         {"--ask-identity=700", "--noise", "3", "--seed", "5"},
         kNearTheWrap,
         // Its screen refreshes off every other device's grid.
         {{351, 38400, SimSentence("$PKVTS,LCD,ON")},
          {2500, 9600, SimSentence("$PKVTQ,RID")},    // the receiver goes deaf
          {4300, 38400, SimSentence("$PKVTQ,RID")}},  // and hears again, off its grid
         9000},
        {"a firmware update",
         {"--no-receiver"},
         1000,
         {{500, 38400, reset}, {700, 38400, "$PKVTQ,DID\r\n"}, {900, kFast, update}},
         4000},
        {"an update left half done",
         {"--no-receiver", "--ask-identity=1000"},
         1000,
         {{500, 38400, reset}, {600, 38400, record}},
         SimBootloader::kIdleMs + 2000},
        {"a bootloader with no firmware behind it",
         {"--no-receiver", "--no-controller", "--bootloader", "1.2"},
         1000,
         {{500, 38400, update}},
         SimBootloader::kIdleMs + 2000},
        {"a bootloader that hangs",
         {"--no-receiver", "--bootloader-stall-after", "2"},
         1000,
         {{500, 38400, reset}, {600, 38400, update}},
         SimBootloader::kIdleMs + 2000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ExpectSame(RunLoop(c.arguments, c.start, c.program, c.ms, false),
                   RunLoop(c.arguments, c.start, c.program, c.ms, true));
    }
}

// A program may move to the receiver's rate without a word: a deaf
// receiver is looked at on its grid, and its fix goes out on time.
TEST(SimDevices, ADeafReceiverIsLookedAtOnItsGrid) {
    SimBench sim({"--no-controller"});
    const uint32_t start = sim.clock.TickNow();
    sim.devices.SetLineRate(9600);
    for (int turn = 0; turn < 3; ++turn) {
        const std::optional<uint32_t> quiet = sim.devices.QuietMs();
        ASSERT_TRUE(quiet);
        EXPECT_GT(*quiet, 0u);
        EXPECT_LE(*quiet, SimReceiver::kFixPeriodMs);
        sim.clock.Advance(*quiet);
        EXPECT_EQ(sim.devices.Tick(), "");
    }
    // The program moves a third of a second in; the loop reads the rate when it wakes.
    sim.clock.Advance(SimReceiver::kFixPeriodMs / 3);
    sim.clock.Advance(*sim.devices.QuietMs());
    sim.devices.SetLineRate(SimReceiver::kDefaultBaud);
    EXPECT_EQ((sim.clock.TickNow() - start) % SimReceiver::kFixPeriodMs, 0u);
    EXPECT_EQ(Matching(sim.devices.Tick(), {"GPGGA"}).size(), 1u);
    EXPECT_EQ(SimBench({"--no-receiver", "--no-controller"}).devices.QuietMs(), std::nullopt)
        << "nothing to send: it waits for the program";
}

}  // namespace zelsim
