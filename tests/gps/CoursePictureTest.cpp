#include <gtest/gtest.h>

#include <vector>

#include "gps/CourseArrow.h"
#include "gps/CourseDisplay.h"
#include "gps/FloodFill.h"
#include "gps/SkyPlot.h"

namespace zelsim {
namespace {

using Point = CourseArrow::Point;

// The arrow's tip is its first vertex, the centre of the picture is
// (R + offset) = 496 both ways, and R is 396.
TEST(CourseArrowTest, TheTipPointsAlongTheCourseClockwiseFromUp) {
    EXPECT_EQ(CourseArrow::For(0).outline[0], (Point{496, 100}));  // up
    const Point right = CourseArrow::For(900).outline[0];
    EXPECT_NEAR(right.x, 892, 1);
    EXPECT_NEAR(right.y, 496, 1);
    const Point left = CourseArrow::For(-900).outline[0];
    EXPECT_NEAR(left.x, 100, 1);
    EXPECT_NEAR(left.y, 496, 1);
    const Point down = CourseArrow::For(1800).outline[0];
    EXPECT_NEAR(down.x, 496, 1);
    EXPECT_NEAR(down.y, 892, 1);
    // 45 degrees: up and right alike.
    const Point northEast = CourseArrow::For(450).outline[0];
    EXPECT_NEAR(northEast.x - 496, 496 - northEast.y, 1);
    EXPECT_GT(northEast.x, 496);
}

TEST(CourseArrowTest, VerticesAfterTheFirstAndTheSeedSitSixTenthsUpAndLeft) {
    const CourseArrow::Shape up = CourseArrow::For(0);
    // (0.8, 0): 396 + 316.8 + 100 - 0.6 = 812.2; 396 + 100 - 0.6 = 495.4.
    EXPECT_EQ(up.outline[1], (Point{812, 495}));
    // (0.3, -1): 396 + 118.8 + 100 - 0.6 = 614.2; 396 + 396 + 100 - 0.6 = 891.4.
    EXPECT_EQ(up.outline[3], (Point{614, 891}));
    // (-0.8, 0): 396 - 316.8 + 100 - 0.6 = 178.6.
    EXPECT_EQ(up.outline[6], (Point{178, 495}));
    // The outline closes at the eighth vertex (the tip, nudged) and the
    // ninth retraces the first edge.
    EXPECT_EQ(up.outline[7], (Point{495, 99}));
    EXPECT_EQ(up.outline[8], up.outline[1]);
    // (0, 0.4 R) = (0, 158.4): inside the head.
    EXPECT_EQ(up.fillSeed, (Point{495, 337}));
    EXPECT_DOUBLE_EQ(CourseArrow::Angle(900), 3.14159265358979323846 / 2);
}

TEST(CourseDisplayTest, TheArrowIsDrawnAgainOnlyForANewCourse) {
    CourseDisplay display;
    display.ShowCourse(0);
    const uint64_t first = display.Revision();
    EXPECT_NE(first, 0u);
    display.ShowCourse(0);
    EXPECT_EQ(display.Revision(), first);
    display.ShowCourse(-900);
    EXPECT_EQ(display.Revision(), first + 1);
    EXPECT_NEAR(display.Arrow().outline[0].x, 100, 1);
}

class FloodFillTest : public ::testing::Test {
  protected:
    static constexpr int kW = 12, kH = 10;
    static constexpr uint32_t kGround = 0, kBorder = 1, kFill = 2;
    FloodFillTest() : pixels_(kW * kH, kGround) {
        // A closed square from (2, 2) to (8, 7), and an inner wall with a
        // gap that the fill must pass through.
        for (int x = 2; x <= 8; ++x) At(x, 2) = At(x, 7) = kBorder;
        for (int y = 2; y <= 7; ++y) At(2, y) = At(8, y) = kBorder;
        for (int y = 2; y <= 5; ++y) At(5, y) = kBorder;
    }
    uint32_t& At(int x, int y) { return pixels_[static_cast<size_t>(y) * kW + x]; }
    int Count(uint32_t value) const {
        int n = 0;
        for (uint32_t p : pixels_) n += p == value ? 1 : 0;
        return n;
    }
    std::vector<uint32_t> pixels_;
};

TEST_F(FloodFillTest, FillsTheInsideUpToTheBorderAndNoFurther) {
    FloodFill(pixels_, kW, kH, 3, 3, kBorder, kFill);
    // 5 x 4 inside, less the wall's 3 pixels inside the square.
    EXPECT_EQ(Count(kFill), 5 * 4 - 3);
    EXPECT_EQ(At(7, 3), kFill);  // round the wall, through its gap
    EXPECT_EQ(At(0, 0), kGround);
    EXPECT_EQ(At(9, 8), kGround);
}

TEST_F(FloodFillTest, ASeedOnTheBorderOrOutsideThePictureFillsNothing) {
    FloodFill(pixels_, kW, kH, 2, 2, kBorder, kFill);
    FloodFill(pixels_, kW, kH, -1, 3, kBorder, kFill);
    FloodFill(pixels_, kW, kH, 3, kH, kBorder, kFill);
    FloodFill(std::span(pixels_).first(5), kW, kH, 3, 3, kBorder, kFill);  // too short
    EXPECT_EQ(Count(kFill), 0);
    // Outside the square, everything but the border.
    FloodFill(pixels_, kW, kH, 0, 0, kBorder, kFill);
    EXPECT_EQ(Count(kFill), kW * kH - Count(kBorder) - (5 * 4 - 3));
}

TEST(SkyPlotTest, FiveRingsAboutTheCentreLargestFirst) {
    const auto rings = SkyPlot::Rings();
    const SkyPlot::Box expected[] = {{0, 0, 1000, 1000},
                                     {100, 100, 900, 900},
                                     {200, 200, 800, 800},
                                     {300, 300, 700, 700},
                                     {400, 400, 600, 600}};
    for (size_t i = 0; i < rings.size(); ++i) EXPECT_EQ(rings[i], expected[i]) << i;
}

TEST(SkyPlotTest, NorthIsUpEastIsRightAndTheZenithIsTheCentre) {
    using P = SkyPlot::Point;
    EXPECT_EQ(SkyPlot::Place(90, 123), (P{500, 500}));
    EXPECT_EQ(SkyPlot::Place(45, 0), (P{500, 250}));
    EXPECT_EQ(SkyPlot::Place(45, 90), (P{750, 500}));
    EXPECT_EQ(SkyPlot::Place(45, 180), (P{500, 750}));
    EXPECT_EQ(SkyPlot::Place(45, 270), (P{250, 500}));
    EXPECT_EQ(SkyPlot::Place(54, 0), (P{500, 300}));  // on the third ring
    // At the horizon, and below it, a mark stays whole in the picture.
    EXPECT_EQ(SkyPlot::Place(0, 90), (P{1000 - SkyPlot::kMarkRadius, 500}));
    EXPECT_EQ(SkyPlot::Place(-5, 270), (P{SkyPlot::kMarkRadius, 500}));
}

}  // namespace
}  // namespace zelsim
