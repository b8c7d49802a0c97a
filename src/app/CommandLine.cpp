#include "app/CommandLine.h"

#include <charconv>
#include <limits>

#include "serial/Connection.h"
#include "serial/PortMap.h"
#include "serial/SerialPort.h"

namespace zelsim {

namespace {
bool ParseNumber(const std::string& text, long& value) {
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && ptr == end;
}
}  // namespace

CommandLine CommandLine::Parse(const std::vector<std::string>& args) {
    CommandLine cl;
    auto fail = [&cl](const std::string& message) {
        if (cl.error.empty()) cl.error = message;
    };
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= args.size()) {
                fail(a + " needs a value");
                return false;
            }
            out = args[++i];
            return true;
        };
        std::string v;
        long n = 0;
        if (a == "--help" || a == "-h") {
            cl.help = true;
        } else if (a == "--version") {
            cl.version = true;
        } else if (a == "--connect") {
            cl.connect = true;
        } else if (a == "--demo") {
            cl.demo = true;
        } else if (a == "--graph") {
            cl.graph = true;
            // The file is optional, as for --log.
            if (i + 1 < args.size() && !args[i + 1].starts_with("-")) cl.graphFile = args[++i];
        } else if (a == "--log") {
            // The file is optional: a next argument that is an option is none.
            const bool named = i + 1 < args.size() && !args[i + 1].starts_with("-");
            cl.log = named ? args[++i] : std::string();
        } else if (a == "--config") {
            if (value(v)) cl.configFile = v;
        } else if (a == "--com") {
            if (!value(v)) continue;
            const size_t eq = v.find('=');
            if (eq == std::string::npos || !ParseNumber(v.substr(0, eq), n) || n < 1 ||
                n > PortMap::kMaxPort || eq + 1 == v.size())
                fail("--com wants N=DEVICE with N from 1 to 99, not \"" + v + "\"");
            else
                cl.comDevices[static_cast<int>(n)] = v.substr(eq + 1);
        } else if (a == "--port") {
            if (!value(v)) continue;
            if (!ParseNumber(v, n) || n < 1 || n > Connection::kComMenuItems)
                fail("--port wants a COM number from 1 to 18, not \"" + v + "\"");
            else
                cl.port = static_cast<int>(n);
        } else if (a == "--baud") {
            if (!value(v)) continue;
            // Checked before it is narrowed: 4294967596 must not wrap to 300.
            if (!ParseNumber(v, n) || n < 0 || n > std::numeric_limits<uint32_t>::max() ||
                SerialPort::IndexOfRate(static_cast<uint32_t>(n)) < 0)
                fail(
                    "--baud wants one of 300, 600, 1200, 2400, 4800, 9600, 19200, 38400, "
                    "57600, 115200, 230400, 460800, 921600, not \"" +
                    v + "\"");
            else
                cl.baud = static_cast<uint32_t>(n);
        } else if (!a.starts_with("-") && a.ends_with(kDataFileEnding) && cl.graphFile.empty()) {
            // A saved data file given by a file manager or a shell.
            cl.graph = true;
            cl.graphFile = a;
        } else {
            fail("unknown argument \"" + a + "\"");
        }
    }
    return cl;
}

std::string CommandLine::Usage(const std::string& program) {
    return "Usage: " + program +
           " [options]\n"
           "  --com N=DEVICE   COM number N (1-99) opens DEVICE, e.g. --com 1=/dev/ttyUSB0\n"
           "  --port N         select COM N (1-18) at start\n"
           "  --baud RATE      select the rate at start (300 ... 921600)\n"
           "  --connect        connect at start\n"
           "  --config FILE    configuration file instead of ./ZelSim.ini\n"
           "  --demo           start the simulated devices on a virtual line and connect\n"
           "                   (at 38400 baud, or at the rate --baud gives)\n"
           "  --log [FILE]     log the line from the moment the port is open, to FILE or\n"
           "                   to the configured log name\n"
           "  --graph [FILE]   open the graph window at start; with FILE, in Hold showing\n"
           "                   that saved data file (FILE.txt alone does the same)\n"
           "  --version        print the version and exit\n"
           "  --help           print this text and exit\n";
}

}  // namespace zelsim
