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

}  // namespace zelsim
