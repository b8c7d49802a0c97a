#include "graph/ChartMarker.h"

#include <initializer_list>

namespace zelsim {

namespace {
constexpr int kSquareHalf = 2;
constexpr int kPointHalf = 3;
}  // namespace

ChartDrawing::Polygon ChartMarker(int shape, int x, int y, Colour colour) {
    using Point = ChartDrawing::Point;
    ChartDrawing::Polygon p;
    p.colour = colour;
    const auto set = [&](std::initializer_list<Point> points, bool filled) {
        p.count = 0;
        for (Point point : points) p.points[static_cast<size_t>(p.count++)] = point;
        p.filled = filled;
    };
    const int s = kSquareHalf;
    const int d = kPointHalf;
    switch (shape) {
        case 0:
            set({{x - s, y - s}, {x + s, y - s}, {x + s, y + s}, {x - s, y + s}}, true);
            break;
        case 1:
            set({{x - s, y - s}, {x + s, y - s}, {x + s, y + s}, {x - s, y + s}, {x - s, y - s}},
                false);
            break;
        case 2:
            set({{x - d, y}, {x, y - d}, {x + d, y}}, true);
            break;
        case 3:
            set({{x - d, y}, {x, y + d}, {x + d, y}}, true);
            break;
        case 4:
            set({{x, y - d}, {x + d, y}, {x, y + d}, {x - d, y}, {x, y - d}}, false);
            break;
        default:
            set({{x - d, y}, {x, y + d}, {x + d, y}, {x, y - d}}, true);
            break;
    }
    return p;
}

}  // namespace zelsim
