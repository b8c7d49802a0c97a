#pragma once
#include <array>
#include <cstdint>

namespace zelsim {

// Where the strip chart and its readout panel lie in the paint box: the
// plot's columns and rows, the pixels between samples, and the readout's
// rows and columns below the separator. Computed from the paint box's size
// when the window is made and again by Clear.
struct ChartGeometry {
    static constexpr int kFramePen = 2;
    static constexpr int kMargin = 12;
    static constexpr int kReadoutHeight = 180;
    static constexpr int kTickHalf = 4;
    static constexpr int kMajorDivisions = 15;
    static constexpr int kMinorPerMajor = 5;
    static constexpr int kVerticalDivisions = 10;
    static constexpr int kRaise = 3;
    static constexpr int kReadoutRows = 12;
    static constexpr int kReadoutRowPitch = 14;
    static constexpr int kReadoutTopGap = 4;
    static constexpr std::array<int, 3> kReadoutBorders = {154, 381, 576};

    int width = 0;
    int height = 0;
    int left = 0;
    int right = 0;
    int major = 0;
    int step = 0;     // pixels per sample, one minor division
    int samples = 0;  // how many fit between left and right, both drawn
    int top = 0;
    int bottom = 0;
    int division = 0;  // one vertical division
    int centre = 0;
    int separator = 0;

    // The readout's row k (0 to 11).
    int ReadoutRow(int k) const {
        return height - kReadoutHeight + kReadoutTopGap + kReadoutRowPitch * k;
    }
    int ReadoutTop() const { return height - kReadoutHeight; }
    // A click at row y lies on the plot, above the readout panel.
    bool OnPlot(int y) const { return y < height - kReadoutHeight; }
};

// computeGeometry for a paint box of `width` x `height` pixels.
ChartGeometry ComputeChartGeometry(int width, int height);

// What a mouse button pressed at a point of the paint box acts on: the
// plot (selecting a sample), one of the six trace switches over the
// readout's trace rows, or one of the three devices' rows (their serial
// numbers). `index` is the trace or the device slot.
struct ChartArea {
    enum class Kind : uint8_t { kNone, kPlot, kTraceSwitch, kSerialNumber };
    static constexpr int kRaise = 2;  // above the row it covers
    static constexpr int kHeight = 18;
    static constexpr int kTraceSwitches = 6;  // on the readout's even rows
    static constexpr int kDeviceRows = 3;     // from row 9
    static constexpr int kFirstDeviceRow = 9;

    Kind kind = Kind::kNone;
    int index = 0;
};
ChartArea ChartAreaAt(const ChartGeometry& g, int x, int y);

}  // namespace zelsim
