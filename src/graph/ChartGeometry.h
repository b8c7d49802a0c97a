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

}  // namespace zelsim
