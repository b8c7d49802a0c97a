#pragma once
#include "base/Colour.h"
#include "graph/ChartDrawing.h"

namespace zelsim {

// A trace's marker (shape 0 to 5) at (x, y): squares, triangles and
// diamonds, filled or open, in the trace's colour.
ChartDrawing::Polygon ChartMarker(int shape, int x, int y, Colour colour);

}  // namespace zelsim
