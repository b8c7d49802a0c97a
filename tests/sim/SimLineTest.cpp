#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <memory>
#include <string>

#include "SimLine.h"

namespace zelsim {

// The program's rate is the program's to set on a pseudo-terminal; on a
// real device the simulator's end must move to where its bootloader listens.
TEST(SimLine, OnlyADeviceEndTakesTheRateItIsGiven) {
    std::string error;
    const std::unique_ptr<SimLine> pseudo = SimLine::OpenPseudoTerminal(error);
    ASSERT_TRUE(pseudo) << error;
    EXPECT_TRUE(pseudo->IsPseudoTerminal());
    EXPECT_EQ(pseudo->Rate(), SimLine::kInitialRate);
    EXPECT_FALSE(pseudo->SetRate(115200));
    EXPECT_EQ(pseudo->Rate(), SimLine::kInitialRate);

    // The far end opened as a device stands in for a serial adapter.
    const std::unique_ptr<SimLine> device = SimLine::OpenDevice(pseudo->DevicePath(), 9600, error);
    ASSERT_TRUE(device) << error;
    EXPECT_FALSE(device->IsPseudoTerminal());
    EXPECT_EQ(device->Rate(), 9600u);
    EXPECT_TRUE(device->SetRate(115200));
    EXPECT_EQ(device->Rate(), 115200u);
    EXPECT_EQ(pseudo->Rate(), 115200u) << "the other end sees it";
    EXPECT_FALSE(device->SetRate(12345));
    EXPECT_EQ(device->Rate(), 115200u);
    EXPECT_TRUE(device->SetRate(921600));
    EXPECT_EQ(pseudo->Rate(), 921600u) << "a fast rate reads back as itself";
}

// The simulator sleeps until a device is due, which may be long: a stop
// signal that came just before the wait, while blocked, must still end it.
TEST(SimLine, ASignalPendingBeforeTheWaitEndsIt) {
    constexpr int kLongWaitMs = 20000;
    std::string error;
    const std::unique_ptr<SimLine> line = SimLine::OpenPseudoTerminal(error);
    ASSERT_TRUE(line) << error;
    struct sigaction action {};
    action.sa_handler = [](int) {};
    struct sigaction previousAction {};
    ASSERT_EQ(sigaction(SIGUSR1, &action, &previousAction), 0);
    sigset_t usr1;
    sigemptyset(&usr1);
    sigaddset(&usr1, SIGUSR1);
    sigset_t previousMask;
    ASSERT_EQ(pthread_sigmask(SIG_BLOCK, &usr1, &previousMask), 0);
    sigset_t waiting = previousMask;
    sigdelset(&waiting, SIGUSR1);

    raise(SIGUSR1);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(line->WaitReadable(kLongWaitMs, waiting));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(kLongWaitMs / 2));

    pthread_sigmask(SIG_SETMASK, &previousMask, nullptr);
    sigaction(SIGUSR1, &previousAction, nullptr);
}

}  // namespace zelsim
