#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <cstdio>
#include <filesystem>

#include "graph/ChartPainter.h"
#include "graph/DataFile.h"
#include "graph/GraphFiles.h"
#include "graph/RecordSampler.h"

namespace zelsim {

// The graph window's work at its 10 Hz: one redraw of a full chart (76
// samples of six traces, both grids, the readout with its settings) into
// the drawing, then painted into the off-screen picture; and a scale change,
// which gives every one of 4000 stored records its rows again. Each should
// cost under 1 ms (1,000,000 ns).
namespace {

// A full ring of varied records, the settings arrived, every trace drawn.
void Fill(RecordSampler& graph) {
    graph.Show();
    DiagnosticRecord r = graph.Latest();
    r.firstRsp = 1;
    r.strMode = 3;
    for (int i = 0; i < RecordRing::kCapacity; ++i) {
        r.sogTenthsMph = static_cast<int16_t>(60 + i % 40);
        r.cogTenthsDeg = static_cast<int16_t>(i % 3600);
        r.offErrCM = static_cast<int16_t>(i % 500 - 250);
        r.angErrTenthsDeg = static_cast<int16_t>(i % 200 - 100);
        r.waTenthDeg = static_cast<int16_t>(i % 300 - 150);
        r.solOut = static_cast<int16_t>(i % 200 - 100);
        std::snprintf(r.tim, sizeof r.tim, "14:%02d:%02d", i / 600 % 60, i / 10 % 60);
        graph.AppendRecord(r);
    }
}

void BM_ChartRedraw(benchmark::State& state) {
    RecordSampler graph;
    Fill(graph);
    StripChart& chart = graph.Chart();
    for (auto _ : state) {
        const ChartDrawing& drawing =
            chart.Redraw(graph.Ring(), graph.Identities(), graph.Ring().NewestIndex(), false);
        benchmark::DoNotOptimize(drawing.items.size());
    }
}
BENCHMARK(BM_ChartRedraw);

void BM_ChartRedrawPainted(benchmark::State& state) {
    static int argc = 1;
    static char name[] = "zelsim_bench";
    static char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(argc, argv);
    RecordSampler graph;
    Fill(graph);
    StripChart& chart = graph.Chart();
    QImage picture(StripChart::kPaintWidth, StripChart::kPaintHeight, QImage::Format_RGB32);
    for (auto _ : state) {
        PaintChart(
            chart.Redraw(graph.Ring(), graph.Identities(), graph.Ring().NewestIndex(), false),
            picture);
        benchmark::DoNotOptimize(picture.constBits());
    }
}
BENCHMARK(BM_ChartRedrawPainted);

void BM_ScaleChangeOverAFullRing(benchmark::State& state) {
    RecordSampler graph;
    Fill(graph);
    int scale = 0;
    for (auto _ : state) {
        scale = (scale + 1) % TraceTable::kScales;
        graph.Chart().Traces().ChooseScale(2, scale);
        graph.RefillRows();
        benchmark::DoNotOptimize(graph.Ring().At(0).p2);
    }
}
BENCHMARK(BM_ScaleChangeOverAFullRing);

// A full ring saved to a data file and loaded back, as Save Data and Load
// Data do: each under 20 ms.
void BM_SaveFullRing(benchmark::State& state) {
    RecordSampler graph;
    Fill(graph);
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / "zelsim-bench-files";
    std::filesystem::create_directories(folder);
    const GraphFiles files(folder.string());
    for (auto _ : state) {
        int index = 1;
        const GraphFiles::Outcome saved =
            files.SaveRecords(graph.Ring(), graph.Ring().Head(), graph.Ring().Count(),
                              graph.Identities().DisplayedSet(), "bench", index);
        if (!saved.ok) state.SkipWithError(saved.text.c_str());
        std::filesystem::remove(saved.path);
    }
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_SaveFullRing)->Unit(benchmark::kMillisecond);

void BM_LoadFullRing(benchmark::State& state) {
    RecordSampler graph;
    Fill(graph);
    std::string text;
    data_file::Write(text, graph.Ring(), graph.Ring().Head(), graph.Ring().Count(),
                     graph.Identities().DisplayedSet(), "bench");
    for (auto _ : state) {
        graph.StartLoad();
        data_file::Load(text, graph.Identities(), RecordRing::kCapacity,
                        [&](const DiagnosticRecord& r) { graph.AppendRecord(r); });
        benchmark::DoNotOptimize(graph.Ring().Count());
    }
}
BENCHMARK(BM_LoadFullRing)->Unit(benchmark::kMillisecond);

}  // namespace

}  // namespace zelsim
