#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <string>

#include "base/ControlTable.h"
#include "base/UserDialogs.h"
#include "monitor/MessageClassifier.h"
#include "monitor/MessageMonitor.h"

namespace zelsim {

// Classification plus the monitor model, against the line they serve: at
// 115,200 baud about 170 lines of typical length pass a second. "x_line" is
// how many such lines one core keeps up with; the goal is at least 1,000.
namespace {

class NoDialogs final : public UserDialogs {
  public:
    void Warn(std::string_view, std::string_view) override {}
    bool Ask(std::string_view, std::string_view) override { return false; }
    std::optional<std::string> AskFileToWrite(FileRequest&) override { return std::nullopt; }
    bool OpenInViewer(const std::string&) override { return false; }
};

constexpr double kLinesPerSecondOnTheLine = 170.0;
constexpr int kBusyTickLines = 100;

const std::array<std::string, 8> kLines = {
    "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,",
    "$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W",
    "$PKVTS,TXT,0,HELLO",
    "$PKVTR,DML,DIAG,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16",
    "$GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1*00",
    "garbage line without a dollar",
    "$GNGSV,3,1,11,03,03,111,00,04,15,270,00,06,01,010,00,13,06,292,00",
    "$PKVTK,3",
};

void ShowAll(benchmark::State& state, MessageMonitor& monitor, int linesPerIteration) {
    uint32_t tick = 0;
    size_t next = 0;
    for (auto _ : state) {
        for (int i = 0; i < linesPerIteration; ++i) {
            const std::string& line = kLines[next];
            next = (next + 1) % kLines.size();
            const bool sent = line == "$PKVTK,3";
            const uint32_t category = sent ? MessageClassifier::ClassifyOutgoing(line)
                                           : MessageClassifier::ClassifyText(line);
            monitor.ShowLine(line, category, tick += 6);
        }
        benchmark::DoNotOptimize(monitor.Revision());
    }
    const double lines = double(state.iterations()) * linesPerIteration;
    state.counters["lines_per_s"] = benchmark::Counter(lines, benchmark::Counter::kIsRate);
    state.counters["x_line"] =
        benchmark::Counter(lines / kLinesPerSecondOnTheLine, benchmark::Counter::kIsRate);
}

// Every column on: the wall-clock time is read for each line.
void BM_ClassifyAndShowLine(benchmark::State& state) {
    ControlTable controls;
    NoDialogs dialogs;
    MessageMonitor monitor(controls, dialogs);
    ShowAll(state, monitor, 1);
}
BENCHMARK(BM_ClassifyAndShowLine);

void BM_ClassifyOnly(benchmark::State& state) {
    size_t next = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(MessageClassifier::ClassifyText(kLines[next]));
        next = (next + 1) % kLines.size();
    }
    state.counters["x_line"] = benchmark::Counter(
        double(state.iterations()) / kLinesPerSecondOnTheLine, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ClassifyOnly);

// One busy tick: 100 lines at once into a full ring.
void BM_BusyTickOf100Lines(benchmark::State& state) {
    ControlTable controls;
    NoDialogs dialogs;
    MessageMonitor monitor(controls, dialogs);
    for (int i = 0; i < MessageMonitor::kCapacity; ++i)
        monitor.ShowLine(kLines[0], MessageCategory::kDgps, 0);
    ShowAll(state, monitor, kBusyTickLines);
}
BENCHMARK(BM_BusyTickOf100Lines)->Unit(benchmark::kMicrosecond);

}  // namespace

}  // namespace zelsim
