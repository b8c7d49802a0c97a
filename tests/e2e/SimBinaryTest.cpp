#include <fcntl.h>
#include <gtest/gtest.h>
#include <termios.h>
#include <unistd.h>

#include <QTest>
#include <string>

#include "app/SimulatorProcess.h"
#include "sim/SimWire.h"
#include "support/FarEnd.h"
#include "support/TempDir.h"

namespace zelsim {

namespace {
void SetLine(int fd, speed_t speed) {
    termios settings{};
    ASSERT_EQ(tcgetattr(fd, &settings), 0);
    cfmakeraw(&settings);
    cfsetspeed(&settings, speed);
    ASSERT_EQ(tcsetattr(fd, TCSANOW, &settings), 0);
}

// Writes `text`, then reads until a line holding `wanted` has ended; returns
// the whole sentences read.
std::string Exchange(int fd, const std::string& text, const std::string& wanted) {
    EXPECT_EQ(write(fd, text.data(), text.size()), static_cast<ssize_t>(text.size()));
    const std::string got = ReadThroughLine(fd, wanted);
    EXPECT_NE(got.find(wanted), std::string::npos) << "no " << wanted << " in\n" << got;
    const size_t first = got.find('$');  // past the tail of a sentence dropped as stale
    const size_t end = got.rfind("\r\n");
    return first < end ? got.substr(first, end + 2 - first) : std::string();
}

int Occurrences(const std::string& text, const std::string& part) {
    int count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

// How often the process has gone to sleep and been woken.
long Sleeps(int pid) {
    const std::string status = TempDir::Read("/proc/" + std::to_string(pid) + "/status");
    const std::string key = "voluntary_ctxt_switches:";
    const size_t at = status.find(key);
    return at == std::string::npos ? -1 : std::stol(status.substr(at + key.size()));
}
}  // namespace

TEST(SimBinary, AnswersOnAPseudoTerminalOnlyAtItsRateAndReportsAtExit) {
    TempDir folder;
    SimulatorProcess sim;
    ASSERT_TRUE(sim.Start(ZELSIM_SIM_PATH, {"--report", folder.File("report.json")}))
        << sim.ErrorText();
    const int fd = open(sim.DevicePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(fd, 0) << sim.DevicePath();

    // The controller's answer goes out after any the receiver would give.
    SetLine(fd, B9600);
    const std::string slow =
        Exchange(fd, SimSentence("$PKVTQ,RID") + SimSentence("$PKVTQ,DML,SET1"), "SET12");
    EXPECT_TRUE(Matching(slow, {"PKVTR", "RID"}).empty()) << "the receiver is deaf at 9600";

    SetLine(fd, B38400);
    const std::string fast = Exchange(fd, SimSentence("$PKVTQ,RID"), "100042*");
    EXPECT_EQ(FieldOf(fast, {"PKVTR", "RID"}, 6), "100042");

    Exchange(fd, "line noise\x01\xFF\r\n" + SimSentence("$PKVTQ,DML,SET2"), "SET22");
    close(fd);
    sim.Stop();
    EXPECT_EQ(sim.ExitStatus(), 0);
    const std::string json = TempDir::Read(folder.File("report.json"));
    EXPECT_NE(json.find("\"PKVTQ,RID\": 2"), std::string::npos) << json;
    EXPECT_NE(json.find("\"unknownLines\": 1"), std::string::npos) << json;
}

// Users keep the demo running all day: between what its devices send, the
// simulator sleeps, instead of waking every few milliseconds to look.
TEST(SimBinary, SleepsUntilItsDevicesHaveSomethingToSend) {
    constexpr int kRecords = 20;  // the controller's, ten a second
    // The controller's records, its lightbar's reports (on the same
    // ticks but not always), the receiver's fix and a margin.
    constexpr long kMostSleepsPerRecord = 4;
    SimulatorProcess sim;
    ASSERT_TRUE(sim.Start(ZELSIM_SIM_PATH, {})) << sim.ErrorText();
    const int fd = open(sim.DevicePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(fd, 0) << sim.DevicePath();
    SetLine(fd, B38400);
    ReadThroughLine(fd, "PLT2");

    const long before = Sleeps(sim.Pid());
    std::string got;
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            char chunk[4096];
            const ssize_t n = read(fd, chunk, sizeof chunk);
            if (n > 0) got.append(chunk, static_cast<size_t>(n));
            return Occurrences(got, "$PKVTR,DML,PLT2,") >= kRecords;
        },
        kFarEndDeadlineMs));
    const long sleeps = Sleeps(sim.Pid()) - before;
    EXPECT_GE(before, 0);
    EXPECT_LE(sleeps, kMostSleepsPerRecord * kRecords);
    EXPECT_GE(Occurrences(got, "$GPGGA,"), 1) << "the receiver streams too";
    close(fd);

    // With nothing to send it waits for the program without end, and still stops when asked.
    TempDir folder;
    SimulatorProcess idle;
    ASSERT_TRUE(idle.Start(ZELSIM_SIM_PATH, {"--no-receiver", "--no-controller", "--report",
                                             folder.File("report.json")}))
        << idle.ErrorText();
    idle.Stop();
    EXPECT_EQ(idle.ExitStatus(), 0) << "ended by SIGTERM, not killed";
    EXPECT_FALSE(TempDir::Read(folder.File("report.json")).empty());
}

TEST(SimBinary, RefusesBadDevicesAndOptionsWithStatusTwo) {
    const std::pair<std::vector<std::string>, const char*> cases[] = {
        {{"--device", "/nonexistent/ttyX"}, "cannot open /nonexistent/ttyX"},
        {{"--device", "/dev/null"}, "not a serial device"},
        {{"--frobnicate"}, "Usage: zelsim-sim"},
    };
    for (const auto& [arguments, message] : cases) {
        SimulatorProcess sim;
        EXPECT_FALSE(sim.Start(ZELSIM_SIM_PATH, arguments));
        EXPECT_EQ(sim.ExitStatus(), 2) << arguments[0];
        EXPECT_NE(sim.ErrorText().find(message), std::string::npos) << sim.ErrorText();
    }
}

// An adapter pulled out hangs the device up: the simulator says it lost the
// line and ends, instead of reading nothing again and again at full speed.
TEST(SimBinary, EndsWhenItsDeviceHangsUp) {
    FarEnd far;
    ASSERT_TRUE(far.IsOpen()) << "openpty failed";
    SimulatorProcess sim;
    ASSERT_TRUE(
        sim.Start(ZELSIM_SIM_PATH, {"--device", far.Path(), "--no-receiver", "--no-controller"}))
        << sim.ErrorText();
    far.Close();

    const std::string stat = "/proc/" + std::to_string(sim.Pid()) + "/stat";
    // A zombie: it exited.
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return TempDir::Read(stat).find(") Z ") != std::string::npos; }, kFarEndDeadlineMs))
        << "still running after its device hung up";
    sim.Stop();
    EXPECT_EQ(sim.ExitStatus(), 1) << "the line failed";
}

}  // namespace zelsim
