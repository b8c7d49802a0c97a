#include "graph/StripChart.h"

#include <algorithm>
#include <string_view>

#include "graph/ChartMarker.h"
#include "graph/DiagnosticRecord.h"
#include "graph/LogMap.h"
#include "graph/PlotRows.h"
#include "graph/RecordRing.h"

namespace zelsim {

namespace {

using Point = ChartDrawing::Point;

// The log grid's reference: a line at every value of three decades.
constexpr int kLogGridReference = 10;
constexpr int kLogGridFirst = 2;
constexpr int kLogGridLast = 1000;
constexpr int kTickBelow = ChartGeometry::kTickHalf + 1;
constexpr int kCursorReach = 2;
constexpr int kCursorArrowHeight = 8;
constexpr int kCursorArrowHalf = 4;
constexpr size_t kMinutesAt = 3;  // "hh:nn:ss" shown from "nn"

}  // namespace

StripChart::StripChart(int width, int height) : geometry_(ComputeChartGeometry(width, height)) {}

void StripChart::FillRows(DiagnosticRecord& record) const {
    FillPlotRows(record, traces_, geometry_);
}

void StripChart::Clear() {
    geometry_ = ComputeChartGeometry(geometry_.width, geometry_.height);
    endIndex_ = 0;
}

void StripChart::AddLine(int x1, int y1, int x2, int y2, Colour colour, int width) {
    drawing_.items.emplace_back(ChartDrawing::Line{{x1, y1}, {x2, y2}, colour, width});
}

const ChartDrawing& StripChart::Redraw(const RecordRing& ring, const DeviceIdentities& identities,
                                       int endIndex, bool holding) {
    const ChartGeometry& g = geometry_;
    endIndex_ = RecordRing::Wrap(endIndex);
    drawing_.items.clear();
    DrawFrame();

    const int count = ring.Count();
    const int shown = std::min(count, g.samples);
    const int firstX = count < g.samples ? g.right - (shown - 1) * g.step : g.left;
    const int first = endIndex_ - (shown - 1);
    DrawGrid();
    if (const std::optional<int> selected = SelectedIndex(ring)) {
        const DiagnosticRecord& record = ring.At(*selected);
        readout_.Draw(record, traces_, identities, g, drawing_);
        shownCourse_ = record.cogTenthsDeg;
    }

    if (count > g.samples) {
        timeBar_.visible = true;
        timeBar_.maximum = count - 1;
        timeBar_.page = g.samples;
        if (!holding || scrollToEnd_) {
            timeBar_.position = timeBar_.maximum + 1 - timeBar_.page;
            scrollToEnd_ = false;
        }
    } else {
        timeBar_.visible = false;
    }
    if (shown > 0) DrawTraces(ring, first, firstX, shown);
    DrawCursor();
    return drawing_;
}

void StripChart::DrawFrame() {
    const ChartGeometry& g = geometry_;
    const int w = g.width - 1;
    const int h = g.height - 1;
    constexpr int kPen = ChartGeometry::kFramePen;
    AddLine(1, 1, w, 1, kFrame, kPen);
    AddLine(w, 1, w, h, kFrame, kPen);
    AddLine(w, h, 1, h, kFrame, kPen);
    AddLine(1, h, 1, 0, kFrame, kPen);
    AddLine(0, g.separator, g.width, g.separator, kFrame, kPen);
}

void StripChart::DrawGrid() {
    const ChartGeometry& g = geometry_;
    const int i = endIndex_;
    const int end = g.right + 1;
    if (logGrid_) {
        for (int decade = 1; decade < kLogGridLast; decade *= 10) {
            for (int v = kLogGridFirst * decade; v <= 10 * decade; v += decade) {
                const int y = LogMap(v, kLogGridReference, g.centre - g.top);
                const Colour colour = v == 10 * decade ? kLogDecade : kLogLine;
                AddLine(g.left, g.centre - y, end, g.centre - y, colour);
                AddLine(g.left, g.centre + y, end, g.centre + y, colour);
            }
        }
    }
    if (linearGrid_ && g.division > 0) {
        for (int y = g.centre + g.division; y < g.bottom; y += g.division)
            AddLine(g.left, y, end, y, kGrid);
        for (int y = g.centre - g.division; y > g.top; y -= g.division)
            AddLine(g.left, y, end, y, kGrid);
    }
    // The vertical lines move with the samples: grey at every fifth ring
    // index, dark at every tenth.
    if (g.major > 0)
        for (int x = g.right - (i % 5) * g.step; x >= g.left; x -= g.major)
            AddLine(x, g.top, x, g.bottom + 1, kGrid);
    for (int y : {g.centre, g.top, g.bottom}) AddLine(g.left, y, end, y, kDarkGrid);
    if (g.step > 0)
        for (int x = g.right + g.major - (i % 5) * g.step; x >= g.left; x -= g.step)
            if (x <= g.right)
                AddLine(x, g.centre - ChartGeometry::kTickHalf, x, g.centre + kTickBelow,
                        kDarkGrid);
    if (g.major > 0)
        for (int x = g.right - (i % 10) * g.step; x >= g.left; x -= 2 * g.major)
            AddLine(x, g.top, x, g.bottom + 1, kDarkGrid);
}

void StripChart::DrawTraces(const RecordRing& ring, int first, int firstX, int count) {
    const ChartGeometry& g = geometry_;
    bool firstEnabled = true;
    for (int t = 0; t < TraceTable::kTraces; ++t) {
        const TraceTable::Trace& trace = traces_.At(t);
        if (!trace.enabled) continue;
        int x = firstX;
        int y = PlotRow(ring.At(first), t, trace.log);
        for (int k = 1; k < count; ++k) {
            const int index = RecordRing::Wrap(first + k);
            const DiagnosticRecord& record = ring.At(index);
            const int nextX = x + g.step;
            const int nextY = PlotRow(record, t, trace.log);
            if (firstEnabled) {
                if (index % kTimeLabelEvery == 0) {
                    const std::string_view time(record.tim);
                    drawing_.items.emplace_back(ChartDrawing::Text{
                        {nextX - kTimeLabelLeft, kTimeLabelRow},
                        std::string(time.substr(std::min(kMinutesAt, time.size()))),
                        kTimeLabel,
                        ChartDrawing::kBackground,
                        kTimeLabelHeight});
                }
                if (record.hld == 1) {
                    const int s = nextX - g.step / 2;
                    // Six pixels wide: the right and bottom edges are outside.
                    drawing_.items.emplace_back(ChartDrawing::Box{
                        s - kHoldBandHalf, g.top, s + kHoldBandHalf - 1, g.bottom - 1, kHoldBand});
                }
            }
            // A gap left by Hold is not joined across.
            if (record.hld != 1) AddLine(x, y, nextX, nextY, trace.colour);
            DrawMarker(trace.marker, x, y, trace.colour);
            x = nextX;
            y = nextY;
        }
        DrawMarker(trace.marker, x, y, trace.colour);
        firstEnabled = false;
    }
}

void StripChart::DrawMarker(int shape, int x, int y, Colour colour) {
    drawing_.items.emplace_back(ChartMarker(shape, x, y, colour));
}

void StripChart::DrawCursor() {
    const ChartGeometry& g = geometry_;
    if (selectedOffset_ >= g.samples) return;
    const int x = g.right - g.step * selectedOffset_;
    const int above = g.top - kCursorReach;
    const int below = g.bottom + kCursorReach;
    AddLine(x, above, x, below, kCursor);
    ChartDrawing::Polygon arrow;
    arrow.colour = kCursor;
    arrow.filled = true;
    arrow.count = 3;
    arrow.points = {Point{x, above}, Point{x - kCursorArrowHalf, above - kCursorArrowHeight},
                    Point{x + kCursorArrowHalf, above - kCursorArrowHeight}};
    drawing_.items.emplace_back(arrow);
    arrow.points = {Point{x, below}, Point{x - kCursorArrowHalf, below + kCursorArrowHeight},
                    Point{x + kCursorArrowHalf, below + kCursorArrowHeight}};
    drawing_.items.emplace_back(arrow);
}

void StripChart::SelectAt(int x, int y) {
    const ChartGeometry& g = geometry_;
    if (!g.OnPlot(y) || g.step <= 0) return;
    if (x <= g.left) {
        selectedOffset_ = (g.right - g.left) / g.step;
    } else if (x >= g.right) {
        selectedOffset_ = 0;
    } else {
        selectedOffset_ = (g.right - x) / g.step;
        if ((g.right - x) % g.step > g.step / 2) ++selectedOffset_;
    }
}

std::optional<int> StripChart::SelectedIndex(const RecordRing& ring) const {
    // Counted round the ring from the rightmost sample, which need not be
    // the newest while holding.
    const int age = RecordRing::Wrap(endIndex_ - ring.OldestIndex());
    if (ring.Count() == 0 || selectedOffset_ > age) return std::nullopt;
    return RecordRing::Wrap(endIndex_ - selectedOffset_);
}

}  // namespace zelsim
