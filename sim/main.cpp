// zelsim-sim: the simulated devices at the far end of a ZelSim line.
#include <sys/prctl.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "SimDevices.h"
#include "SimFirmware.h"
#include "SimLine.h"
#include "SimOptions.h"
#include "base/SteadyTickClock.h"

namespace zelsim {
namespace {
constexpr int kExitStopped = 0;
constexpr int kExitLineFailed = 1;
constexpr int kExitUsage = 2;

// Answers the line would not take are tried again this soon: on a
// pseudo-terminal each try drops what its reader left standing.
constexpr int kRetryWriteMs = 5;
constexpr int kWaitWithoutEnd = -1;
constexpr size_t kReadChunk = 4096;
// Answers nobody takes off the line are not kept for ever.
constexpr size_t kOutgoingLimit = 64 * 1024;

volatile std::sig_atomic_t stopRequested = 0;

void RequestStop(int) {
    stopRequested = 1;
}

// Returns the signal mask to wait with. The loop sleeps until a device is
// due, which may be long: the stop signals are blocked but while waiting, so
// one that comes between the check and the wait still cuts it short.
sigset_t InstallSignals() {
    struct sigaction action {};
    action.sa_handler = RequestStop;
    sigemptyset(&action.sa_mask);
    // No SA_RESTART: the signal must cut the wait short.
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
    sigset_t stops;
    sigemptyset(&stops);
    sigaddset(&stops, SIGINT);
    sigaddset(&stops, SIGTERM);
    sigset_t waiting;
    sigprocmask(SIG_BLOCK, &stops, &waiting);
    sigdelset(&waiting, SIGINT);
    sigdelset(&waiting, SIGTERM);
    return waiting;
}

// Until the first device is due, or sooner while answers wait for room.
int WaitMs(const SimDevices& devices, bool answersWaiting) {
    const std::optional<uint32_t> quiet = devices.QuietMs();
    // QuietMs stays below 2^31: it is a difference of the wrapping clock.
    int wait = quiet ? static_cast<int>(*quiet) : kWaitWithoutEnd;
    if (answersWaiting && (wait == kWaitWithoutEnd || wait > kRetryWriteMs)) wait = kRetryWriteMs;
    return wait;
}

// A pseudo-terminal carries bytes whatever rate either end names, and the
// devices judge by the rate the program set. A real device garbles them
// instead, so its end is moved to where a bootloader listens, and back.
void FollowRate(SimLine& line, const SimDevices& devices, uint32_t normalRate) {
    if (line.IsPseudoTerminal()) return;
    const uint32_t wanted = devices.WantedRate() != 0 ? devices.WantedRate() : normalRate;
    if (line.Rate() != wanted) line.SetRate(wanted);
}

int Finish(SimDevices& devices, const SimOptions& options, int status) {
    std::string error;
    if (!options.reportPath.empty() && !devices.Report().WriteFile(options.reportPath, error)) {
        std::fprintf(stderr, "zelsim-sim: %s\n", error.c_str());
        return kExitLineFailed;
    }
    return status;
}
}  // namespace

int RunSimulator(int argc, char** argv) {
    SimOptions options;
    std::string error;
    if (!SimOptions::Parse(std::vector<std::string>(argv + 1, argv + argc), options, error)) {
        std::fprintf(stderr, "zelsim-sim: %s\n%s", error.c_str(), SimOptions::Usage());
        return kExitUsage;
    }
    if (options.help) {
        std::fputs(SimOptions::Usage(), stdout);
        return kExitStopped;
    }
    if (!options.firmwarePath.empty()) {
        if (SimFirmware::WriteFile(options.firmwarePath, error)) return kExitStopped;
        std::fprintf(stderr, "zelsim-sim: %s\n", error.c_str());
        return kExitLineFailed;
    }

    const sigset_t waitSignals = InstallSignals();
    if (options.parentPid != 0) {
        // A program killed outright cannot stop its simulator; the kernel
        // does it instead. A program already gone by now has another parent.
        if (prctl(PR_SET_PDEATHSIG, SIGTERM) != 0 || getppid() != options.parentPid)
            return kExitStopped;
    }
    std::unique_ptr<SimLine> line =
        options.devicePath.empty()
            ? SimLine::OpenPseudoTerminal(error)
            : SimLine::OpenDevice(options.devicePath, options.receiverBaud, error);
    if (!line) {
        std::fprintf(stderr, "zelsim-sim: %s\n", error.c_str());
        return kExitUsage;
    }
    std::printf("%s\n", line->DevicePath().c_str());
    std::fflush(stdout);

    SteadyTickClock clock;
    SimDevices devices(clock, options);
    std::string outgoing;
    uint8_t buffer[kReadChunk];
    while (!stopRequested) {
        const bool readable = line->WaitReadable(WaitMs(devices, !outgoing.empty()), waitSignals);
        // Read after the wait, and only then: the rate the bytes were sent
        // at, and the one the devices due now talk at. Nothing else wakes the
        // loop, and a rate changed without a word is seen by the next device
        // due (a deaf receiver is looked at once a second).
        devices.SetLineRate(line->Rate());
        if (readable) {
            const long got = line->Read(buffer, sizeof buffer);
            if (got < 0) {
                std::fprintf(stderr, "zelsim-sim: lost the line %s\n", line->DevicePath().c_str());
                return Finish(devices, options, kExitLineFailed);
            }
            outgoing += devices.Receive(buffer, static_cast<size_t>(got));
        }
        outgoing += devices.Tick();
        if (!outgoing.empty()) {
            const long put = line->Write(outgoing.data(), outgoing.size());
            if (put < 0) {
                std::fprintf(stderr, "zelsim-sim: lost the line %s\n", line->DevicePath().c_str());
                return Finish(devices, options, kExitLineFailed);
            }
            devices.Report().AddBytesSent(static_cast<size_t>(put));
            outgoing.erase(0, static_cast<size_t>(put));
            if (outgoing.size() > kOutgoingLimit) outgoing.clear();
        }
        // Only once the answers are out: they belong to the old rate.
        if (outgoing.empty())
            FollowRate(*line, devices,
                       devices.Receiver() ? devices.Receiver()->Baud() : options.receiverBaud);
    }
    return Finish(devices, options, kExitStopped);
}

}  // namespace zelsim

int main(int argc, char** argv) {
    return zelsim::RunSimulator(argc, argv);
}
