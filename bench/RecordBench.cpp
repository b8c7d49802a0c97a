#include <benchmark/benchmark.h>

#include "graph/RecordSampler.h"
#include "serial/SentenceFramer.h"

namespace zelsim {

// The controller's live record decoded into the latest-values record and
// appended to the ring: the graph's work per record. The controller sends
// 10 records a second; "x_rate" is how many such streams one core keeps up
// with, and a record should cost under 2 us.
namespace {

constexpr double kRecordsPerSecond = 10.0;

void BM_RecordDecodeAndAppend(benchmark::State& state) {
    SentenceFramer framer;
    framer.ParseText(
        "$PKVTR,DML,PLT2,1.8,0.03,-3.4,4807.0436,N,01131.175,E,D,10,87.5,4523,39,3,1152,0,1*24");
    if (framer.State() != SentenceFramer::kSentenceReady) {
        state.SkipWithError("the record did not frame");
        return;
    }
    RecordSampler graph;
    for (auto _ : state) {
        graph.DecodeDml(framer, proprietary::RecordType::kLive);
        graph.AppendRecord(graph.Latest());
        benchmark::DoNotOptimize(graph.Ring().Head());
    }
    if (graph.Latest().sats != 10) state.SkipWithError("the record was not decoded");
    const double records = double(state.iterations());
    state.counters["s_per_record"] =
        benchmark::Counter(records, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["x_rate"] =
        benchmark::Counter(records / kRecordsPerSecond, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_RecordDecodeAndAppend);

}  // namespace

}  // namespace zelsim
