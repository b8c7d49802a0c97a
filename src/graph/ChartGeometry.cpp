#include "graph/ChartGeometry.h"

namespace zelsim {

ChartGeometry ComputeChartGeometry(int width, int height) {
    using G = ChartGeometry;
    G g;
    g.width = width;
    g.height = height;

    // Columns: a whole number of major divisions, centred.
    g.left = G::kFramePen + G::kMargin;
    g.right = width - G::kFramePen - G::kMargin;
    while (g.right > g.left && (g.right - g.left) % G::kMajorDivisions != 0) ++g.left;
    while (width - g.right < g.left) {
        --g.left;
        --g.right;
    }
    g.major = (g.right - g.left) / G::kMajorDivisions;
    g.step = g.major / G::kMinorPerMajor;
    g.samples = g.step > 0 ? (g.right - g.left) / g.step + 1 : 1;

    // Rows: a whole number of divisions above the readout, raised a little.
    const int plotHeight = height - G::kReadoutHeight;
    g.top = G::kFramePen + G::kMargin;
    g.bottom = plotHeight - G::kFramePen - G::kMargin;
    while (g.bottom > g.top && (g.bottom - g.top) % G::kVerticalDivisions != 0) --g.bottom;
    while (plotHeight - g.bottom > g.top) {
        ++g.top;
        ++g.bottom;
    }
    g.top -= G::kRaise;
    g.bottom -= G::kRaise;
    g.division = (g.bottom - g.top) / G::kVerticalDivisions;
    g.centre = g.top + (g.bottom - g.top) / 2;
    g.separator = plotHeight + 1;
    return g;
}

ChartArea ChartAreaAt(const ChartGeometry& g, int x, int y) {
    using Kind = ChartArea::Kind;
    if (g.OnPlot(y)) return {Kind::kPlot, 0};
    const auto rowHit = [&](int row) {
        const int top = g.ReadoutRow(row) - ChartArea::kRaise;
        return y >= top && y < top + ChartArea::kHeight;
    };
    const auto& borders = ChartGeometry::kReadoutBorders;
    if (x >= borders[0] && x < borders[1])
        for (int t = 0; t < ChartArea::kTraceSwitches; ++t)
            if (rowHit(2 * t)) return {Kind::kTraceSwitch, t};
    // The devices' areas overlap by four pixels: the lower one lies on top.
    if (x >= 0 && x < borders[0])
        for (int slot = ChartArea::kDeviceRows - 1; slot >= 0; --slot)
            if (rowHit(ChartArea::kFirstDeviceRow + slot)) return {Kind::kSerialNumber, slot};
    return {};
}

}  // namespace zelsim
