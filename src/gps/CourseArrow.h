#pragma once
#include <array>
#include <cstdint>

#include "base/Colour.h"

namespace zelsim {

// The course display's picture in figures, 1000 x 1000 pixels: an arrow
// about the centre turned clockwise by the course (up is north), filled
// from a point inside it, within a square frame.
class CourseArrow {
  public:
    static constexpr int kSize = 1000;
    static constexpr Colour kPen{0, 128, 128};  // teal
    static constexpr int kPenWidth = 4;
    static constexpr Colour kFill{255, 255, 0};  // yellow
    static constexpr int kVertices = 9;

    struct Point {
        int x = 0;  // column
        int y = 0;  // row
        friend bool operator==(const Point&, const Point&) = default;
    };
    struct Shape {
        // The outline closes at the eighth vertex; the ninth retraces the
        // first edge.
        std::array<Point, kVertices> outline;
        Point fillSeed;
    };

    // The frame square, closed.
    static constexpr std::array<Point, 5> kFrame = {Point{20, 20}, Point{980, 20}, Point{980, 980},
                                                    Point{20, 980}, Point{20, 20}};

    // A signed course in tenths of a degree.
    static double Angle(int16_t courseTenths);
    static Shape For(int16_t courseTenths);
};

}  // namespace zelsim
