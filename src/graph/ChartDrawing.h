#pragma once
#include <array>
#include <string>
#include <variant>
#include <vector>

#include "base/Colour.h"

namespace zelsim {

// What one redraw of the strip chart puts on its picture, in drawing
// order: computed in core, painted as it stands by the window. The vectors
// keep their room from one redraw to the next.
struct ChartDrawing {
    struct Point {
        int x = 0;
        int y = 0;
        friend constexpr bool operator==(const Point&, const Point&) = default;
    };
    // From (x1, y1) up to (x2, y2), the last pixel not drawn, pen `width`.
    struct Line {
        Point from;
        Point to;
        Colour colour;
        int width = 1;
    };
    // A closed outline through `count` points, filled when `filled`.
    struct Polygon {
        std::array<Point, 5> points{};
        int count = 0;
        Colour colour;
        bool filled = false;
    };
    // Filled, pen and brush of one colour, right and bottom included.
    struct Box {
        int left = 0;
        int top = 0;
        int right = 0;
        int bottom = 0;
        Colour colour;
    };
    // Text of `height` pixels in the picture's fixed-pitch font, its top
    // left at (x, y), drawn opaque on `background`. Bytes, one a
    // character: 176 is the degree sign.
    struct Text {
        Point at;
        std::string text;
        Colour colour;
        Colour background;
        int height = 0;
        bool bold = false;
    };
    using Item = std::variant<Line, Polygon, Box, Text>;

    // The picture's ground, behind the chart and the readout alike.
    static constexpr Colour kBackground{253, 251, 243};

    std::vector<Item> items;
};

}  // namespace zelsim
