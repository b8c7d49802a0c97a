#include <benchmark/benchmark.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "app/ZelSim.h"
#include "serial/MemorySerialDevice.h"
#include "serial/PortMap.h"
#include "support/FakeTickClock.h"
#include "support/RecordingDialogs.h"

namespace zelsim {

namespace {
constexpr size_t kBytesPerTickAtFullRate = 116;  // 11,520 bytes/s in 10 ms ticks
constexpr uint32_t kTickMs = 10;

// The harness's corpus when it is there (what the whole program is measured
// on), else a small built-in mix.
std::string Corpus() {
    std::ifstream in(ZELSIM_SHARED_DIR "/bench/nmea_mix.txt", std::ios::binary);
    if (in) {
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    return "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47\r\n"
           "$GPVTG,054.7,T,034.4,M,005.5,N,010.2,K*48\r\n"
           "$PKVTS,TXT,0,HELLO WORLD\r\n";
}

// One main cycle that carries `chunk` bytes of line traffic.
void RunCycles(benchmark::State& state, size_t chunk) {
    const std::string corpus = Corpus();
    FakeTickClock clock;
    PortMap ports;
    ports.SetExplicit(1, "/dev/bench");
    auto line = std::make_shared<MemorySerialDevice>();
    ConfigFile config("/nonexistent/ZelSim.ini");  // never saved here
    RecordingDialogs dialogs;
    ZelSim zelSim(clock, MemorySerialDevice::Plug(line), ports, config, dialogs);
    zelSim.Connection().ComOpenClose();
    size_t at = 0;
    for (auto _ : state) {
        state.PauseTiming();
        if (at + chunk > corpus.size()) at = 0;
        line->Inject(std::string_view(corpus).substr(at, chunk));
        at += chunk;
        clock.Advance(kTickMs);
        state.ResumeTiming();
        zelSim.Tick();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * chunk));
}
}  // namespace

// A tick at 115,200 baud: the cost per 10 ms of the line's full rate.
static void BM_MainCycleFullRateTick(benchmark::State& state) {
    RunCycles(state, kBytesPerTickAtFullRate);
}
BENCHMARK(BM_MainCycleFullRateTick);

// The largest tick: one whole read of 8,094 bytes.
static void BM_MainCycleLargestRead(benchmark::State& state) {
    RunCycles(state, MainCycle::kReceiveBufferSize - 1);
}
BENCHMARK(BM_MainCycleLargestRead);

// An idle tick with the port open: what the program costs when nothing comes.
static void BM_MainCycleIdle(benchmark::State& state) {
    RunCycles(state, 0);
}
BENCHMARK(BM_MainCycleIdle);

}  // namespace zelsim
