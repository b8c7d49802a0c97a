#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <QTest>
#include <cerrno>

#include "app/SimulatorProcess.h"
#include "app/ZelSim.h"
#include "serial/MemorySerialDevice.h"
#include "serial/PortMap.h"
#include "support/FakeTickClock.h"
#include "support/RecordingDialogs.h"
#include "support/TempDir.h"

namespace zelsim {

namespace {
bool Alive(int pid) {
    return kill(pid, 0) == 0 || errno != ESRCH;
}
}  // namespace

TEST(SimulatorProcess, StartsTheSimulatorAndStopsItWhenItGoes) {
#ifndef ZELSIM_SIM_PATH
    GTEST_SKIP() << "the simulator is not built in this tree";
#else
    int pid = -1;
    {
        SimulatorProcess sim;
        ASSERT_TRUE(sim.Start(ZELSIM_SIM_PATH, {})) << sim.ErrorText();
        pid = sim.Pid();
        EXPECT_TRUE(sim.IsRunning());
        EXPECT_EQ(access(sim.DevicePath().c_str(), R_OK | W_OK), 0) << sim.DevicePath();
    }
    EXPECT_FALSE(Alive(pid));
#endif
}

TEST(SimulatorProcess, SaysWhyItCouldNotStart) {
    SimulatorProcess sim;
    EXPECT_FALSE(sim.Start("/nonexistent/zelsim-sim", {}));
    EXPECT_NE(sim.ErrorText().find("/nonexistent/zelsim-sim"), std::string::npos);
    EXPECT_NE(sim.ErrorText().find("No such file"), std::string::npos) << sim.ErrorText();
    EXPECT_FALSE(sim.IsRunning());
}

TEST(SimulatorProcess, GivesUpOnASilentProgramAndEndsIt) {
    SimulatorProcess sim;
    EXPECT_FALSE(sim.Start("/bin/sleep", {"30"}, 200));
    EXPECT_NE(sim.ErrorText().find("within 200 ms"), std::string::npos) << sim.ErrorText();
    EXPECT_FALSE(sim.IsRunning());
    EXPECT_EQ(sim.ExitStatus(), 128 + SIGTERM);
}

TEST(SimulatorProcess, KillsAProgramThatIgnoresTheRequestToStop) {
    SimulatorProcess sim;
    ASSERT_TRUE(sim.Start("/bin/sh", {"-c", "trap '' TERM; echo /dev/null; exec sleep 30"}))
        << sim.ErrorText();
    EXPECT_EQ(sim.DevicePath(), "/dev/null");
    sim.Stop(100);
    EXPECT_EQ(sim.ExitStatus(), 128 + SIGKILL);
    EXPECT_FALSE(sim.IsRunning());
}

TEST(SimulatorProcess, StopsTheSimulatorCleanlyEvenWhenTheProgramBlocksSigterm) {
#ifndef ZELSIM_SIM_PATH
    GTEST_SKIP() << "the simulator is not built in this tree";
#else
    sigset_t blocked;
    sigset_t previous;
    sigemptyset(&blocked);
    sigaddset(&blocked, SIGTERM);
    ASSERT_EQ(pthread_sigmask(SIG_BLOCK, &blocked, &previous), 0);
    SimulatorProcess sim;
    const bool started = sim.Start(ZELSIM_SIM_PATH, {});
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    ASSERT_TRUE(started) << sim.ErrorText();
    sim.Stop();
    EXPECT_EQ(sim.ExitStatus(), 0) << "ended by SIGTERM, not killed";
#endif
}

// About says where the demo's devices are while they run, and looks again
// each time: a simulator that has ended is not reported as running.
TEST(SimulatorProcess, AboutSaysWhereTheDemoRunsAndWhenItHasEnded) {
    FakeTickClock clock;
    PortMap ports;
    TempDir dir;
    ConfigFile config(dir.File("ZelSim.ini"));
    RecordingDialogs dialogs;
    ZelSim zelSim(clock, MemorySerialDevice::Plug(std::make_shared<MemorySerialDevice>()), ports,
                  config, dialogs);
    AboutZelSim& about = zelSim.About();

    SimulatorProcess sim;
    about.SetDemo(sim, 1);
    ASSERT_TRUE(sim.Start("/bin/sh", {"-c", "echo /dev/pts/77; exec sleep 30"})) << sim.ErrorText();
    EXPECT_EQ(about.DemoSimulator(),
              "process " + std::to_string(sim.Pid()) + " on /dev/pts/77 (COM1)");
    EXPECT_NE(about.Text().find("\nDemo simulator: process "), std::string::npos) << about.Text();
    sim.Stop();
    EXPECT_EQ(about.DemoSimulator(), "not running (ended with status 143)");

    ASSERT_TRUE(sim.Start("/bin/sh", {"-c", "echo /dev/pts/78; exit 3"})) << sim.ErrorText();
    EXPECT_TRUE(QTest::qWaitFor([&] {
        return about.DemoSimulator() == "not running (ended with status 3)";
    })) << about.DemoSimulator();

    EXPECT_FALSE(sim.Start("/nonexistent/zelsim-sim", {}));
    EXPECT_EQ(about.DemoSimulator().rfind("not running: The simulator /nonexistent/zelsim-sim", 0),
              0u)
        << about.DemoSimulator();
}

}  // namespace zelsim
