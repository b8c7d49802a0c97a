#include <benchmark/benchmark.h>

#include <array>

#include "gnss/GnssDecoder.h"
#include "serial/SentenceFramer.h"

namespace zelsim {

namespace {

// A full GSV cycle, each message held framed in a framer of its own so that
// only the decoding is timed. Its third message completes and publishes the
// cycle, the costliest path. items_per_second is GSV sentences.
void BM_GnssDecodeGsv(benchmark::State& state) {
    static constexpr std::array<const char*, 3> kCycle = {
        "$GPGSV,3,1,11,01,25,070,31,07,13,130,23,13,48,243,32,14,66,049,33,1",
        "$GPGSV,3,2,11,15,32,280,35,17,73,154,34,19,49,193,38,21,15,043,20,1",
        "$GPGSV,3,3,11,24,11,310,19,30,41,131,36,44,39,174,35,1",
    };
    std::array<SentenceFramer, 3> framers;
    for (size_t i = 0; i < kCycle.size(); ++i) framers[i].ParseText(kCycle[i]);
    GnssDecoder decoder;
    SentenceFramer gsa;
    gsa.ParseText("$GPGSA,A,3,01,13,,19,,,,,,,,,1.8,1.0,1.5");
    decoder.Decode(gsa);
    for (auto _ : state) {
        for (SentenceFramer& framer : framers) benchmark::DoNotOptimize(decoder.Decode(framer));
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kCycle.size()));
}
BENCHMARK(BM_GnssDecodeGsv);

void BM_GnssDecodeGga(benchmark::State& state) {
    SentenceFramer framer;
    framer.ParseText("$GNGGA,001043.00,4404.14036,N,12118.85961,W,1,12,0.98,1113.0,M,-21.3,M,,");
    GnssDecoder decoder;
    for (auto _ : state) benchmark::DoNotOptimize(decoder.Decode(framer));
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()));
}
BENCHMARK(BM_GnssDecodeGga);

}  // namespace

}  // namespace zelsim
