#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "SimBootloader.h"
#include "SimReceiver.h"

namespace zelsim {

// The command line of zelsim-sim.
struct SimOptions {
    static constexpr uint32_t kDefaultAskIdentityMs = 5000;
    static constexpr uint32_t kFewestAskIdentityMs = 100;
    static constexpr uint32_t kMostAskIdentityMs = 3600 * 1000;
    static constexpr double kMostNoisePerSecond = 100;

    std::string devicePath;  // empty: make a pseudo-terminal pair
    std::string reportPath;  // empty: no report
    bool receiver = true;
    uint32_t receiverBaud = SimReceiver::kDefaultBaud;
    bool nmea = true;    // the receiver streams its fix
    long parentPid = 0;  // started by the program: gone when it is
    bool controller = true;
    bool oldSettings = false;
    bool oldRecords = false;       // the live record in the PLT layout, speed in knots
    uint32_t askIdentityMs = 0;    // 0: nobody on the line asks the program who it is
    double noisePerSecond = 0;     // garbled lines a second, on average; 0: a clean line
    std::optional<uint32_t> seed;  // the noise's; none: a new one each run
    // A controller in its bootloader streams nothing: --bootloader silences it.
    std::optional<SimBootloader::Version> bootloader;
    // The bootloader a reset brings the controller into.
    SimBootloader::Version bootloaderVersion = SimBootloader::Version::k13;
    // A bootloader that hangs: after this many records it answers nothing more.
    std::optional<uint32_t> bootloaderStallAfter;
    std::string firmwarePath;  // not empty: write the demo's firmware file there and stop
    bool help = false;

    // Arguments without the program name. False, with `error` set, for an
    // unknown option, a missing value or a value out of range.
    static bool Parse(const std::vector<std::string>& arguments, SimOptions& options,
                      std::string& error);
    static const char* Usage();
};

}  // namespace zelsim
