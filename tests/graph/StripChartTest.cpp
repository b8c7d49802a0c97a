#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "graph/ChartGeometry.h"
#include "graph/DiagnosticRecord.h"
#include "graph/LogMap.h"
#include "graph/PlotRows.h"
#include "graph/RecordRing.h"
#include "graph/StripChart.h"
#include "graph/TraceTable.h"

namespace zelsim {

namespace {

constexpr int kWidth = 786;
constexpr int kHeight = 448;
constexpr int kSpeed = 0;
constexpr int kCourse = 1;
constexpr int kOffset = 2;

// The paint box as laid out, and others: whole divisions, the left margin
// no wider than the right.
TEST(ChartGeometry, DivisionsAreWholeAndThePlotSitsAboveTheReadout) {
    const ChartGeometry g = ComputeChartGeometry(kWidth, kHeight);
    EXPECT_EQ(g.left, 18);
    EXPECT_EQ(g.right, 768);
    EXPECT_EQ(g.step, 10);
    EXPECT_EQ(g.samples, 76);
    EXPECT_EQ(g.top, 11);
    EXPECT_EQ(g.bottom, 251);
    EXPECT_EQ(g.centre, 131);
    EXPECT_EQ(g.separator, 269);
    EXPECT_EQ(g.ReadoutRow(11), 268 + 4 + 154);

    for (const auto& [w, h] : {std::pair{700, 400}, std::pair{1001, 633}}) {
        const ChartGeometry o = ComputeChartGeometry(w, h);
        EXPECT_EQ((o.right - o.left) % 15, 0) << w;
        EXPECT_EQ((o.bottom - o.top) % 10, 0) << h;
        EXPECT_GE(w - o.right, o.left) << w;
        EXPECT_LT(o.bottom, h - ChartGeometry::kReadoutHeight) << h;
    }
}

TEST(LogMap, ThreeDecadesOverTheSpanLinearBelowATenth) {
    // One division of 50 over 120 pixels: 40 pixels a decade.
    EXPECT_EQ(LogMap(50, 50, 120), 40);
    EXPECT_EQ(LogMap(500, 50, 120), 80);
    EXPECT_EQ(LogMap(5000, 50, 120), 120);
    EXPECT_EQ(LogMap(99999, 50, 120), 120);
    EXPECT_EQ(LogMap(5, 50, 120), 4);
    EXPECT_EQ(LogMap(6, 50, 120), 3);
    EXPECT_EQ(LogMap(250, 50, 120), 68);
    // Just above a tenth of a division the scale drops to its start.
    EXPECT_EQ(LogMap(100, 1000, 120), 4);
    EXPECT_EQ(LogMap(101, 1000, 120), 0);
    EXPECT_EQ(LogMap(0, 50, 120), 0);
    EXPECT_EQ(LogMap(50, 0, 120), 0);
}

DiagnosticRecord Record(int16_t speed, int16_t course, int16_t offset) {
    DiagnosticRecord r;
    r.sogTenthsMph = speed;
    r.cogTenthsDeg = course;
    r.offErrCM = offset;
    return r;
}

TEST(PlotRows, SignedTracesAreLimitedToTheirFullScaleUnsignedOnesAtTheTop) {
    const ChartGeometry g = ComputeChartGeometry(kWidth, kHeight);
    TraceTable traces;  // offset error on ".5 m/div": F 250; speed "10 mph/div": F 500
    const auto rows = [&](DiagnosticRecord r) {
        FillPlotRows(r, traces, g);
        return r;
    };
    EXPECT_EQ(rows(Record(0, 0, 250)).p2, g.top);
    EXPECT_EQ(rows(Record(0, 0, -300)).p2, g.bottom);
    EXPECT_EQ(rows(Record(0, 0, 0)).p2, g.centre);
    EXPECT_EQ(rows(Record(0, 0, 125)).p2, g.centre - 60);
    // On the log scale too the full scale limits first.
    EXPECT_EQ(rows(Record(0, 0, 300)).lg2, g.centre - 68);
    EXPECT_EQ(rows(Record(0, 0, -250)).lg2, g.centre + 68);

    EXPECT_EQ(rows(Record(500, 0, 0)).p0, g.centre);
    EXPECT_EQ(rows(Record(1000, 0, 0)).p0, g.top);
    EXPECT_EQ(rows(Record(1500, 0, 0)).p0, g.top);
    EXPECT_EQ(rows(Record(0, 0, 0)).p0, g.bottom);
    // Reversing reads as a large unsigned speed: at the top, not below.
    EXPECT_EQ(rows(Record(-10, 0, 0)).p0, g.top);
    // Unsigned on the log scale: the log distance, up from the bottom.
    EXPECT_EQ(rows(Record(100, 0, 0)).lg0, g.bottom - 40);
    EXPECT_EQ(rows(Record(60000, 0, 0)).lg0, g.centre);
    EXPECT_EQ(rows(Record(0, 0, 0)).lg0, g.bottom);
    EXPECT_EQ(PlotRow(rows(Record(0, 1800, 0)), kCourse, false), g.centre);

    ASSERT_TRUE(traces.ChooseScale(kOffset, 0));  // "10 m/div": F 5000
    EXPECT_EQ(rows(Record(0, 0, 250)).p2, g.centre - 6);
}

TEST(TraceTable, SwitchesCycleAndOnlyARealScaleChangeAsksForNewRows) {
    TraceTable traces;
    using Mode = TraceTable::Mode;
    EXPECT_EQ(traces.ModeOf(kSpeed), Mode::kLinear);
    traces.Cycle(kSpeed);
    EXPECT_EQ(traces.ModeOf(kSpeed), Mode::kLog);
    traces.Cycle(kSpeed);
    EXPECT_EQ(traces.ModeOf(kSpeed), Mode::kOff);
    EXPECT_FALSE(traces.At(kSpeed).log) << "a hidden trace comes back linear";
    traces.Cycle(kSpeed);
    EXPECT_EQ(traces.ModeOf(kSpeed), Mode::kLinear);

    EXPECT_FALSE(traces.ChooseScale(kOffset, 3)) << "the scale it has";
    EXPECT_TRUE(traces.ChooseScale(kOffset, 4));
    EXPECT_EQ(traces.At(kOffset).fullScale, 50);
    EXPECT_TRUE(traces.ChooseScale(kCourse, 2)) << "the same value at another place";
    EXPECT_FALSE(traces.ChooseScale(kCourse, 5));
    EXPECT_EQ(traces.At(kCourse).selected, 2);
}

// A ring of `count` samples, each stamped with its index as the time, the
// rows filled as sampling fills them.
class StripChartTest : public ::testing::Test {
  protected:
    void Store(int count, int heldAt = -1) {
        for (int k = 0; k < count; ++k) {
            DiagnosticRecord r = Record(static_cast<int16_t>(100 * k), 0, 0);
            std::snprintf(r.tim, sizeof r.tim, "00:%02d:%02d", k / 60 % 60, k % 60);
            chart_.FillRows(r);
            ring_.Append(r).hld = k == heldAt ? 1 : 0;
        }
    }
    const ChartDrawing& Redraw() {
        return chart_.Redraw(ring_, identities_, ring_.NewestIndex(), false);
    }
    static int TopOf(const ChartDrawing::Line& l) { return l.from.y; }
    static int TopOf(const ChartDrawing::Polygon& p) { return p.points[0].y; }
    static int TopOf(const ChartDrawing::Box& b) { return b.top; }
    static int TopOf(const ChartDrawing::Text& t) { return t.at.y; }
    // What the redraw put on the plot, above the readout panel.
    template <typename T>
    std::vector<T> Items() const {
        std::vector<T> found;
        for (const ChartDrawing::Item& item : chart_.Drawing().items)
            if (const T* t = std::get_if<T>(&item); t && TopOf(*t) < g_.separator)
                found.push_back(*t);
        return found;
    }
    std::vector<ChartDrawing::Line> LinesIn(Colour colour) const {
        std::vector<ChartDrawing::Line> lines;
        for (const auto& line : Items<ChartDrawing::Line>())
            if (line.colour == colour) lines.push_back(line);
        return lines;
    }
    // The speed trace's lines: green as the cursor, whose line is upright.
    std::vector<ChartDrawing::Line> SpeedLines() const {
        std::vector<ChartDrawing::Line> lines;
        for (const auto& line : LinesIn(speed_))
            if (line.from.x != line.to.x) lines.push_back(line);
        return lines;
    }
    void HideAll() {
        for (int t = 0; t < TraceTable::kTraces; ++t) {
            chart_.Traces().Cycle(t);
            chart_.Traces().Cycle(t);
        }
    }
    void ShowOnlySpeed() {
        for (int t = 1; t < TraceTable::kTraces; ++t) {
            chart_.Traces().Cycle(t);
            chart_.Traces().Cycle(t);
        }
    }

