#include <benchmark/benchmark.h>

#include <cstdint>

#include "base/ControlTable.h"
#include "panel/PanelGeometry.h"
#include "panel/PanelScreen.h"
#include "serial/SentenceFramer.h"

namespace zelsim {

// The panel's share of a screen rewrite: the sentence handled, then the
// dots of every cell it changed, as the window draws them. A receiver
// rewrites a row a few times a second; "x_line" is how many rows a second
// of this kind one core keeps up with against a 115,200-baud line sending
// nothing but such rows (about 320 a second).
namespace {

constexpr double kRowSentencesPerSecondOnTheLine = 11520.0 / 36;  // "$PKVTS,TXT,0,<16>*hh\r\n"

constexpr const char* kStatusRow = "$PKVTS,TXT,0,Sats 09 DGPS 2.1";
constexpr const char* kPositionRow =
    "$PKVTS,TXT,0,48\xB0"
    "07.0412'N  Ok";

// The dots of the dirty cells, as the window's refresh computes them.
int DrawDirtyCells(PanelScreen& screen) {
    int dots = 0;
    uint32_t dirty = screen.TakeDirtyCells();
    for (int cell = 0; dirty != 0; ++cell, dirty >>= 1)
        if (dirty & 1u) dots += PanelGeometry::LitDotsOf(screen.DrawnGlyph(cell)).count;
    return dots;
}

// A sentence that did not frame would measure nothing.
bool Framed(benchmark::State& state, SentenceFramer& framer, const char* text) {
    if (framer.ParseText(text) == SentenceFramer::kSentenceReady) return true;
    state.SkipWithError(text);
    return false;
}

void SetRowCounters(benchmark::State& state) {
    state.counters["rows_per_s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["x_line"] = benchmark::Counter(
        static_cast<double>(state.iterations()) / kRowSentencesPerSecondOnTheLine,
        benchmark::Counter::kIsRate);
}

// Two screens of a live receiver, nearly every cell of the row changing between them.
void BM_PanelRowRewritten(benchmark::State& state) {
    ControlTable controls;
    PanelScreen screen(controls);
    SentenceFramer first, second;
    if (!Framed(state, first, kStatusRow) || !Framed(state, second, kPositionRow)) return;
    bool flip = false;
    for (auto _ : state) {
        screen.HandleScreenSentence((flip = !flip) ? first : second);
        benchmark::DoNotOptimize(DrawDirtyCells(screen));
    }
    SetRowCounters(state);
}
BENCHMARK(BM_PanelRowRewritten);

// The same row again: 16 comparisons and no drawing.
void BM_PanelRowUnchanged(benchmark::State& state) {
    ControlTable controls;
    PanelScreen screen(controls);
    SentenceFramer row;
    if (!Framed(state, row, kStatusRow)) return;
    screen.HandleScreenSentence(row);
    DrawDirtyCells(screen);
    for (auto _ : state) {
        screen.HandleScreenSentence(row);
        benchmark::DoNotOptimize(DrawDirtyCells(screen));
    }
    SetRowCounters(state);
}
BENCHMARK(BM_PanelRowUnchanged);

// A row written as 16 controller data bytes, one field each.
void BM_PanelControllerRow(benchmark::State& state) {
    ControlTable controls;
    PanelScreen screen(controls);
    SentenceFramer first, second;
    if (!Framed(state, first,
                "$PKVTD,080,153,161,174,173,120,139,120,144,147,150,153,120,131,132,13A,130") ||
        !Framed(state, second,
                "$PKVTD,080,134,138,1DF,130,137,12E,130,134,131,132,127,14E,120,12A,14F,16B"))
        return;
    bool flip = false;
    for (auto _ : state) {
        screen.HandleControllerSentence((flip = !flip) ? first : second);
        benchmark::DoNotOptimize(DrawDirtyCells(screen));
    }
    SetRowCounters(state);
}
BENCHMARK(BM_PanelControllerRow);

}  // namespace

}  // namespace zelsim
