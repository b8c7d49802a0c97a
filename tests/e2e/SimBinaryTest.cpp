#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <string>

#include "app/SimulatorProcess.h"
#include "sim/SimWire.h"

namespace zelsim {

namespace {
void SetLine(int fd, speed_t speed) {
    termios settings{};
    ASSERT_EQ(tcgetattr(fd, &settings), 0);
    cfmakeraw(&settings);
    cfsetispeed(&settings, speed);
    cfsetospeed(&settings, speed);
    ASSERT_EQ(tcsetattr(fd, TCSANOW, &settings), 0);
}

void WriteAll(int fd, const std::string& text) {
    ASSERT_EQ(write(fd, text.data(), text.size()), static_cast<ssize_t>(text.size()));
}

// Reads for up to `ms`, stopping early once `wanted` has arrived.
std::string ReadFor(int fd, int ms, const std::string& wanted) {
    std::string got;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (std::chrono::steady_clock::now() < deadline) {
        pollfd entry{fd, POLLIN, 0};
        if (poll(&entry, 1, 20) <= 0) continue;
        char chunk[4096];
        const ssize_t n = read(fd, chunk, sizeof chunk);
        if (n > 0) got.append(chunk, static_cast<size_t>(n));
        if (!wanted.empty() && got.find(wanted) != std::string::npos) break;
    }
    return got;
}

std::string FileText(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}
}  // namespace

TEST(SimBinary, AnswersOnAPseudoTerminalOnlyAtItsRateAndReportsAtExit) {
#ifndef ZELSIM_SIM_PATH
    GTEST_SKIP() << "the simulator is not built in this tree";
#else
    char folder[] = "/tmp/zelsim-sim-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string report = std::string(folder) + "/report.json";

    SimulatorProcess sim;
    ASSERT_TRUE(sim.Start(ZELSIM_SIM_PATH, {"--report", report})) << sim.ErrorText();
    const int fd = open(sim.DevicePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(fd, 0) << sim.DevicePath();

    SetLine(fd, B9600);
    WriteAll(fd, Query("$PKVTQ,RID"));
    const std::string slow = ReadFor(fd, 400, "");
    EXPECT_NE(slow.find("PLT2"), std::string::npos) << "the controller streams at any rate";
    EXPECT_EQ(slow.find("PKVTR,RID"), std::string::npos) << "the receiver is deaf at 9600";

    SetLine(fd, B38400);
    WriteAll(fd, Query("$PKVTQ,RID"));
    std::string fast = ReadFor(fd, 3000, "100042*");
    fast += ReadFor(fd, 100, "");  // the rest of the line
    const auto replies = Matching(fast.substr(0, fast.rfind("\r\n") + 2), {"PKVTR", "RID"});
    ASSERT_EQ(replies.size(), 1u) << fast;
    EXPECT_EQ(replies[0].fields[6], "100042");

    WriteAll(fd, "line noise\x01\xFF\r\n");
    ReadFor(fd, 100, "");
    close(fd);

    sim.Stop();
    EXPECT_EQ(sim.ExitStatus(), 0);
    const std::string json = FileText(report);
    EXPECT_NE(json.find("\"PKVTQ,RID\": 2"), std::string::npos) << json;
    EXPECT_NE(json.find("\"unknownLines\": 1"), std::string::npos) << json;
    std::remove(report.c_str());
    rmdir(folder);
#endif
}

TEST(SimBinary, RefusesBadDevicesAndOptionsWithStatusTwo) {
#ifndef ZELSIM_SIM_PATH
    GTEST_SKIP() << "the simulator is not built in this tree";
#else
    SimulatorProcess sim;
    EXPECT_FALSE(sim.Start(ZELSIM_SIM_PATH, {"--device", "/nonexistent/ttyX"}));
    EXPECT_EQ(sim.ExitStatus(), 2);
    EXPECT_NE(sim.ErrorText().find("cannot open /nonexistent/ttyX"), std::string::npos)
        << sim.ErrorText();

    EXPECT_FALSE(sim.Start(ZELSIM_SIM_PATH, {"--device", "/dev/null"}));
    EXPECT_EQ(sim.ExitStatus(), 2);
    EXPECT_NE(sim.ErrorText().find("not a serial device"), std::string::npos) << sim.ErrorText();

    EXPECT_FALSE(sim.Start(ZELSIM_SIM_PATH, {"--frobnicate"}));
    EXPECT_EQ(sim.ExitStatus(), 2);
    EXPECT_NE(sim.ErrorText().find("Usage: zelsim-sim"), std::string::npos) << sim.ErrorText();
#endif
}

}  // namespace zelsim
