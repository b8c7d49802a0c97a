#pragma once
#include <cstdint>
#include <optional>

#include "graph/ChartDrawing.h"
#include "graph/ChartGeometry.h"
#include "graph/ReadoutPanel.h"
#include "graph/TraceTable.h"

namespace zelsim {

class RecordRing;
struct DiagnosticRecord;

// The strip chart in figures: the traces' table, the geometry of the paint
// box, which sample is rightmost and which one is selected, the grids; a
// redraw turns the ring into the drawing the window paints.
class StripChart {
  public:
    static constexpr Colour kFrame{0, 0, 128};
    static constexpr Colour kLogLine{255, 179, 179};
    static constexpr Colour kLogDecade{255, 0, 0};
    static constexpr Colour kGrid{128, 128, 128};
    static constexpr Colour kDarkGrid{64, 64, 64};
    static constexpr Colour kTimeLabel{78, 28, 55};
    static constexpr Colour kHoldBand{219, 230, 247};
    static constexpr Colour kCursor{0, 128, 0};
    static constexpr int kTimeLabelHeight = 14;
    static constexpr int kTimeLabelRow = 252;
    static constexpr int kTimeLabelLeft = 16;
    static constexpr int kTimeLabelEvery = 10;
    static constexpr int kHoldBandHalf = 3;
    // The paint box as the graph window lays it out.
    static constexpr int kPaintWidth = 786;
    static constexpr int kPaintHeight = 448;

    // sbGraphTime: shown only when the ring holds more than fits.
    struct ScrollBar {
        bool visible = false;
        int maximum = 0;
        int page = 0;
        int position = 0;
    };

    // A paint box of `width` x `height` pixels.
    StripChart(int width, int height);

    TraceTable& Traces() { return traces_; }
    const TraceTable& Traces() const { return traces_; }
    const ChartGeometry& Geometry() const { return geometry_; }

    // fillPlotRows for a record about to be stored.
    void FillRows(DiagnosticRecord& record) const;
    // Clear: the geometry again, the rightmost sample the first slot.
    void Clear();

    // redraw with the ring's index `endIndex` at the right edge, the
    // selected sample read out with the `identities` shown. `holding` keeps
    // the scroll bar where the user left it.
    const ChartDrawing& Redraw(const RecordRing& ring, const DeviceIdentities& identities,
                               int endIndex, bool holding);
    const ChartDrawing& Drawing() const { return drawing_; }
    const ScrollBar& TimeBar() const { return timeBar_; }
    // Hold browsing: where the user or the playback put the bar.
    void SetTimePosition(int position) { timeBar_.position = position; }
    int EndIndex() const { return endIndex_; }
    // The course of the sample read out last, for the course display.
    int16_t ShownCourse() const { return shownCourse_; }
    ReadoutPanel& Readout() { return readout_; }
    // A loaded file shows its newest records even while holding.
    void ScrollToEndOnce() { scrollToEnd_ = true; }

    // pbGraphicDisplayMouseDown with the left button: the sample under x,
    // when y is on the plot. Shown by the next redraw.
    void SelectAt(int x, int y);
    int SelectedOffset() const { return selectedOffset_; }
    // The ring index of the selected sample when it is a stored one.
    std::optional<int> SelectedIndex(const RecordRing& ring) const;

    bool LinearGrid() const { return linearGrid_; }
    bool LogGrid() const { return logGrid_; }
    void SetLinearGrid(bool on) { linearGrid_ = on; }
    void SetLogGrid(bool on) { logGrid_ = on; }

  private:
    void DrawFrame();
    void DrawGrid();
    void DrawTraces(const RecordRing& ring, int first, int firstX, int count);
    void DrawMarker(int shape, int x, int y, Colour colour);
    void DrawCursor();
    void AddLine(int x1, int y1, int x2, int y2, Colour colour, int width = 1);

    TraceTable traces_;
    ReadoutPanel readout_;
    ChartGeometry geometry_;
    ChartDrawing drawing_;
    ScrollBar timeBar_;
    int endIndex_ = 0;
    int selectedOffset_ = 0;
    int16_t shownCourse_ = 0;
    bool linearGrid_ = true;
    bool logGrid_ = true;
    bool scrollToEnd_ = false;
};

}  // namespace zelsim