    StripChart chart_{kWidth, kHeight};
    RecordRing ring_;
    DeviceIdentities identities_;
    const ChartGeometry& g_ = chart_.Geometry();
    const Colour speed_ = chart_.Traces().At(kSpeed).colour;
};

TEST_F(StripChartTest, FewSamplesSitAtTheRightEdgeAndAHeldOneIsNotJoined) {
    ShowOnlySpeed();
    Store(1);
    Redraw();
    EXPECT_TRUE(SpeedLines().empty()) << "a single sample is only its marker";
    ASSERT_EQ(Items<ChartDrawing::Polygon>().size(), 3u);  // the marker and the cursor's two
    EXPECT_EQ(Items<ChartDrawing::Polygon>()[0].points[1],
              (ChartDrawing::Point{g_.right, g_.bottom - 3}));

    ring_.Clear();
    Store(3, 2);
    Redraw();
    std::vector<ChartDrawing::Line> lines = SpeedLines();
    ASSERT_EQ(lines.size(), 1u) << "the held sample is not joined to the one before";
    EXPECT_EQ(lines[0].from.x, g_.right - 20);
    EXPECT_EQ(lines[0].to.x, g_.right - 10);
    const std::vector<ChartDrawing::Box> bands = Items<ChartDrawing::Box>();
    ASSERT_EQ(bands.size(), 1u);
    EXPECT_EQ(bands[0].left, g_.right - 5 - 3);
    EXPECT_EQ(bands[0].right, g_.right - 5 + 2) << "six pixels wide";
    EXPECT_FALSE(chart_.TimeBar().visible);

    chart_.SelectAt(g_.right - 36, g_.top);
    EXPECT_EQ(chart_.SelectedOffset(), 4) << "past half a step: the next sample";
    chart_.SelectAt(g_.right - 35, g_.top);
    EXPECT_EQ(chart_.SelectedOffset(), 3) << "half a step: still this one";
    EXPECT_FALSE(chart_.SelectedIndex(ring_)) << "left of the samples: nothing to read out";
    chart_.SelectAt(g_.right - 16, g_.top);
    EXPECT_EQ(chart_.SelectedOffset(), 2);
    EXPECT_EQ(chart_.SelectedIndex(ring_), 0);
}

TEST_F(StripChartTest, LabelsAndBandsFollowTheFirstShownTraceAndNoneWhenAllAreOff) {
    Store(ChartGeometry::kReadoutRows * 10, 95);
    Redraw();
    const std::vector<ChartDrawing::Text> labels = Items<ChartDrawing::Text>();
    ASSERT_FALSE(labels.empty());
    EXPECT_EQ(labels.back().text, "01:50") << "the newest multiple of ten, from the minutes";
    EXPECT_EQ(labels.back().at, (ChartDrawing::Point{g_.right - 90 - 16, 252}));
    EXPECT_EQ(Items<ChartDrawing::Box>().size(), 1u);
    EXPECT_TRUE(chart_.TimeBar().visible);
    EXPECT_EQ(chart_.TimeBar().maximum, 119);
    EXPECT_EQ(chart_.TimeBar().position, 120 - g_.samples);

    HideAll();
    Redraw();
    EXPECT_TRUE(Items<ChartDrawing::Text>().empty());
    EXPECT_TRUE(Items<ChartDrawing::Box>().empty());
}

// The grid moves with the samples: grey lines at every fifth ring index,
// dark ones at every tenth.
TEST_F(StripChartTest, VerticalGridLinesSitAtTheSamplesWhoseIndexIsAMultipleOfFiveOrTen) {
    Store(8);  // the newest is index 7
    chart_.SetLogGrid(false);
    chart_.SetLinearGrid(false);
    Redraw();
    std::vector<int> grey;
    for (const auto& line : LinesIn(StripChart::kGrid)) grey.push_back(line.from.x);
    ASSERT_FALSE(grey.empty());
    EXPECT_EQ(grey.front(), g_.right - 20);
    EXPECT_EQ(grey[1], g_.right - 70);
    std::vector<int> dark;
    for (const auto& line : LinesIn(StripChart::kDarkGrid))
        if (line.from.x == line.to.x && line.to.y == g_.bottom + 1) dark.push_back(line.from.x);
    ASSERT_FALSE(dark.empty());
    EXPECT_EQ(dark.front(), g_.right - 70);
    EXPECT_EQ(dark[1], g_.right - 170);

    chart_.SetLogGrid(true);
    HideAll();
    Redraw();
    EXPECT_EQ(LinesIn(StripChart::kLogDecade).size(), 6u) << "10, 100 and 1000 each side";
}

TEST_F(StripChartTest, ASelectionSurvivesTheRingsWrap) {
    Store(RecordRing::kCapacity + 5);
    chart_.SelectAt(g_.left, g_.top);
    EXPECT_EQ(chart_.SelectedOffset(), 75);
    Redraw();
    ASSERT_EQ(chart_.EndIndex(), 4);
    EXPECT_EQ(chart_.SelectedIndex(ring_), RecordRing::kCapacity + 4 - 75);
    chart_.SelectAt(g_.left, g_.separator);
    EXPECT_EQ(chart_.SelectedOffset(), 75) << "a click on the readout selects nothing";
}

}  // namespace

}  // namespace zelsim
