#pragma once

class QImage;

namespace zelsim {

struct ChartDrawing;

// Paints a redraw of the strip chart onto a picture of the paint box's
// size (32-bit RGB), item by item as core computed them: nothing is decided
// here. Lines leave out their last pixel, as the chart's figures expect.
void PaintChart(const ChartDrawing& drawing, QImage& picture);

}  // namespace zelsim
