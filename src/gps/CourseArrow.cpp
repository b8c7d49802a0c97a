#include "gps/CourseArrow.h"

#include <cmath>
#include <numbers>

namespace zelsim {

namespace {

constexpr double kRadius = (CourseArrow::kSize - 10) * 0.4;  // 396
constexpr double kOffset = CourseArrow::kSize / 10;          // 100
// Every vertex after the first, and the fill's seed, sits this much up and
// left before it is cut to a whole pixel.
constexpr double kNudge = 0.6;

struct Unit {
    double x;
    double y;  // up
};
constexpr std::array<Unit, CourseArrow::kVertices> kArrow = {
    Unit{0, 1},    Unit{0.8, 0},  Unit{0.3, 0}, Unit{0.3, -1}, Unit{-0.3, -1},
    Unit{-0.3, 0}, Unit{-0.8, 0}, Unit{0, 1},   Unit{0.8, 0}};
constexpr Unit kSeed{0, 0.4};

// Turned clockwise about the centre by `angle` and mapped to the picture.
CourseArrow::Point Map(Unit u, double angle, double nudge) {
    const double x = u.x * kRadius;
    const double y = u.y * kRadius;
    const double distance = std::hypot(x, y);
    // The bearing from up, in single precision as the picture always was.
    const float bearing =
        std::atan2(static_cast<float>(x), static_cast<float>(y)) + static_cast<float>(angle);
    const double turnedX = distance * std::sin(bearing);
    const double turnedY = distance * std::cos(bearing);
    return {static_cast<int>(kRadius + turnedX + kOffset - nudge),
            static_cast<int>(kRadius - turnedY + kOffset - nudge)};
}

}  // namespace

double CourseArrow::Angle(int16_t courseTenths) {
    return courseTenths * std::numbers::pi / 180 * 0.1;
}

CourseArrow::Shape CourseArrow::For(int16_t courseTenths) {
    const double angle = Angle(courseTenths);
    Shape shape;
    for (int i = 0; i < kVertices; ++i)
        shape.outline[static_cast<size_t>(i)] =
            Map(kArrow[static_cast<size_t>(i)], angle, i == 0 ? 0.0 : kNudge);
    shape.fillSeed = Map(kSeed, angle, kNudge);
    return shape;
}

}  // namespace zelsim
