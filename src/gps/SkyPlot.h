#pragma once
#include <array>
#include <string>
#include <vector>

#include "base/Colour.h"
#include "gps/SatelliteList.h"

namespace zelsim {

// The sky view's picture in figures, 1000 x 1000 pixels: five rings about
// the centre, the outer ring the horizon and the centre the zenith, north
// up and east right, and a mark for each satellite at its elevation and
// azimuth.
class SkyPlot {
  public:
    static constexpr int kSize = 1000;
    static constexpr int kRings = 5;
    static constexpr Colour kRingPen{0, 0, 255};
    static constexpr int kRingPenWidth = 2;
    static constexpr int kMarkRadius = 22;
    static constexpr int kLabelPixels = 40;

    struct Box {
        int left = 0;
        int top = 0;
        int right = 0;
        int bottom = 0;
        friend bool operator==(const Box&, const Box&) = default;
    };
    struct Point {
        int x = 0;
        int y = 0;
        friend bool operator==(const Point&, const Point&) = default;
    };
    struct Mark {
        Point centre;
        Colour colour;
        int16_t snr = SatelliteInView::kUnset;
        bool filled = false;  // used in the fix
        std::string label;
    };

    // The rings' bounding boxes, the largest first: radius 500, 400, 300,
    // 200, 100 about (500, 500).
    static std::array<Box, kRings> Rings();
    // Where a satellite stands: its distance from the centre falls linearly
    // from the horizon (the outer ring) to the zenith; a mark never leaves
    // the picture.
    static Point Place(int elevation, int azimuth);
    // Satellites whose elevation or azimuth the receiver left out are not
    // placed.
    static std::vector<Mark> Marks(const std::vector<SatelliteList::Entry>& entries);
};

}  // namespace zelsim
