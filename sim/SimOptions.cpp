#include "SimOptions.h"

#include <charconv>
#include <cmath>

#include "SimReceiver.h"

namespace zelsim {

namespace {
constexpr const char* kAskIdentity = "--ask-identity";

bool TakesValue(const std::string& name) {
    return name == "--device" || name == "--report" || name == "--receiver-baud" ||
           name == "--bootloader" || name == "--bootloader-version" || name == "--parent-pid" ||
           name == "--noise" || name == "--seed" || name == "--write-firmware" ||
           name == "--bootloader-stall-after";
}

// The whole text as a finite decimal number, or nothing ("5", "0.25").
bool ParseDecimal(const std::string& value, double& number) {
    const char* end = value.data() + value.size();
    const auto result = std::from_chars(value.data(), end, number);
    return result.ec == std::errc() && result.ptr == end && std::isfinite(number);
}

bool ApplyAskIdentity(const std::string& value, SimOptions& options, std::string& error) {
    double seconds = 0;
    const double fewest = SimOptions::kFewestAskIdentityMs / 1000.0;
    const double most = SimOptions::kMostAskIdentityMs / 1000.0;
    if (!ParseDecimal(value, seconds) || seconds < fewest || seconds > most) {
        error = std::string(kAskIdentity) + " takes a period of 0.1 to 3600 seconds, not \"" +
                value + "\"";
        return false;
    }
    options.askIdentityMs = static_cast<uint32_t>(std::lround(seconds * 1000.0));
    return true;
}

bool ApplyValue(const std::string& name, const std::string& value, SimOptions& options,
                std::string& error) {
    if (name == "--device" || name == "--report" || name == "--write-firmware") {
        if (value.empty()) {
            error = name + " needs a path";
            return false;
        }
        (name == "--device"   ? options.devicePath
         : name == "--report" ? options.reportPath
                              : options.firmwarePath) = value;
    } else if (name == "--receiver-baud") {
        uint32_t baud = 0;
        const char* end = value.data() + value.size();
        const auto result = std::from_chars(value.data(), end, baud);
        if (result.ec != std::errc() || result.ptr != end || !SimReceiver::IsSupportedBaud(baud)) {
            error =
                "--receiver-baud must be a rate of ZelSim's Baud Rate menu, 300 to 921600, "
                "not \"" +
                value + "\"";
            return false;
        }
        options.receiverBaud = baud;
    } else if (name == "--parent-pid") {
        long pid = 0;
        const char* end = value.data() + value.size();
        const auto result = std::from_chars(value.data(), end, pid);
        if (result.ec != std::errc() || result.ptr != end || pid <= 1) {
            error = "--parent-pid must be a process number, not \"" + value + "\"";
            return false;
        }
        options.parentPid = pid;
    } else if (name == "--noise") {
        double rate = 0;
        if (!ParseDecimal(value, rate) || rate < 0 || rate > SimOptions::kMostNoisePerSecond) {
            error = "--noise takes 0 to 100 garbled lines a second, not \"" + value + "\"";
            return false;
        }
        options.noisePerSecond = rate;
    } else if (name == "--bootloader-stall-after") {
        uint32_t records = 0;
        const char* end = value.data() + value.size();
        const auto result = std::from_chars(value.data(), end, records);
        if (result.ec != std::errc() || result.ptr != end) {
            error = "--bootloader-stall-after takes a number of records, not \"" + value + "\"";
            return false;
        }
        options.bootloaderStallAfter = records;
    } else if (name == "--seed") {
        uint32_t seed = 0;
        const char* end = value.data() + value.size();
        const auto result = std::from_chars(value.data(), end, seed);
        if (result.ec != std::errc() || result.ptr != end) {
            error = "--seed takes a number from 0 to 4294967295, not \"" + value + "\"";
            return false;
        }
        options.seed = seed;
    } else if (value == "1.2" || value == "1.3") {
        const auto version =
            value == "1.3" ? SimBootloader::Version::k13 : SimBootloader::Version::k12;
        if (name == "--bootloader")
            options.bootloader = version;
        else
            options.bootloaderVersion = version;
    } else {
        error = name + " must be 1.2 or 1.3, not \"" + value + "\"";
        return false;
    }
    return true;
}
}  // namespace

bool SimOptions::Parse(const std::vector<std::string>& arguments, SimOptions& options,
                       std::string& error) {
    options = SimOptions{};
    for (size_t at = 0; at < arguments.size(); ++at) {
        const std::string& argument = arguments[at];
        if (argument == "--help" || argument == "-h") {
            options.help = true;
            continue;
        }
        if (argument == "--no-receiver") {
            options.receiver = false;
            continue;
        }
        if (argument == "--no-nmea") {
            options.nmea = false;
            continue;
        }
        if (argument == "--no-controller") {
            options.controller = false;
            continue;
        }
        if (argument == "--old-settings") {
            options.oldSettings = true;
            continue;
        }
        if (argument == "--old-records") {
            options.oldRecords = true;
            continue;
        }
        if (argument == kAskIdentity) {
            options.askIdentityMs = kDefaultAskIdentityMs;
            continue;
        }
        // "--name value" or "--name=value"; the period of --ask-identity only
        // in the second form, since it may go without one.
        const size_t equals = argument.find('=');
        const std::string name = argument.substr(0, equals);
        if (name == kAskIdentity) {
            if (!ApplyAskIdentity(argument.substr(equals + 1), options, error)) return false;
            continue;
        }
        if (!TakesValue(name)) {
            error = "unknown option \"" + argument + "\"";
            return false;
        }
        std::string value;
        if (equals != std::string::npos) {
            value = argument.substr(equals + 1);
        } else if (at + 1 < arguments.size()) {
            value = arguments[++at];
        } else {
            error = name + " needs a value";
            return false;
        }
        if (!ApplyValue(name, value, options, error)) return false;
    }
    if (options.bootloader) options.controller = false;
    return true;
}

const char* SimOptions::Usage() {
    return "Usage: zelsim-sim [options]\n"
           "Plays the devices at the far end of a ZelSim line.\n"
           "\n"
           "Without --device it makes a pseudo-terminal pair and prints, as its first\n"
           "line, the device the program should open. It runs until SIGINT or SIGTERM.\n"
           "\n"
           "  --device PATH          use an existing serial device (set raw, at the\n"
           "                         receiver's rate) instead of a pseudo-terminal\n"
           "  --report FILE          write a JSON summary of what was received at exit\n"
           "  --receiver-baud RATE   the receiver's rate, one of ZelSim's: 300, 600, 1200,\n"
           "                         2400, 4800, 9600, 19200, 38400 (default), 57600,\n"
           "                         115200, 230400, 460800 or 921600; it is deaf at any\n"
           "                         other rate (acquisition finds it at 4800 to 38400)\n"
           "  --no-receiver          no receiver on the line\n"
           "  --no-nmea              the receiver does not stream GGA, VTG and RMC each\n"
           "                         second nor GSA and GSV every five\n"
           "  --no-controller        no steering controller (and no lightbar)\n"
           "  --old-settings         the controller answers SET1/SET2 in the older units\n"
           "  --old-records          the controller streams its live record in the older\n"
           "                         PLT layout (speed in knots) instead of PLT2\n"
           "  --bootloader 1.2|1.3   the controller sits in its bootloader of that\n"
           "                         version for the whole run: it acknowledges hex\n"
           "                         records and streams nothing\n"
           "  --bootloader-version 1.2|1.3\n"
           "                         the bootloader a RESET line brings the controller\n"
           "                         into (default 1.3; --bootloader sets it too)\n"
           "  --bootloader-stall-after N\n"
           "                         every bootloader hangs after N hex records: it\n"
           "                         answers nothing more and never starts the\n"
           "                         controller (a device that stops answering)\n"
           "  --ask-identity[=SECONDS]\n"
           "                         a device on the line asks the program who it is\n"
           "                         (\"$PKVTQ,DID\") every SECONDS, 0.1 to 3600 (default 5);\n"
           "                         the report counts the answers\n"
           "  --noise RATE           line noise: RATE garbled lines a second on average,\n"
           "                         0 to 100 (decimals allowed): random bytes, sentences\n"
           "                         with a wrong checksum, cut short or with unprintable\n"
           "                         bytes, each ended by CR LF and put between whole\n"
           "                         sentences, so the real traffic stays readable\n"
           "  --seed N               the noise's random seed, 0 to 4294967295: the same\n"
           "                         seed draws the same noise; without it each run\n"
           "                         differs (the report names the seed used)\n"
           "  --parent-pid PID       stop when process PID, which started it, ends,\n"
           "                         even when that one was killed\n"
           "  --write-firmware FILE  write the demo's firmware file (Intel HEX, 1000\n"
           "                         data records) to FILE and stop\n"
           "  --help                 this text\n"
           "\n"
           "Firmware updates: the plain line RESET stands for a power cycle of the\n"
           "controller, whatever the line's rate. The controller stops streaming and\n"
           "its bootloader comes up at 38400 baud: it answers the plain line\n"
           "\"$PKVTQ,DID\" with its version in field 4 (\"v1.3\" or \"v1.2\"), checks\n"
           "each hex record line and answers it \"[Ok]\" or \"[Err]\" once written\n"
           "(15 ms a record). A 1.3 bootloader listens at 115200 only from its version\n"
           "answer on, a 1.2 stays at 38400; what comes at another rate goes unanswered.\n"
           "The controller starts again 1 s after a whole end-of-file record\n"
           "(:00000001FF) has been written, or once nothing the bootloader understood\n"
           "has come for 5 s, and streams as before, whatever the rate. The receiver\n"
           "hears and talks only at its own rate, so a program should go back to it\n"
           "after the update. On a --device the simulator's end follows the\n"
           "bootloader's rate and returns to --receiver-baud afterwards. The report\n"
           "counts the records (hexRecords) and the resets and restarts (bootloader).\n";
}

}  // namespace zelsim
