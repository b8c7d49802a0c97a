#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <array>
#include <filesystem>
#include <memory>
#include <string>

#include "base/ConfigFile.h"
#include "base/ControlTable.h"
#include "base/LocalTime.h"
#include "monitor/MessageCategory.h"
#include "monitor/MessageLog.h"
#include "monitor/MessageMonitor.h"
#include "serial/MemorySerialDevice.h"
#include "serial/PortMap.h"
#include "serial/SerialPort.h"
#include "support/RecordingDialogs.h"

// The log opens, appends and closes its file for every line, so nothing is
// lost when the program is. At 115,200 baud about 170 lines pass a second:
// "x_line" is how many such lines one core keeps up with; the goal is at
// least 100.
namespace zelsim {

namespace {

constexpr double kLinesPerSecondOnTheLine = 170.0;

const std::array<std::string, 4> kLines = {
    "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,",
    "$PKVTR,DML,PLT2,3.2,0.15,181.5,A,R,ON,S,N,2,12.5,840,3,0,0,N,N",
    "$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W",
    "garbage line without a dollar",
};

// Every column on, the checksum too: the most a line costs.
void BM_LogLine(benchmark::State& state) {
    char folder[] = "/tmp/zelsim-logbench-XXXXXX";
    if (::mkdtemp(folder) == nullptr) {
        state.SkipWithError("no temporary folder");
        return;
    }
    const std::string file = std::string(folder) + "/ZelSim.log";
    ControlTable controls;
    RecordingDialogs dialogs;
    ConfigFile config("/nonexistent/ZelSim.ini");
    PortMap ports;
    ports.SetExplicit(1, "/dev/bench");
    SerialPort port(MemorySerialDevice::Plug(std::make_shared<MemorySerialDevice>()), ports);
    port.Open(1, 115200);
    MessageLog log(controls, dialogs, config, port, folder, SystemLocalTime);
    log.SetOption(&LogOptions::logNmeaChecksum, true);
    log.StartWhenConnected(file);
    size_t next = 0;
    uint32_t tick = 0;
    for (auto _ : state) {
        const std::string& line = kLines[next];
        next = (next + 1) % kLines.size();
        log.LineShown(
            {line, line[0] == '$' ? MessageCategory::kDgps : MessageCategory::kNonNmea, tick += 6});
    }
    state.counters["lines_per_s"] =
        benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["x_line"] = benchmark::Counter(
        double(state.iterations()) / kLinesPerSecondOnTheLine, benchmark::Counter::kIsRate);
    if (log.LinesLost() != 0) state.SkipWithError("lines were lost");
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_LogLine);

}  // namespace

}  // namespace zelsim
