#include <benchmark/benchmark.h>

#include <string>

#include "app/SteadyTickClock.h"
#include "serial/SentenceFramer.h"

namespace {
constexpr double kLineBytesPerSecond = 11520.0;  // 115,200 baud, ten bits a byte

std::string NmeaMix() {
    return "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47\r\n"
           "$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6A\r\n"
           "$PKVTS,TXT,0,HELLO\r\n"
           "garbage line without a dollar\r\n";
}
}  // namespace

static void BM_FramerThroughput(benchmark::State& state) {
    SteadyTickClock clock;
    SentenceFramer framer(clock);
    std::string data;
    while (data.size() < 64 * 1024) data += NmeaMix();
    for (auto _ : state) {
        unsigned reports = 0;
        for (char c : data) reports += framer.Feed(static_cast<uint8_t>(c)) >= 3;
        benchmark::DoNotOptimize(reports);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * data.size()));
    state.counters["x_line"] = benchmark::Counter(
        static_cast<double>(data.size()) / kLineBytesPerSecond,
        benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_FramerThroughput);
