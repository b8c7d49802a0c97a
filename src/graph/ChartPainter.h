#pragma once

class QImage;

namespace zelsim {

struct ChartDrawing;

// Paints a redraw of the strip chart onto a picture of the paint box's
// size, item by item as core computed them: nothing is decided here.
void PaintChart(const ChartDrawing& drawing, QImage& picture);

}  // namespace zelsim
